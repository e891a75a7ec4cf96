#include "app/main_form_settings.h"

#include "services/mod_crypt.h"

namespace lumadex {

std::optional<SignInDetails> ReadRememberedSignIn(const FileCFG& settings, LeadBytePredicate isLead) {
  if (!settings.IsLoaded() || settings.ReadValue(kRememberKey) != "T") return std::nullopt;
  return SignInDetails{Decipher(settings.ReadValue(kEmailKey), kCredentialKey, isLead),
                       Decipher(settings.ReadValue(kPasswordKey), kCredentialKey, isLead)};
}

void WriteRememberedSignIn(FileCFG& settings, const std::optional<SignInDetails>& details, LeadBytePredicate isLead) {
  settings.WriteValue(details ? Encipher(details->email, kCredentialKey, isLead) : std::string(), kEmailKey);
  settings.WriteValue(details ? Encipher(details->password, kCredentialKey, isLead) : std::string(), kPasswordKey);
  settings.WriteValue(details ? "T" : "F", kRememberKey);
}

}  // namespace lumadex
