// What the soak run notes every thousand photos, and whether the process stayed flat: each
// count ends within 5 % of its value after the first thousand photos, the working set within
// 10 %. Portable, so the rule is tested without Windows.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace lumadex::bench {

struct SoakSample {
  int photos = 0;
  double workingSetMib = 0;
  std::int64_t handles = 0, gdi = 0, user = 0, threads = 0;
};

inline bool EndsWithin(double first, double last, double share) { return std::fabs(last - first) <= share * first; }

// The first sample is the reference; a run with fewer than two samples shows nothing flat.
inline bool Flat(const std::vector<SoakSample>& samples) {
  if (samples.size() < 2) return false;
  const SoakSample& a = samples.front();
  const SoakSample& z = samples.back();
  return EndsWithin(a.workingSetMib, z.workingSetMib, 0.10) && EndsWithin(double(a.handles), double(z.handles), 0.05) &&
         EndsWithin(double(a.gdi), double(z.gdi), 0.05) && EndsWithin(double(a.user), double(z.user), 0.05) &&
         EndsWithin(double(a.threads), double(z.threads), 0.05);
}

// photos=10000 peak_mib=41.5 handles=120..121 gdi=31..31 user=40..40 threads=9..9 flat=yes
inline std::string SoakLine(int photos, double peakMib, const std::vector<SoakSample>& samples) {
  const SoakSample none;
  const SoakSample& a = samples.empty() ? none : samples.front();
  const SoakSample& z = samples.empty() ? none : samples.back();
  char line[256];
  std::snprintf(line, sizeof line, "photos=%d peak_mib=%.1f handles=%lld..%lld gdi=%lld..%lld user=%lld..%lld threads=%lld..%lld flat=%s",
                photos, peakMib, static_cast<long long>(a.handles), static_cast<long long>(z.handles),
                static_cast<long long>(a.gdi), static_cast<long long>(z.gdi), static_cast<long long>(a.user),
                static_cast<long long>(z.user), static_cast<long long>(a.threads), static_cast<long long>(z.threads),
                Flat(samples) ? "yes" : "no");
  return line;
}

}  // namespace lumadex::bench
