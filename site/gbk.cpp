#include "gbk.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace lumadex::site {

std::optional<std::string> utf8_to_gbk(std::string_view utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;

  // GBK never needs more bytes than UTF-8 for the same text, plus room for the reset.
  std::vector<char> out(utf8.size() + 16);
  std::vector<char> in(utf8.begin(), utf8.end());
  char* in_ptr = in.data();
  std::size_t in_left = in.size();
  char* out_ptr = out.data();
  std::size_t out_left = out.size();

  bool ok = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left) != static_cast<std::size_t>(-1) &&
            iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok || in_left != 0) return std::nullopt;
  return std::string(out.data(), out.size() - out_left);
}

}  // namespace lumadex::site
