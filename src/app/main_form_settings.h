// The settings file of the main window: its name, its three keys, what a new one holds, and the
// sign-in details remembered in it, ciphered. Nothing else is remembered between runs.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "services/ansi_codes.h"
#include "services/file_cfg.h"

namespace lumadex {

// A bare name, so that the file lives in the working folder: the installer makes the program's
// own folder the working folder of its shortcut.
inline constexpr char kSettingsFileName[] = "Lumadex.ini";

inline constexpr char kEmailKey[] = "1";
inline constexpr char kPasswordKey[] = "2";
inline constexpr char kRememberKey[] = "3";  // "T" when the details are remembered, "F" when not

// Every key with an empty value and nothing remembered: a file that holds a line for every key
// the window writes, since FileCFG replaces values but never adds a line.
inline constexpr std::string_view kNewSettingsFile = "1 \r\n2 \r\n3 F\r\n";

// The key the remembered details are ciphered under (CREDENTIAL_KEY).
inline constexpr char kCredentialKey[] = "tesvolamir";

// E-mail address and password in the system's ANSI code page, as the file and the cipher hold them.
struct SignInDetails {
  std::string email;
  std::string password;
};

// The deciphered details when the file says they are remembered; nullopt when it says not, or
// when no file has been loaded.
std::optional<SignInDetails> ReadRememberedSignIn(const FileCFG& settings, LeadBytePredicate isLead);

// Remembers `details` ciphered or, given nullopt, forgets what was remembered; in memory only
// (SaveFile writes it). Throws FileCfgError when no file has been loaded.
void WriteRememberedSignIn(FileCFG& settings, const std::optional<SignInDetails>& details, LeadBytePredicate isLead);

}  // namespace lumadex
