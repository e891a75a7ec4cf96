// The state every request shares: the current catalog (swapped whole when the harness
// sends a new config), the sessions, the request log and the rendered photos.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "photo_cache.h"
#include "request_log.h"
#include "session_store.h"
#include "site_catalog.h"

namespace lumadex::site {

class SiteState {
 public:
  explicit SiteState(Catalog catalog) : catalog_(std::make_shared<const Catalog>(std::move(catalog))) {}

  // A request keeps the catalog it started with, even if a new config arrives meanwhile.
  std::shared_ptr<const Catalog> catalog() const {
    std::lock_guard lock(mutex_);
    return catalog_;
  }

  // A new world: the old sessions and log lines belong to the old one.
  void replace_catalog(Catalog catalog) {
    auto fresh = std::make_shared<const Catalog>(std::move(catalog));
    {
      std::lock_guard lock(mutex_);
      catalog_ = std::move(fresh);
    }
    sessions.clear();
    log.clear();
  }

  SessionStore sessions;
  RequestLog log;
  PhotoCache photos;
  // Endless and huge answers still going out.
  std::atomic<int> streams{0};

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const Catalog> catalog_;
};

}  // namespace lumadex::site
