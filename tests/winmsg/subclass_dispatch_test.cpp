#include "winmsg/subclass_dispatch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumadex {
namespace {

// A client is only an address to the dispatch; these are real objects so that the sanitizers
// see any touch of one that is gone.
struct Client {
  std::string name;
  MessageResponse response;
  std::intptr_t result;
  std::function<void()> during;  // runs inside the client's call
};

ISubclass* AsKey(Client* client) { return reinterpret_cast<ISubclass*>(client); }
Client* FromKey(ISubclass* key) { return reinterpret_cast<Client*>(key); }

// The registrations of one message, and a record of what the round did.
class FakeWindow : public DispatchSteps {
 public:
  void Register(Client* client) { registered.push_back(AsKey(client)); }
  void Unregister(Client* client) { registered.erase(std::remove(registered.begin(), registered.end(), AsKey(client)), registered.end()); }

  DispatchOutcome Dispatch() {
    ClientSnapshot snapshot;
    snapshot.Assign(registered.begin(), registered.end());
    return DispatchToClients(snapshot, *this);
  }

  bool StillRegistered(const ISubclass* client) const override {
    return std::find(registered.begin(), registered.end(), client) != registered.end();
  }
  MessageResponse Ask(ISubclass* key) override {
    Client* client = FromKey(key);
    log.push_back("ask " + client->name);
    return client->response;
  }
  std::intptr_t Call(ISubclass* key) override {
    Client* client = FromKey(key);
    log.push_back(client->name);
    const std::intptr_t result = client->result;
    if (const auto during = client->during) during();  // may destroy the client
    return result;
  }
  std::intptr_t CallPrevious() override {
    log.push_back("old");
    return 1000;
  }

  std::vector<ISubclass*> registered;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(SubclassDispatch, OnlyTheFirstAnswerCountsBeforeAndOnlyTheLastAfter) {
  Client first{"c1", MessageResponse::CallOldBefore, 1, {}};
  Client middle{"c2", MessageResponse::CallOldBefore, 2, {}};
  Client last{"c3", MessageResponse::CallOldAfter, 3, {}};
  FakeWindow window;
  for (Client* c : {&first, &middle, &last}) window.Register(c);
  auto outcome = window.Dispatch();
  // Called before, the previous procedure is not called again after.
  EXPECT_EQ(window.log, (Log{"ask c1", "old", "c1", "c2", "c3", "ask c3"}));
  EXPECT_EQ(outcome.result, 3);
  EXPECT_TRUE(outcome.previousCalled);

  window.log.clear();
  first.response = MessageResponse::Consume;
  outcome = window.Dispatch();
  EXPECT_EQ(window.log, (Log{"ask c1", "c1", "c2", "c3", "ask c3", "old"}));
  EXPECT_EQ(outcome.result, 1000);

  window.log.clear();
  last.response = MessageResponse::Consume;
  outcome = window.Dispatch();
  EXPECT_EQ(window.log, (Log{"ask c1", "c1", "c2", "c3", "ask c3"}));
  EXPECT_EQ(outcome.result, 3);
  EXPECT_FALSE(outcome.previousCalled);

  // Without clients the previous procedure answers alone.
  FakeWindow empty;
  outcome = empty.Dispatch();
  EXPECT_EQ(empty.log, Log{"old"});
  EXPECT_EQ(outcome.result, 1000);
}

TEST(SubclassDispatch, ClientsLeavingOrDestroyedDuringTheRoundAreNotTouchedAgain) {
  FakeWindow window;
  auto first = std::make_unique<Client>(Client{"c1", MessageResponse::Consume, 1, {}});
  auto second = std::make_unique<Client>(Client{"c2", MessageResponse::Consume, 2, {}});
  auto last = std::make_unique<Client>(Client{"c3", MessageResponse::CallOldAfter, 3, {}});
  for (Client* c : {first.get(), second.get(), last.get()}) window.Register(c);

  // The first takes the second off and is destroyed itself; the last still ends the message.
  first->during = [&] {
    window.Unregister(second.get());
    window.Unregister(first.get());
    first.reset();
  };
  auto outcome = window.Dispatch();
  EXPECT_EQ(window.log, (Log{"ask c1", "c1", "c3", "ask c3", "old"}));
  EXPECT_EQ(outcome.result, 1000);

  // The last one going inside its own call is not asked for its answer afterwards.
  window.log.clear();
  window.Register(second.get());
  last->during = [&] {
    window.Unregister(last.get());
    last.reset();
  };
  outcome = window.Dispatch();
  EXPECT_EQ(window.log, (Log{"ask c3", "c3", "c2", "ask c2"}));
  EXPECT_EQ(outcome.result, 2);
}

}  // namespace
}  // namespace lumadex
