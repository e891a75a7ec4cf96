#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <set>

#include <jpeglib.h>

#include "photo_cache.h"
#include "site_fixture.h"

namespace lumadex::site::testing {
namespace {

struct JpegSize {
  bool ok = false;
  unsigned width = 0, height = 0;
};

struct DecodeTrap {
  jpeg_error_mgr mgr;
  std::jmp_buf env;
};

// Decodes the whole image, so a file that merely looks like a JPEG fails.
JpegSize decode(const std::string& bytes) {
  jpeg_decompress_struct info{};
  DecodeTrap trap{};
  info.err = jpeg_std_error(&trap.mgr);
  trap.mgr.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<DecodeTrap*>(c->err)->env, 1); };
  trap.mgr.output_message = [](j_common_ptr) {};
  JpegSize size;
  if (setjmp(trap.env)) {
    jpeg_destroy_decompress(&info);
    return JpegSize{};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  std::vector<unsigned char> row(info.output_width * info.output_components);
  while (info.output_scanline < info.output_height) {
    unsigned char* p = row.data();
    jpeg_read_scanlines(&info, &p, 1);
  }
  size = {trap.mgr.num_warnings == 0, info.output_width, info.output_height};
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return size;
}

// The address on the photo page: between the marker and '" title='.
std::string photo_address(const std::string& html) {
  const std::string marker = "<img id=\"photo\" src=\"";
  auto start = html.find(marker);
  if (start == std::string::npos) return {};
  start += marker.size();
  return html.substr(start, html.find("\" title=", start) - start);
}

TEST(Photos, PhotoPageLeadsToTheSameBytesTheHarnessSees) {
  LiveSite site;
  auto page = site.get("/getphoto.do?id=100200033&owner=222300001", site.sign_in());
  ASSERT_TRUE(page);
  std::string address = photo_address(page->body);
  std::string prefix = "http://" + site.host() + "/photos/1002/33/";
  ASSERT_EQ(address.rfind(prefix, 0), 0u) << address;
  EXPECT_EQ(address.substr(prefix.size()).rfind("large_", 0), 0u);

  auto file = site.get(address.substr(address.find("/photos/")));
  auto reference = site.get("/_ctl/photo?album=1002&n=33");
  ASSERT_TRUE(file && reference);
  EXPECT_EQ(file->status, 200);
  EXPECT_EQ(file->get_header_value("Content-Type"), "image/jpeg");
  EXPECT_EQ(file->get_header_value("Content-Length"), std::to_string(file->body.size()));
  EXPECT_EQ(file->body, reference->body);
}

// Another photo of the album drawn over the same shared backdrop as photo n.
int backdrop_twin(std::int64_t album, int n) {
  for (int m = n + 1;; ++m) {
    if (photo_seed(album, m) % kBackdrops == photo_seed(album, n) % kBackdrops) return m;
  }
}

TEST(Photos, AreRealDistinctRepeatableJpegsOfARealPhotosSize) {
  LiveSite site;
  std::set<std::string> seen;
  // Album 1005's photos share backdrops; each must still be a photo of its own.
  for (const auto& [album, n] : std::vector<std::pair<int, int>>{{1001, 1}, {1001, 2}, {1001, 12}, {1002, 1}, {1004, 1000},
                                                                {1005, 1}, {1005, backdrop_twin(1005, 1)}, {1005, 10000}}) {
    std::string target = "/photos/" + std::to_string(album) + "/" + std::to_string(n) + "/any-name.jpg";
    auto res = site.get(target);
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200) << target;
    const std::string& jpeg = res->body;
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(jpeg.substr(jpeg.size() - 2), "\xFF\xD9");
    auto size = decode(jpeg);
    EXPECT_TRUE(size.ok) << target;
    // As large photos on the site were: 720 across, tens to a couple of hundred KB.
    EXPECT_EQ(size.width, 720u);
    EXPECT_TRUE(size.height == 540u || size.height == 480u) << size.height;
    EXPECT_GE(jpeg.size(), 40u * 1024) << target;
    EXPECT_LE(jpeg.size(), 200u * 1024) << target;
    EXPECT_TRUE(seen.insert(jpeg).second) << target << " repeats another photo";
    EXPECT_EQ(site.get(target)->body, jpeg);
  }
}

