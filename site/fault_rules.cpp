#include "fault_rules.h"

namespace lumadex::site {
namespace {

bool is_album_page_target(FaultTarget t) {
  return t == FaultTarget::First || t == FaultTarget::Page || t == FaultTarget::Pages;
}

bool is_photo_page_target(FaultTarget t) {
  return t == FaultTarget::PhotoPage || t == FaultTarget::PhotoPages;
}

// -1 when the rule does not concern the request; otherwise higher is narrower.
int match_score(const FaultRule& rule, const FaultSubject& s) {
  if (rule.album && (!s.album || *rule.album != *s.album)) return -1;
  bool named = false;
  switch (rule.target) {
    case FaultTarget::Login:
      if (s.family != RequestFamily::Login) return -1;
      break;
    case FaultTarget::Profile:
      if (s.family != RequestFamily::Profile) return -1;
      break;
    case FaultTarget::First:
      if (s.family != RequestFamily::AlbumPage || s.page) return -1;
      named = true;
      break;
    case FaultTarget::Page:
      if (s.family != RequestFamily::AlbumPage || !s.page || *s.page != rule.target_number) return -1;
      named = true;
      break;
    case FaultTarget::Pages:
      if (s.family != RequestFamily::AlbumPage) return -1;
      break;
    case FaultTarget::PhotoPage:
      if (s.family != RequestFamily::PhotoPage || s.photo != rule.target_number) return -1;
      named = true;
      break;
    case FaultTarget::PhotoPages:
      if (s.family != RequestFamily::PhotoPage) return -1;
      break;
    case FaultTarget::Photo:
      if (s.family != RequestFamily::PhotoFile || s.photo != rule.target_number) return -1;
      named = true;
      break;
    case FaultTarget::Photos:
      if (s.family != RequestFamily::PhotoFile) return -1;
      break;
    case FaultTarget::Entry:
      return -1;  // entries are looked at while the album page is drawn
  }
  return (named ? 2 : 0) + (rule.album ? 1 : 0);
}

bool is_outcome(FaultKind k) {
  switch (k) {
    case FaultKind::Hang:
    case FaultKind::Status:
    case FaultKind::Empty:
    case FaultKind::Truncate:
    case FaultKind::Endless:
    case FaultKind::Huge:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool fault_fits_target(FaultKind kind, FaultTarget target) {
  // When and how an answer leaves concerns any request; an entry is part of a page.
  if (kind == FaultKind::Latency || is_outcome(kind)) return target != FaultTarget::Entry;
  switch (kind) {
    case FaultKind::NoLink:
      return target == FaultTarget::Entry;
    case FaultKind::NoPhotoPan:
    case FaultKind::NoPagerTop:
    case FaultKind::NoPagerBottom:
    case FaultKind::Count:
      return is_album_page_target(target);
    case FaultKind::NoImg:
      return is_photo_page_target(target);
    default:
      return false;
  }
}

FaultPlan plan_faults(const std::vector<FaultRule>& rules, const FaultSubject& subject) {
  FaultPlan plan;
  int latency_score = -1, outcome_score = -1, count_score = -1;
  for (const auto& rule : rules) {
    int score = match_score(rule, subject);
    if (score < 0) continue;
    // ">=": of two equally narrow rules the later line wins.
    if (rule.kind == FaultKind::Latency && score >= latency_score) {
      latency_score = score;
      plan.latency = std::chrono::milliseconds(rule.number);
    } else if (is_outcome(rule.kind) && score >= outcome_score) {
      outcome_score = score;
      plan.status = 200;
      switch (rule.kind) {
        case FaultKind::Hang:
          plan.outcome = Outcome::Hang;
          plan.hang_seconds = rule.seconds;
          break;
        case FaultKind::Status:
          plan.outcome = Outcome::Status;
          plan.status = static_cast<int>(rule.number);
          break;
        case FaultKind::Empty:
          plan.outcome = Outcome::Empty;
          break;
        case FaultKind::Endless:
          plan.outcome = Outcome::Endless;
          break;
        case FaultKind::Huge:
          plan.outcome = Outcome::Huge;
          break;
        default:
          plan.outcome = Outcome::Truncate;
          break;
      }
    } else if (rule.kind == FaultKind::Count && score >= count_score) {
      count_score = score;
      plan.count_text = rule.text;
    } else if (rule.kind == FaultKind::NoPhotoPan) {
      plan.no_photo_pan = true;
    } else if (rule.kind == FaultKind::NoPagerTop) {
      plan.no_pager_top = true;
    } else if (rule.kind == FaultKind::NoPagerBottom) {
      plan.no_pager_bottom = true;
    } else if (rule.kind == FaultKind::NoImg) {
      plan.no_img = true;
    }
  }
  return plan;
}

bool entry_unlinked(const std::vector<FaultRule>& rules, std::int64_t album, std::int64_t n) {
  for (const auto& rule : rules) {
    if (rule.kind == FaultKind::NoLink && rule.target == FaultTarget::Entry && rule.target_number == n &&
        (!rule.album || *rule.album == album)) {
      return true;
    }
  }
  return false;
}

}  // namespace lumadex::site
