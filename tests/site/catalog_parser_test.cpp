#include <gtest/gtest.h>

#include <set>

#include "catalog_parser.h"
#include "gbk.h"

namespace lumadex::site {
namespace {

Catalog parse_ok(std::string_view text) {
  auto parsed = parse_catalog(text);
  EXPECT_TRUE(parsed.catalog) << parsed.error;
  return parsed.catalog ? *parsed.catalog : Catalog{};
}

TEST(CatalogParser, ReadsEveryKindOfLine) {
  Catalog c = parse_ok(
      "\xEF\xBB\xBF# a comment\r\n"
      "  \r\n"
      "account 测试@example.com 校内密码 # trailing comment\r\n"
      "album 42 count=3 owner=777\r\n"
      "photo-name 42 2 name with  spaces # and hash  \r\n"
      "fault * pages latency 250\n"
      "fault 42 page:0 hang\n"
      "fault 42 photopage:3 hang 0.5\n"
      "fault * photo:2 status 503\n"
      "fault 42 first count  7 \n"
      "fault 42 entry:1 nolink\n"
      "fault 42 photo:3 endless\n"
      "fault * pages huge # comment\n");
  ASSERT_EQ(c.accounts.size(), 1u);
  EXPECT_EQ(c.accounts[0].password, "校内密码");
  EXPECT_EQ(c.accounts[0].password_gbk, utf8_to_gbk("校内密码").value());
  ASSERT_NE(c.find_album(42), nullptr);
  EXPECT_EQ(c.find_album(42)->owner, 777);
  EXPECT_EQ(c.find_album(42)->count, 3);
  EXPECT_EQ(c.photo_name(42, 2), "name with  spaces # and hash  ");
  EXPECT_EQ(c.photo_name(42, 1).rfind("large_", 0), 0u);
  ASSERT_EQ(c.faults.size(), 8u);
  EXPECT_EQ(c.faults[0].number, 250);
  EXPECT_FALSE(c.faults[0].album);
  EXPECT_EQ(c.faults[1].seconds, 120);
  EXPECT_EQ(c.faults[2].seconds, 0.5);
  EXPECT_EQ(c.faults[2].target_number, 3);
  EXPECT_EQ(c.faults[3].number, 503);
  EXPECT_EQ(c.faults[4].text, " 7 ");
  EXPECT_EQ(c.faults[5].kind, FaultKind::NoLink);
  EXPECT_EQ(c.faults[6].kind, FaultKind::Endless);
  EXPECT_EQ(c.faults[6].target, FaultTarget::Photo);
  EXPECT_EQ(c.faults[7].kind, FaultKind::Huge);
}

TEST(CatalogParser, DemoSetCanBeIncludedAndPartlyReplaced) {
  EXPECT_TRUE(parse_ok("").albums.empty());
  EXPECT_TRUE(parse_ok("").accounts.empty());

  Catalog demo = parse_ok("demo\n");
  EXPECT_EQ(demo.accounts.size(), 2u);
  ASSERT_EQ(demo.albums.size(), 5u);
  EXPECT_EQ(demo.find_album(1004)->count, 1000);
  EXPECT_EQ(demo.find_album(1005)->count, 10000);
  EXPECT_EQ(demo.find_album(1005)->owner, 222300001);

  for (const char* text : {"demo\nalbum 1002 owner=5 count=2\n", "album 1002 owner=5 count=2\ndemo\n"}) {
    Catalog c = parse_ok(text);
    EXPECT_EQ(c.albums.size(), 5u) << text;
    EXPECT_EQ(c.find_album(1002)->count, 2) << text;
  }
}

TEST(CatalogParser, DefaultPhotoNamesAreUniqueAcrossAlbums) {
  Catalog c = parse_ok("demo\n");
  std::set<std::string> names;
  for (const auto& album : c.albums) {
    for (std::int64_t n = 1; n <= album.count; ++n) names.insert(c.photo_name(album.id, n));
  }
  EXPECT_EQ(names.size(), 12u + 40u + 30u + 1000u + 10000u);
}

struct BadConfig {
  const char* text;
  const char* error_start;
};

TEST(CatalogParser, ErrorsNameTheirLine) {
  const BadConfig cases[] = {
      {"demo\nalbums 1 owner=1 count=1", "line 2: unknown directive"},
      {"account a b c", "line 1: unexpected 'c'"},
      {"account a b\naccount a c", "line 2: account 'a' is already defined on line 1"},
      {"album 1 owner=1", "line 1: album needs owner= and count="},
      {"album 1 owner=1 count=100000", "line 1: bad count"},
      {"album 1 owner=x count=1", "line 1: bad owner"},
      {"album 1 owner=1 count=1\nalbum 1 owner=2 count=2", "line 2: album 1 is already"},
      {"album 1 owner=1 count=2\n\nphoto-name 1 3 x.jpg", "line 3: album 1 has 2 photos"},
      {"photo-name 9 1 x.jpg", "line 1: photo-name for album 9"},
      {"fault 9 pages empty", "line 1: fault for album 9"},
      {"fault * page empty", "line 1: fault target 'page' needs a number"},
      {"fault * pages:2 empty", "line 1: fault target 'pages:2' takes no number"},
      {"fault * pages explode", "line 1: unknown fault kind"},
      {"fault * photos no-img", "line 1: fault kind 'no-img' does not apply"},
      {"fault * entry:1 no-photoPan", "line 1: fault kind 'no-photoPan' does not apply"},
      {"demo\nfault 1001 login empty", "line 2: a login fault concerns no album"},
      {"fault * pages latency", "line 1: latency needs"},
      {"fault * pages status 99", "line 1: status needs"},
      {"fault * pages empty now", "line 1: unexpected 'now'"},
      {"fault * entry:2 endless", "line 1: fault kind 'endless' does not apply"},
      {"fault * photos huge 3000", "line 1: unexpected '3000'"}
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    auto parsed = parse_catalog(c.text);
    ASSERT_FALSE(parsed.catalog);
    EXPECT_EQ(parsed.error.rfind(c.error_start, 0), 0u) << parsed.error;
    EXPECT_EQ(parsed.error.find('\n'), std::string::npos);
  }
}

}  // namespace
}  // namespace lumadex::site
