// The bookkeeping of the message subclassing, kept apart from the platform: per window its
// previous procedure, its number of registrations and, per message, the clients in
// registration order without gaps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

namespace lumadex {

class ISubclass;

class SubclassTable {
 public:
  using WindowKey = std::uintptr_t;

  // A window stays known with no registration left while the dispatcher cannot leave its
  // procedure chain (another subclass sits above it); it then only passes messages on.
  bool Knows(WindowKey window) const { return windows_.count(window) != 0; }
  void AddWindow(WindowKey window, std::uintptr_t previousProc);
  void EraseWindow(WindowKey window) { windows_.erase(window); }
  // 0 for an unknown window.
  std::uintptr_t PreviousProc(WindowKey window) const;

  bool Contains(WindowKey window, unsigned message, const ISubclass* client) const;
  // Appends the client; the window must be known and the client not yet registered there.
  void AddClient(WindowKey window, unsigned message, ISubclass* client);
  // False, changing nothing, when the client is not registered for the message.
  bool RemoveClient(WindowKey window, unsigned message, const ISubclass* client);
  // Removes the client from every window; returns the windows left without registrations.
  std::vector<WindowKey> RemoveClientEverywhere(const ISubclass* client);

  std::size_t RegistrationCount(WindowKey window) const;
  std::size_t MessageCount(WindowKey window) const;
  std::size_t ClientCount(WindowKey window, unsigned message) const;
  std::size_t WindowCount() const { return windows_.size(); }
  // Replaces out with the clients of the message, in order.
  void CopyClients(WindowKey window, unsigned message, std::vector<ISubclass*>& out) const;

 private:
  struct Window {
    std::uintptr_t previousProc = 0;
    std::size_t registrations = 0;
    std::map<unsigned, std::vector<ISubclass*>> clients;
  };
  const std::vector<ISubclass*>* ClientsOf(WindowKey window, unsigned message) const;

  std::unordered_map<WindowKey, Window> windows_;
};

}  // namespace lumadex
