#include "winmsg/subclass_table.h"

#include <algorithm>

namespace lumadex {

SubclassTable::SubclassTable(std::pmr::memory_resource* memory) : memory_(memory), windows_(memory) {}

std::uintptr_t SubclassTable::PreviousProc(WindowKey window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.previousProc;
}

const SubclassTable::ClientList* SubclassTable::ClientsOf(WindowKey window, unsigned message) const {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return nullptr;
  const auto clients = found->second.clients.find(message);
  return clients == found->second.clients.end() ? nullptr : &clients->second;
}

bool SubclassTable::Contains(WindowKey window, unsigned message, const ISubclass* client) const {
  const auto* clients = ClientsOf(window, message);
  return clients && std::find(clients->begin(), clients->end(), client) != clients->end();
}

SubclassTable::AttachOutcome SubclassTable::Attach(WindowKey window, unsigned message, ISubclass* client,
                                                   const Install& install) {
  if (Contains(window, message, client)) return AttachOutcome::AlreadyRegistered;
  // Plain variables, not structured bindings: the lambdas below capture them, which not every
  // compiler the project builds with accepts for bindings.
  const auto windowPlace = windows_.try_emplace(window);
  const auto entry = windowPlace.first;
  const bool newWindow = windowPlace.second;
  Window& record = entry->second;
  const auto messagePlace = [&] {
    try {
      return record.clients.try_emplace(message);
    } catch (...) {
      if (newWindow) windows_.erase(entry);
      throw;
    }
  }();
  const auto slot = messagePlace.first;
  const bool newMessage = messagePlace.second;
  ClientList& list = slot->second;
  // Undoes what this call added, leaving the table as it found it.
  const auto takeBack = [&] {
    if (newMessage) record.clients.erase(slot);
    if (newWindow) windows_.erase(entry);
  };
  try {
    if (list.size() == list.capacity()) list.reserve(std::max<std::size_t>(4, 2 * list.size()));
  } catch (...) {
    takeBack();
    throw;
  }
  if (newWindow) {
    std::uintptr_t previous = 0;
    try {
      previous = install();
    } catch (...) {
      takeBack();
      throw;
    }
    if (previous == 0) {
      takeBack();
      return AttachOutcome::Refused;
    }
    record.previousProc = previous;
  }
  list.push_back(client);  // within the reserved capacity: cannot fail
  ++record.registrations;
  return AttachOutcome::Attached;
}

bool SubclassTable::RemoveClient(WindowKey window, unsigned message, const ISubclass* client) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return false;
  Window& entry = found->second;
  const auto clients = entry.clients.find(message);
  if (clients == entry.clients.end()) return false;
  auto& list = clients->second;
  const auto position = std::find(list.begin(), list.end(), client);
  if (position == list.end()) return false;
  list.erase(position);
  if (list.empty()) entry.clients.erase(clients);
  if (entry.registrations > 0) --entry.registrations;
  return true;
}

std::vector<SubclassTable::WindowKey> SubclassTable::RemoveClientEverywhere(const ISubclass* client,
                                                                            std::size_t* removed) {
  std::vector<WindowKey> released;
  std::size_t removedTotal = 0;
  for (auto& [window, entry] : windows_) {
    std::size_t removedHere = 0;
    for (auto clients = entry.clients.begin(); clients != entry.clients.end();) {
      auto& list = clients->second;
      const auto before = list.size();
      list.erase(std::remove(list.begin(), list.end(), client), list.end());
      removedHere += before - list.size();
      clients = list.empty() ? entry.clients.erase(clients) : std::next(clients);
    }
    entry.registrations -= std::min(removedHere, entry.registrations);
    removedTotal += removedHere;
    if (removedHere != 0 && entry.registrations == 0) released.push_back(window);
  }
  if (removed) *removed = removedTotal;
  return released;
}

std::size_t SubclassTable::RegistrationCount(WindowKey window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.registrations;
}

std::size_t SubclassTable::MessageCount(WindowKey window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.clients.size();
}

std::size_t SubclassTable::ClientCount(WindowKey window, unsigned message) const {
  const auto* clients = ClientsOf(window, message);
  return clients ? clients->size() : 0;
}

void SubclassTable::CopyClients(WindowKey window, unsigned message, ClientSnapshot& out) const {
  if (const auto* clients = ClientsOf(window, message)) {
    out.Assign(clients->begin(), clients->end());
  } else {
    out.Clear();
  }
}

}  // namespace lumadex
