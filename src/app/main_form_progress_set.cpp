#include "app/main_form_progress_set.h"

namespace lumadex {

StoredFont MainFormHostFont() {
  StoredFont font;
  font.face = L"宋体";
  font.points = 9.0;
  font.weight = 400;
  font.charset = 134;  // GB2312
  return font;
}

PropertyBag NicePressBarStoredSet() {
  PropertyBag bag;
  // Size in hundredths of a millimetre, as the form stores it: 449 x 15 pixels.
  bag.Write(L"_extentx", std::int64_t{11880});
  bag.Write(L"_extenty", std::int64_t{397});
  bag.Write(L"value", std::int64_t{0});
  bag.Write(L"theme", std::int64_t{8});
  bag.Write(L"textstyle", std::int64_t{2});
  bag.Write(L"textfont", MainFormHostFont());
  bag.Write(L"text", std::wstring(L"NicePressBar"));
  return bag;
}

}  // namespace lumadex
