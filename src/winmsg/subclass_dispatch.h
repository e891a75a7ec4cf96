// The order in which one message meets its clients and the window's previous procedure, kept
// apart from the platform.
#pragma once
#include <cstdint>

#include "winmsg/subclass_table.h"

namespace lumadex {

// How the previous window procedure takes part in a message. Only the first client's answer
// can ask for it before the clients, and only the last client's answer after them.
enum class MessageResponse : int {
  Consume = 0,        // the previous procedure is not called by the dispatcher
  CallOldAfter = 1,   // called after the clients; its result is the message's result
  CallOldBefore = 2,  // called before the clients; its result is discarded
};

// What a round of clients needs from the window being dispatched.
class DispatchSteps {
 public:
  // Whether the client is still registered for the message (clients may leave meanwhile).
  virtual bool StillRegistered(const ISubclass* client) const = 0;
  virtual MessageResponse Ask(ISubclass* client) = 0;
  virtual std::intptr_t Call(ISubclass* client) = 0;
  virtual std::intptr_t CallPrevious() = 0;

 protected:
  ~DispatchSteps() = default;
};

struct DispatchOutcome {
  std::intptr_t result = 0;
  bool previousCalled = false;
};

// Offers the message to the clients of the snapshot in order, skipping those that left. A
// client that left during its own call may be gone and is not touched again. With no client
// left to call, the previous procedure answers the message.
DispatchOutcome DispatchToClients(const ClientSnapshot& clients, DispatchSteps& steps);

}  // namespace lumadex
