#include "app/album_plan.h"

#include <algorithm>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace lumadex {
namespace {

TEST(ParseInt16, AcceptsBlanksAndSignAroundDigits) {
  EXPECT_EQ(ParseInt16(L" 7 "), 7);
  EXPECT_EQ(ParseInt16(L"\t-12\t"), -12);
  EXPECT_EQ(ParseInt16(L"+3"), 3);
  EXPECT_EQ(ParseInt16(L"0040"), 40);
  EXPECT_EQ(ParseInt16(L"32767"), 32767);
  EXPECT_EQ(ParseInt16(L"-32768"), -32768);
  EXPECT_EQ(ParseInt16(std::wstring(60, L'0') + L"12"), 12);
}

TEST(ParseInt16, RefusesWhatIsNotASmallWholeNumber) {
  for (const wchar_t* text : {L"", L"  ", L"-", L"+", L"abc", L"1 2", L"1.5", L"- 3", L"7a", L"0x10",
                              L"&nbsp;7", L"\x00a0" L"7", L"\xff14", L"\n7"}) {
    EXPECT_FALSE(ParseInt16(text)) << testing::PrintToString(std::wstring(text));
  }
  EXPECT_FALSE(ParseInt16(L"32768"));
  EXPECT_FALSE(ParseInt16(L"-32769"));
  EXPECT_FALSE(ParseInt16(L"40000"));
  EXPECT_FALSE(ParseInt16(L"4294967297"));  // would wrap to 1 in 32 bits
  EXPECT_FALSE(ParseInt16(std::wstring(400, L'9')));
}

std::wstring PageWithCount(std::wstring_view between) {
  return L"<html><div class=\"pager-top\"><span>\u5171" + std::wstring(between) +
         L"\u5f20</span></div><div class=\"photoPan\">...";
}

TEST(ReadPhotoCount, ReadsTheNumberBetweenTheMarkersAfterThePager) {
  EXPECT_EQ(ReadPhotoCount(PageWithCount(L" 40 ")), 40);
  EXPECT_EQ(ReadPhotoCount(PageWithCount(L"40")), 40);
  EXPECT_EQ(ReadPhotoCount(PageWithCount(L" 7 ")), 7);
  EXPECT_EQ(ReadPhotoCount(PageWithCount(L"0")), 0);
  // A count-like text before the pager belongs to something else.
  EXPECT_EQ(ReadPhotoCount(L"<title>\u5171 3 \u5f20</title>" + PageWithCount(L"12")), 12);
  // The first 张 after 共 ends the number even when more follow.
  EXPECT_EQ(ReadPhotoCount(PageWithCount(L"5") + L"\u5f20\u5f20"), 5);
}

TEST(ReadPhotoCount, UnreadableCountIsNone) {
  EXPECT_FALSE(ReadPhotoCount(PageWithCount(L"abc")));
  EXPECT_FALSE(ReadPhotoCount(PageWithCount(L"40000")));
  EXPECT_FALSE(ReadPhotoCount(PageWithCount(L"<b>40</b>")));
  EXPECT_FALSE(ReadPhotoCount(PageWithCount(L"")));
  EXPECT_FALSE(ReadPhotoCount(L""));
  EXPECT_FALSE(ReadPhotoCount(L"<div class=\"pager\">\u5171 40 \u5f20</div>"));  // no pager-top
  EXPECT_FALSE(ReadPhotoCount(L"pager-top 40 \u5f20"));                          // no 共
  EXPECT_FALSE(ReadPhotoCount(L"\u5171 40 \u5f20 pager-top"));                   // 共 only before it
  EXPECT_FALSE(ReadPhotoCount(L"\u5f20 pager-top \u5171 40"));                   // 张 only before 共
}

TEST(ComputeAlbumPages, LastPageAndItsCount) {
  struct Case { int n; int index; int count; };
  for (const Case c : {Case{40, 2, 10}, Case{30, 1, 15}, Case{12, 0, 12}, Case{15, 0, 15},
                       Case{16, 1, 1}, Case{1, 0, 1}, Case{32767, 2184, 7}, Case{0, -1, 0}}) {
    const AlbumPages pages = ComputeAlbumPages(c.n);
    EXPECT_EQ(pages.lastPageIndex, c.index) << "n=" << c.n;
    EXPECT_EQ(pages.lastPageCount, c.count) << "n=" << c.n;
  }
}

TEST(ComputeAlbumPages, FullPagesAndTheLastOneAddUpToTheAlbum) {
  for (int n = 1; n <= 200; ++n) {
    const AlbumPages pages = ComputeAlbumPages(n);
    EXPECT_GE(pages.lastPageCount, 1) << n;
    EXPECT_LE(pages.lastPageCount, kPhotosPerPage) << n;
    EXPECT_EQ(pages.lastPageIndex * kPhotosPerPage + pages.lastPageCount, n);
  }
}

void ExpectPlan(const PlanResult& result, int start, int end, int total, int cutOff) {
  ASSERT_EQ(result.outcome, PlanOutcome::Ok);
  EXPECT_EQ(result.plan.startPage, start);
  EXPECT_EQ(result.plan.endPage, end);
  EXPECT_EQ(result.plan.totalPhotos, total);
  EXPECT_EQ(result.plan.cutOff, cutOff);
}

TEST(PlanWholeAlbum, FetchesEveryPage) {
  ExpectPlan(PlanWholeAlbum(40), 1, 3, 40, 0);
  ExpectPlan(PlanWholeAlbum(30), 1, 2, 30, 0);
  ExpectPlan(PlanWholeAlbum(12), 1, 1, 12, 0);
  ExpectPlan(PlanWholeAlbum(16), 1, 2, 16, 0);
}

TEST(PlanWholeAlbum, EmptyAlbumFetchesNothingAndNegativeCountIsAnError) {
  const PlanResult empty = PlanWholeAlbum(0);
  ASSERT_EQ(empty.outcome, PlanOutcome::Ok);
  EXPECT_LT(empty.plan.endPage, empty.plan.startPage);
  EXPECT_EQ(empty.plan.totalPhotos, 0);
  EXPECT_EQ(PlanWholeAlbum(-1).outcome, PlanOutcome::Error);
}

TEST(PlanNewest, TakesWholePagesAndCutsTheLastOne) {
  ExpectPlan(PlanNewest(40, L"20"), 1, 2, 20, 5);
  ExpectPlan(PlanNewest(40, L"15"), 1, 1, 15, 15);
  ExpectPlan(PlanNewest(40, L"16"), 1, 2, 16, 1);
  ExpectPlan(PlanNewest(40, L"40"), 1, 3, 40, 10);
  ExpectPlan(PlanNewest(40, L" 7 "), 1, 1, 7, 7);
  ExpectPlan(PlanNewest(1, L"1"), 1, 1, 1, 1);
}

TEST(PlanNewest, PagesAndCutOffCoverExactlyTheCount) {
  const int n = 100;
  for (int wanted = 1; wanted <= n; ++wanted) {
    const PlanResult result = PlanNewest(n, std::to_wstring(wanted));
    ASSERT_EQ(result.outcome, PlanOutcome::Ok) << wanted;
    EXPECT_GE(result.plan.cutOff, 1);
    EXPECT_LE(result.plan.cutOff, kPhotosPerPage);
    EXPECT_EQ((result.plan.endPage - 1) * kPhotosPerPage + result.plan.cutOff, wanted);
  }
}

TEST(PlanNewest, CountOutsideTheAlbumIsRefusedAndNonNumbersAreErrors) {
  EXPECT_EQ(PlanNewest(40, L"41").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanNewest(40, L"-3").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanNewest(40, L"-0").outcome, PlanOutcome::Ok);
  EXPECT_EQ(PlanNewest(0, L"1").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanNewest(40, L"abc").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanNewest(40, L"").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanNewest(40, L"99999").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanNewest(-1, L"1").outcome, PlanOutcome::Error);
}

// None of the newest photos is an empty run: no page, nothing to count.
TEST(PlanNewest, ZeroPlansAnEmptyRun) {
  for (int n : {40, 1, 0}) {
    const PlanResult result = PlanNewest(n, L"0");
    ASSERT_EQ(result.outcome, PlanOutcome::Ok) << n;
    EXPECT_LT(result.plan.endPage, result.plan.startPage) << n;
    EXPECT_EQ(result.plan.totalPhotos, 0) << n;
  }
}

TEST(PlanPageRange, BothEnds) {
  ExpectPlan(PlanPageRange(30, L"2", L"2"), 2, 2, 15, 0);
  ExpectPlan(PlanPageRange(30, L"1", L"2"), 1, 2, 30, 0);
  ExpectPlan(PlanPageRange(40, L"2", L"3"), 2, 3, 25, 0);
  ExpectPlan(PlanPageRange(40, L"1", L"1"), 1, 1, 15, 0);
  ExpectPlan(PlanPageRange(40, L"3", L"3"), 3, 3, 10, 0);
  ExpectPlan(PlanPageRange(12, L" 1 ", L"1"), 1, 1, 12, 0);
}

TEST(PlanPageRange, OneEndLeftEmpty) {
  ExpectPlan(PlanPageRange(30, L"", L"2"), 1, 2, 30, 0);
  ExpectPlan(PlanPageRange(40, L"", L"2"), 1, 2, 30, 0);
  ExpectPlan(PlanPageRange(30, L"2", L""), 2, 2, 15, 0);
  ExpectPlan(PlanPageRange(40, L"2", L""), 2, 3, 25, 0);
  EXPECT_EQ(PlanPageRange(30, L"3", L"").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(30, L"", L"3").outcome, PlanOutcome::Refused);
}

TEST(PlanPageRange, PagesOutsideTheAlbumOrReversedAreRefused) {
  EXPECT_EQ(PlanPageRange(40, L"3", L"2").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"1", L"4").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"4", L"5").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"0", L"2").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"0", L"").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"0", L"0").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"1", L"0").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"-1", L"1").outcome, PlanOutcome::Refused);
  EXPECT_EQ(PlanPageRange(40, L"", L"-1").outcome, PlanOutcome::Refused);
  using Boxes = std::pair<const wchar_t*, const wchar_t*>;
  for (const Boxes& boxes : {Boxes{L"1", L"1"}, Boxes{L"1", L""}, Boxes{L"", L"1"}}) {
    EXPECT_EQ(PlanPageRange(0, boxes.first, boxes.second).outcome, PlanOutcome::Refused);
  }
}

