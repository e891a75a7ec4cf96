#include "services/charset.h"

#include <array>
#include <cctype>
#include <string>

namespace lumadex {
namespace {

struct CharsetName {
  std::string_view name;
  unsigned codePage;
};

// Names are compared after folding case and dropping '-' and '_', so "UTF-8", "utf8" and
// "Utf_8" meet, as do "Shift_JIS" and "shift-jis". Keep the names here in that folded form.
constexpr std::array kNames{
    CharsetName{"utf8", 65001},          CharsetName{"unicode11utf8", 65001},
    CharsetName{"gbk", 936},             CharsetName{"gb2312", 936},
    CharsetName{"cp936", 936},           CharsetName{"xgbk", 936},
    CharsetName{"windows936", 936},      CharsetName{"ms936", 936},
    CharsetName{"csgb2312", 936},        CharsetName{"euccn", 936},
    CharsetName{"xeuccn", 936},          CharsetName{"gb18030", 54936},
    CharsetName{"big5", 950},            CharsetName{"cp950", 950},
    CharsetName{"windows950", 950},      CharsetName{"xxbig5", 950},
    CharsetName{"big5hkscs", 950},       CharsetName{"iso88591", 28591},
    CharsetName{"latin1", 28591},        CharsetName{"l1", 28591},
    CharsetName{"iso885911987", 28591},  CharsetName{"windows1252", 1252},
    CharsetName{"cp1252", 1252},         CharsetName{"usascii", 20127},
    CharsetName{"ascii", 20127},         CharsetName{"shiftjis", 932},
    CharsetName{"sjis", 932},            CharsetName{"xsjis", 932},
    CharsetName{"cp932", 932},           CharsetName{"windows31j", 932},
    CharsetName{"mskanji", 932},         CharsetName{"eucjp", 20932},
    CharsetName{"euckr", 51949},         CharsetName{"cp949", 949},
    CharsetName{"ksc56011987", 949},     CharsetName{"windows949", 949},
    CharsetName{"utf16le", kCodePageUtf16Le}, CharsetName{"utf16", kCodePageUtf16Le},
    CharsetName{"unicode", kCodePageUtf16Le}, CharsetName{"utf16be", kCodePageUtf16Be},
    CharsetName{"windows1250", 1250},    CharsetName{"windows1251", 1251},
    CharsetName{"koi8r", 20866},         CharsetName{"iso88592", 28592},
    CharsetName{"iso885915", 28605},
};

std::string Fold(std::string_view name) {
  // Header values and meta tags often quote the name or leave blanks around it.
  while (!name.empty() && (std::isspace(static_cast<unsigned char>(name.front())) || name.front() == '"' ||
                           name.front() == '\''))
    name.remove_prefix(1);
  while (!name.empty() && (std::isspace(static_cast<unsigned char>(name.back())) || name.back() == '"' ||
                           name.back() == '\''))
    name.remove_suffix(1);
  std::string folded;
  folded.reserve(name.size());
  for (const char c : name) {
    if (c == '-' || c == '_') continue;
    folded.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return folded;
}

}  // namespace

std::optional<unsigned> CodePageForCharset(std::string_view name) {
  const std::string folded = Fold(name);
  if (folded.empty()) return std::nullopt;
  for (const auto& entry : kNames)
    if (entry.name == folded) return entry.codePage;
  return std::nullopt;
}

}  // namespace lumadex
