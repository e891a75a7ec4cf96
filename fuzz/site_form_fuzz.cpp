// The demo site's reading of forms and queries: any body or request target decodes without
// harm, a decoded field never grows, and a value sent again with the program's escaping comes
// back as it was decoded.
#include <cstdint>
#include <string>

#include "form_encoding.h"
#include "fuzz_support.h"
#include "services/url_encode.h"

using namespace lumadex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text = fuzz::Bytes(data, size);

  const std::string decoded = site::percent_decode(text);
  FUZZ_CHECK(decoded.size() <= text.size());
  if (text.find('%') == std::string_view::npos) FUZZ_CHECK(decoded == text);

  const std::string_view query = site::query_of(text);
  FUZZ_CHECK(query.empty() || (query.data() > text.data() && query.data()[-1] == '?'));

  const site::FormFields fields = site::split_form(query.empty() ? text : query);
  size_t bytes = 0;
  std::string resent;
  for (const auto& [key, value] : fields) {
    bytes += key.size() + value.size();
    if (!resent.empty()) resent += '&';
    resent += UrlEncodeFormValue(key) + "=" + UrlEncodeFormValue(value);
  }
  FUZZ_CHECK(bytes <= text.size());
  const site::FormFields again = site::split_form(resent);
  FUZZ_CHECK(again == fields);

  const std::string hex = site::to_hex(text);
  FUZZ_CHECK(hex.size() == 2 * text.size());
  return 0;
}