TEST(Photos, SmallPhotosOnRequest) {
  PhotoCache cache;
  const Album album{1001, 222300001, 12, "", false};
  const auto real = cache.get(album, 1);
  cache.use_small_photos(true);
  const auto small = cache.get(album, 1);
  auto size = decode(*small);
  EXPECT_TRUE(size.ok);
  EXPECT_EQ(size.width, 320u);
  EXPECT_EQ(size.height, 240u);
  EXPECT_LT(small->size(), real->size());
  // Switching back gives the very bytes it gave before.
  cache.use_small_photos(false);
  EXPECT_EQ(*cache.get(album, 1), *real);
}

TEST(Photos, LargeAlbumsAreDrawnWhenAskedForAndNotKept) {
  PhotoCache cache;
  for (bool small : {false, true}) {
    cache.use_small_photos(small);
    for (int n = 1; n <= 40; ++n) EXPECT_TRUE(decode(*cache.get({1005, 1, kSharedBackdropAlbum + 1, "", false}, n)).ok) << n;
    EXPECT_EQ(cache.kept_bytes(), 0u);
  }
  // One photo fewer and the album's photos are kept: it was left out for its size alone.
  cache.get({1005, 1, kSharedBackdropAlbum, "", false}, 1);
  EXPECT_GT(cache.kept_bytes(), 0u);
}

TEST(Photos, OddNamesAppearVerbatimAndStillResolve) {
  const std::string odd = "a?b:c*d\"e<f>g|h\\..\\i j #k.jpg";
  const std::string long_name = std::string(3000, 'x') + ".jpg";
  LiveSite site("demo\nphoto-name 1001 2 " + odd + "\nphoto-name 1001 3 " + long_name + "\n");
  std::string cookie = site.sign_in();
  std::string base = "http://" + site.host() + "/photos/1001/";

  auto page = site.get("/getphoto.do?id=100100002&owner=222300001", cookie);
  ASSERT_TRUE(page);
  EXPECT_NE(page->body.find("<img id=\"photo\" src=\"" + base + "2/" + odd + "\" title="), std::string::npos);
  auto album = site.get("/getalbum.do?id=1001&owner=222300001", cookie);
  ASSERT_TRUE(album);
  EXPECT_NE(album->body.find(base + "2/thumb_" + odd + "\""), std::string::npos);
  EXPECT_EQ(album_entries(album->body).size(), 12u);

  auto long_page = site.get("/getphoto.do?id=100100003&owner=222300001", cookie);
  ASSERT_TRUE(long_page);
  EXPECT_EQ(photo_address(long_page->body), base + "3/" + long_name);

  // Whatever a client makes of the name when it asks for the file, the photo comes back.
  auto file = site.get("/photos/1001/2/a%3Fb:c*d%22e%3Cf%3Eg%7Ch%5C..%5Ci%20j%20%23k.jpg");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->status, 200);
  EXPECT_EQ(file->body, site.get("/_ctl/photo?album=1001&n=2")->body);
}

TEST(Photos, UnknownPhotosAre404WithAnHtmlBody) {
  LiveSite site;
  for (const char* target : {"/photos/1001/13/x.jpg", "/photos/1001/0/x.jpg", "/photos/999/1/x.jpg", "/photos/abc/1/x.jpg"}) {
    auto res = site.get(target);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 404) << target;
    EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=utf-8");
    EXPECT_NE(res->body.find("404"), std::string::npos);
  }
  auto ctl = site.get("/_ctl/photo?album=1001&n=13");
  ASSERT_TRUE(ctl);
  EXPECT_EQ(ctl->status, 404);
}

TEST(Photos, PhotoPageNeedsASessionAndTheRightOwner) {
  LiveSite site;
  auto signed_out = site.get("/getphoto.do?id=100100001&owner=222300001");
  ASSERT_TRUE(signed_out);
  EXPECT_EQ(photo_address(signed_out->body), "");
  EXPECT_NE(signed_out->body.find("请先登录"), std::string::npos);

  std::string cookie = site.sign_in();
  for (const char* target : {"/getphoto.do?id=100100001&owner=1", "/getphoto.do?id=100100013&owner=222300001"}) {
    auto res = site.get(target, cookie);
    ASSERT_TRUE(res);
    EXPECT_EQ(photo_address(res->body), "") << target;
    EXPECT_NE(res->body.find("照片不存在"), std::string::npos);
  }
}

}  // namespace
}  // namespace lumadex::site::testing
