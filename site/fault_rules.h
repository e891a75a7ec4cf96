// Misbehaviour the test harness can switch on per album, page or photo, and how the
// switches that match one request add up to a single plan for answering it.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumadex::site {

enum class FaultTarget { Login, Profile, First, Page, Pages, PhotoPage, PhotoPages, Photo, Photos, Entry };

enum class FaultKind {
  Latency,
  Hang,
  Status,
  Empty,
  Truncate,
  Endless,
  Huge,
  NoLink,
  NoPhotoPan,
  NoPagerTop,
  NoPagerBottom,
  Count,
  NoImg,
};

struct FaultRule {
  std::optional<std::int64_t> album;  // nullopt: every album ("*")
  FaultTarget target = FaultTarget::Pages;
  std::int64_t target_number = 0;     // k of page:k, n of photo:n, photopage:n, entry:n
  FaultKind kind = FaultKind::Latency;
  std::int64_t number = 0;            // milliseconds of latency, or the status code
  double seconds = 120;               // how long a hang lasts
  std::string text;                   // what a count fault puts between 共 and 张
  int line = 0;                       // where the rule came from, for messages
};

// Whether a kind of fault means anything for a target (e.g. no-img only on photo pages).
bool fault_fits_target(FaultKind kind, FaultTarget target);

enum class RequestFamily { Login, Profile, AlbumPage, PhotoPage, PhotoFile };

// What a request is about, as far as faults care.
struct FaultSubject {
  RequestFamily family = RequestFamily::AlbumPage;
  std::optional<std::int64_t> album;  // nullopt when the request named no usable album
  std::optional<std::int64_t> page;   // album pages: nullopt when no curpage was sent
  std::int64_t photo = 0;             // photo pages and files: the photo's number
};

// How the response leaves the server, apart from its content.
// Endless and Huge stream their body for as long as the client keeps reading: Endless with
// no length at all, Huge under a Content-Length of kHugeLength.
enum class Outcome { Normal, Hang, Status, Empty, Truncate, Endless, Huge };

inline constexpr std::uint64_t kHugeLength = 3'000'000'000;

struct FaultPlan {
  std::chrono::milliseconds latency{0};
  Outcome outcome = Outcome::Normal;
  int status = 200;          // Outcome::Status
  double hang_seconds = 0;   // Outcome::Hang
  bool no_photo_pan = false;
  bool no_pager_top = false;
  bool no_pager_bottom = false;
  bool no_img = false;
  std::optional<std::string> count_text;
};

// Latency and the outcome come from the narrowest matching rule of their sort (a named
// page or photo beats "pages"/"photos", a named album beats "*", a later line breaks ties);
// the marker switches add up.
FaultPlan plan_faults(const std::vector<FaultRule>& rules, const FaultSubject& subject);

// Whether photo n's entry on its album page has lost its link.
bool entry_unlinked(const std::vector<FaultRule>& rules, std::int64_t album, std::int64_t n);

}  // namespace lumadex::site
