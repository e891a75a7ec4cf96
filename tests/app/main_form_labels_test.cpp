#include "app/main_form_labels.h"

#include <gtest/gtest.h>

#include <array>

namespace lumadex {
namespace {

std::vector<std::pair<std::wstring, std::wstring>> Pairs(std::span<const ControlSpec> controls) {
  std::vector<std::pair<std::wstring, std::wstring>> pairs;
  for (const LabelledBox& p : TextBoxLabels(controls)) pairs.emplace_back(p.box, p.label);
  return pairs;
}

TEST(MainFormLabels, EveryTextBoxOfTheWindowIsNamedByTheCaptionBeforeIt) {
  const std::vector<std::pair<std::wstring, std::wstring>> expected = {
      {L"email", L"Label1"},         {L"password", L"Label2"},     {L"albumURLTxt", L"Label3"},
      {L"DirPathTxt", L"Label4"},    {L"PhotoBenginPage", L"Label6"}, {L"PhotoEndPage", L"Label7"},
      {L"NewPhotoCount", L"Label5"},
  };
  EXPECT_EQ(Pairs(MainFormControls()), expected);
}

TEST(MainFormLabels, OnlyACaptionJustBeforeInTheSameBoxCounts) {
  using K = ControlKind;
  constexpr std::array controls = {
      ControlSpec{L"Caption", K::Label, L"A", 0, 0, 10, 10, L"x"},
      ControlSpec{L"InOtherBox", K::TextBox, L"B", 0, 0, 10, 10, L""},
      ControlSpec{L"Caption2", K::Label, L"B", 0, 0, 10, 10, L"y"},
      ControlSpec{L"Check", K::CheckBox, L"B", 0, 0, 10, 10, L"z"},
      ControlSpec{L"AfterCheck", K::TextBox, L"B", 0, 0, 10, 10, L""},
  };
  EXPECT_TRUE(Pairs(controls).empty());
}

}  // namespace
}  // namespace lumadex
