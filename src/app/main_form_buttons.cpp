#include "app/main_form_buttons.h"

#include <cstdint>
#include <string>

namespace lumadex {

PropertyBag MainFormButtonSet(std::wstring_view name) {
  PropertyBag bag;
  const wchar_t* caption = nullptr;
  double points = 9.0;
  if (name == L"NBtnDown") {
    caption = L"下 载";
    points = 10.5;
  } else if (name == L"NBtnFile") {
    caption = L"目 录";
  } else if (name == L"NBtnClip") {
    caption = L"粘 贴";
  } else if (name == L"NBtnLogin") {
    caption = L"登 录";
  } else {
    return bag;
  }
  // The form stores its keys in lower case; the button reads them without regard to case.
  bag.Write(L"icon", StoredPicture{});
  bag.Write(L"style", std::int64_t{8});
  bag.Write(L"caption", std::wstring(caption));
  bag.Write(L"iconalign", std::int64_t{0});
  bag.Write(L"inonthemestyle", std::int64_t{0});
  bag.Write(L"tooltiptitle", std::wstring());
  bag.Write(L"tooltipicon", std::int64_t{0});
  bag.Write(L"tooltiptype", std::int64_t{1});
  bag.Write(L"ttforecolor", std::int64_t{0});
  bag.Write(L"font", StoredFont{L"宋体", points, 400});
  bag.Write(L"maskcolor", std::int64_t{0});
  return bag;
}

}  // namespace lumadex
