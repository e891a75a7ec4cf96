#include "site_catalog.h"

#include <array>
#include <cstdio>

namespace lumadex::site {

const Album* Catalog::find_album(std::int64_t id) const {
  for (const auto& a : albums) {
    if (a.id == id) return &a;
  }
  return nullptr;
}

const Account* Catalog::find_account(std::string_view email_gbk) const {
  for (const auto& a : accounts) {
    if (a.email_gbk == email_gbk) return &a;
  }
  return nullptr;
}

std::string Catalog::photo_name(std::int64_t album, std::int64_t n) const {
  auto it = photo_names.find({album, n});
  return it != photo_names.end() ? it->second : default_photo_name(album, n);
}

std::int64_t Catalog::home_owner() const {
  // The demo owner when nothing else is known, so the home page always has somewhere to go.
  return albums.empty() ? 222300001 : albums.front().owner;
}

std::string owner_display_name(std::int64_t owner) {
  return owner == 222300001 ? "王小明" : "校内用户" + std::to_string(owner);
}

std::int64_t photo_id(std::int64_t album, std::int64_t n) { return album * kPhotoIdStride + n; }

std::optional<std::pair<std::int64_t, std::int64_t>> split_photo_id(std::int64_t id) {
  if (id <= 0) return std::nullopt;
  std::int64_t album = id / kPhotoIdStride;
  std::int64_t n = id % kPhotoIdStride;
  if (album <= 0 || n <= 0) return std::nullopt;
  return std::make_pair(album, n);
}

std::uint32_t photo_seed(std::int64_t album, std::int64_t n) {
  // FNV-1a over both numbers, then a final avalanche so neighbouring photos look unrelated.
  std::uint32_t h = 2166136261u;
  for (std::int64_t v : {album, n}) {
    auto u = static_cast<std::uint64_t>(v);
    for (int i = 0; i < 8; ++i) {
      h ^= static_cast<std::uint8_t>(u >> (8 * i));
      h *= 16777619u;
    }
  }
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

std::string default_photo_name(std::int64_t album, std::int64_t n) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "large_%08x_%lld.jpg", photo_seed(album, n), static_cast<long long>(n));
  return buf;
}

std::string photo_caption(std::int64_t album, std::int64_t n) {
  // Kept free of the characters the album page's count is read by.
  static const std::array<const char*, 16> kCaptions = {
      "校园的早晨", "图书馆门口", "宿舍生活",   "周末聚餐", "春游合影",   "雪后的操场",
      "运动会",     "食堂窗口",   "毕业典礼",   "老街小巷", "湖边散步",   "社团活动",
      "夜市",       "火车站",     "生日快乐",   "家乡的河"};
  return std::string(kCaptions[photo_seed(album, n) % kCaptions.size()]) + " " + std::to_string(n);
}

}  // namespace lumadex::site
