#include "winmsg/subclass_dispatch.h"

namespace lumadex {
namespace {

// Whether any client after position i of the snapshot will still be called.
bool AnyLaterClient(const ClientSnapshot& clients, std::size_t i, const DispatchSteps& steps) {
  for (std::size_t j = i + 1; j < clients.size(); ++j) {
    if (steps.StillRegistered(clients[j])) return true;
  }
  return false;
}

}  // namespace

DispatchOutcome DispatchToClients(const ClientSnapshot& clients, DispatchSteps& steps) {
  DispatchOutcome outcome;
  bool anyClientCalled = false;
  for (std::size_t i = 0; i < clients.size(); ++i) {
    ISubclass* client = clients[i];
    if (!steps.StillRegistered(client)) continue;
    if (!anyClientCalled) {
      anyClientCalled = true;
      if (steps.Ask(client) == MessageResponse::CallOldBefore) {
        outcome.previousCalled = true;
        steps.CallPrevious();
        if (!steps.StillRegistered(client)) continue;
      }
    }
    outcome.result = steps.Call(client);
    if (!AnyLaterClient(clients, i, steps) && steps.StillRegistered(client) &&
        steps.Ask(client) == MessageResponse::CallOldAfter && !outcome.previousCalled) {
      outcome.previousCalled = true;
      outcome.result = steps.CallPrevious();
    }
  }
  if (!anyClientCalled) {
    outcome.result = steps.CallPrevious();
    outcome.previousCalled = true;
  }
  return outcome;
}

}  // namespace lumadex
