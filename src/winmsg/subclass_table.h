// The bookkeeping of the message subclassing, kept apart from the platform: per window its
// previous procedure, its number of registrations and, per message, the clients in
// registration order without gaps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory_resource>
#include <unordered_map>
#include <vector>

#include "winmsg/inline_snapshot.h"

namespace lumadex {

class ISubclass;

// The clients of one message as its dispatch found them; one or two clients take no memory.
using ClientSnapshot = InlineSnapshot<ISubclass*, 4>;

class SubclassTable {
 public:
  using WindowKey = std::uintptr_t;
  // Puts the dispatcher in as the window's procedure; the previous procedure, 0 when refused.
  using Install = std::function<std::uintptr_t()>;

  enum class AttachOutcome { Attached, AlreadyRegistered, Refused };

  // All of the table's memory comes from `memory`.
  explicit SubclassTable(std::pmr::memory_resource* memory = std::pmr::new_delete_resource());

  // A window stays known with no registration left while the dispatcher cannot leave its
  // procedure chain (another subclass sits above it); it then only passes messages on.
  bool Knows(WindowKey window) const { return windows_.count(window) != 0; }
  void EraseWindow(WindowKey window) { windows_.erase(window); }
  // 0 for an unknown window.
  std::uintptr_t PreviousProc(WindowKey window) const;

  bool Contains(WindowKey window, unsigned message, const ISubclass* client) const;
  // Appends the client to the message's clients. For a window not known yet, `install` runs
  // once, after everything that needs memory is in place: a failed allocation (std::bad_alloc,
  // the table unchanged) never leaves a window whose own procedure is recorded nowhere. A
  // refused install leaves the table unchanged too.
  AttachOutcome Attach(WindowKey window, unsigned message, ISubclass* client, const Install& install);
  // False, changing nothing, when the client is not registered for the message.
  bool RemoveClient(WindowKey window, unsigned message, const ISubclass* client);
  // Removes the client from every window; returns the windows left without registrations and,
  // through `removed`, how many registrations went.
  std::vector<WindowKey> RemoveClientEverywhere(const ISubclass* client, std::size_t* removed = nullptr);

  std::size_t RegistrationCount(WindowKey window) const;
  std::size_t MessageCount(WindowKey window) const;
  std::size_t ClientCount(WindowKey window, unsigned message) const;
  std::size_t WindowCount() const { return windows_.size(); }
  // Replaces out with the clients of the message, in order.
  void CopyClients(WindowKey window, unsigned message, ClientSnapshot& out) const;

  std::pmr::memory_resource* Memory() const { return memory_; }

 private:
  using ClientList = std::pmr::vector<ISubclass*>;
  struct Window {
    using allocator_type = std::pmr::polymorphic_allocator<>;
    explicit Window(const allocator_type& allocator) : clients(allocator) {}
    std::uintptr_t previousProc = 0;
    std::size_t registrations = 0;
    std::pmr::map<unsigned, ClientList> clients;
  };
  const ClientList* ClientsOf(WindowKey window, unsigned message) const;

  std::pmr::memory_resource* memory_;
  std::pmr::unordered_map<WindowKey, Window> windows_;
};

}  // namespace lumadex