// Up to page 0 is up to no page at all: an empty run, even on an album without pages.
TEST(PlanPageRange, EndOfZeroAlonePlansAnEmptyRun) {
  for (int n : {40, 12, 0}) {
    const PlanResult result = PlanPageRange(n, L"", L"0");
    ASSERT_EQ(result.outcome, PlanOutcome::Ok) << n;
    EXPECT_LT(result.plan.endPage, result.plan.startPage) << n;
    EXPECT_EQ(result.plan.totalPhotos, 0) << n;
  }
}

TEST(PlanPageRange, UnreadableBoxesAreErrors) {
  EXPECT_EQ(PlanPageRange(40, L"", L"").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanPageRange(40, L"x", L"2").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanPageRange(40, L"1", L"2x").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanPageRange(40, L" ", L"2").outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanPageRange(40, L"1", std::wstring(30, L'9')).outcome, PlanOutcome::Error);
  EXPECT_EQ(PlanPageRange(-1, L"1", L"1").outcome, PlanOutcome::Error);
}

TEST(PlanPageRange, TotalIsWhatThePagesHold) {
  for (int n = 1; n <= 80; ++n) {
    const int lastPage = ComputeAlbumPages(n).lastPageIndex + 1;
    for (int start = 1; start <= lastPage; ++start) {
      for (int end = start; end <= lastPage; ++end) {
        int held = 0;
        for (int page = start; page <= end; ++page) {
          held += std::clamp(n - (page - 1) * kPhotosPerPage, 0, kPhotosPerPage);
        }
        const PlanResult result = PlanPageRange(n, std::to_wstring(start), std::to_wstring(end));
        ASSERT_EQ(result.outcome, PlanOutcome::Ok) << n << ' ' << start << ' ' << end;
        EXPECT_EQ(result.plan.totalPhotos, held) << n << ' ' << start << ' ' << end;
      }
    }
  }
}

}  // namespace
}  // namespace lumadex
