// Escaping for the sign-in form and addresses: what the site decodes is exactly what was
// escaped, and no value can end its field early or add one of its own.
//
// Input: the e-mail address, NUL, the password (any bytes, as the ANSI code page gives them).
#include <cstdint>
#include <string>

#include "form_encoding.h"
#include "fuzz_support.h"
#include "services/url_encode.h"

using namespace lumadex;

namespace {

bool EscapedCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         std::string_view("@.-_*%").find(c) != std::string_view::npos;
}

// Texts UrlEncodeText gives back whole: no "%" of their own, no lone 0xFF (written "%0%FF",
// as the site has always been sent it) and double-byte characters with the code page's trail
// bytes 0x40..0xFE (a trail byte below 0x10 would get one hex digit).
bool PlainAddressText(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b == '%' || b == 0xFF) return false;
    if (b >= 0x81 && b <= 0xFE && i + 1 < text.size()) {
      const auto trail = static_cast<unsigned char>(text[++i]);
      if (trail < 0x40 || trail == 0x7F || trail == 0xFF) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto fields = fuzz::Fields(fuzz::Bytes(data, size), 2);
  const std::string_view email = fields[0];
  const std::string_view password = fields[1];

  const std::string escapedEmail = UrlEncodeFormValue(email);
  const std::string escapedPassword = UrlEncodeFormValue(password);
  for (const char c : escapedEmail + escapedPassword) FUZZ_CHECK(EscapedCharacter(c));
  FUZZ_CHECK(site::percent_decode(escapedEmail) == email);
  FUZZ_CHECK(site::percent_decode(escapedPassword) == password);

  // The body the sign-in posts, read the way the site reads it.
  const std::string body = "email=" + escapedEmail + "&password=" + escapedPassword;
  const site::FormFields form = site::split_form(body);
  FUZZ_CHECK(form.size() == 2);
  FUZZ_CHECK(site::form_value(form, "email") == email);
  FUZZ_CHECK(site::form_value(form, "password") == password);

  const std::string address = UrlEncodeText(email);
  FUZZ_CHECK(address.size() <= 6 * email.size());
  if (PlainAddressText(email)) FUZZ_CHECK(site::percent_decode(address) == email);
  return 0;
}
