#include "winmsg/subclass_table.h"

#include <algorithm>

namespace lumadex {

void SubclassTable::AddWindow(WindowKey window, std::uintptr_t previousProc) {
  Window& entry = windows_[window];
  entry.previousProc = previousProc;
}

std::uintptr_t SubclassTable::PreviousProc(WindowKey window) const {
  const auto found = windows_.find(window);
  return found == windows_.end() ? 0 : found->second.previousProc;
}

const std::vector<ISubclass*>* SubclassTable::ClientsOf(WindowKey window, unsigned message) const {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return nullptr;
  const auto clients = found->second.clients.find(message);
  return clients == found->second.clients.end() ? nullptr : &clients->second;
}

bool SubclassTable::Contains(WindowKey window, unsigned message, const ISubclass* client) const {
  const auto* clients = ClientsOf(window, message);
  return clients && std::find(clients->begin(), clients->end(), client) != clients->end();
}

void SubclassTable::AddClient(WindowKey window, unsigned message, ISubclass* client) {
  Window& entry = windows_.at(window);
  entry.clients[message].push_back(client);
  ++entry.registrations;
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

std::vector<SubclassTable::WindowKey> SubclassTable::RemoveClientEverywhere(const ISubclass* client) {
  std::vector<WindowKey> released;
  for (auto& [window, entry] : windows_) {
    bool removedHere = false;
    for (auto clients = entry.clients.begin(); clients != entry.clients.end();) {
      auto& list = clients->second;
      const auto before = list.size();
      list.erase(std::remove(list.begin(), list.end(), client), list.end());
      const auto removed = before - list.size();
      entry.registrations -= std::min(removed, entry.registrations);
      removedHere = removedHere || removed != 0;
      clients = list.empty() ? entry.clients.erase(clients) : std::next(clients);
    }
    if (removedHere && entry.registrations == 0) released.push_back(window);
  }
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

void SubclassTable::CopyClients(WindowKey window, unsigned message, std::vector<ISubclass*>& out) const {
  out.clear();
  if (const auto* clients = ClientsOf(window, message)) out.assign(clients->begin(), clients->end());
}

}  // namespace lumadex
