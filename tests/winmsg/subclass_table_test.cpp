#include "winmsg/subclass_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory_resource>
#include <new>
#include <vector>

namespace lumadex {
namespace {

// The table only compares client addresses; it never calls them.
ISubclass* Client(int n) { return reinterpret_cast<ISubclass*>(static_cast<std::uintptr_t>(0x1000 * n)); }

constexpr SubclassTable::WindowKey kWindow = 0x40;
constexpr SubclassTable::WindowKey kOther = 0x80;

// Stands in for the platform: hands out a fixed previous procedure and counts its calls.
struct FakePlatform {
  std::uintptr_t previous = 0x1234;
  int installs = 0;
  SubclassTable::Install Install() {
    return [this] {
      ++installs;
      return previous;
    };
  }
};

// Clients n, in order, for one message of a window.
void AddClients(SubclassTable& table, SubclassTable::WindowKey window, unsigned message,
                std::initializer_list<int> clients, std::uintptr_t previous = 0x1234) {
  FakePlatform platform{previous};
  for (int n : clients) {
    ASSERT_EQ(table.Attach(window, message, Client(n), platform.Install()), SubclassTable::AttachOutcome::Attached);
  }
}

std::vector<ISubclass*> ClientsOf(const SubclassTable& table, SubclassTable::WindowKey window, unsigned message) {
  ClientSnapshot snapshot;
  const std::vector<ISubclass*> stale{Client(97), Client(98), Client(99)};
  snapshot.Assign(stale.begin(), stale.end());  // replaced, not appended to
  table.CopyClients(window, message, snapshot);
  std::vector<ISubclass*> out;
  for (std::size_t i = 0; i < snapshot.size(); ++i) out.push_back(snapshot[i]);
  return out;
}

// Memory that counts what is taken from it and can refuse the n-th request (1-based).
class CountingMemory : public std::pmr::memory_resource {
 public:
  int allocations = 0;
  int failAt = 0;

 private:
  void* do_allocate(std::size_t bytes, std::size_t alignment) override {
    if (++allocations == failAt) throw std::bad_alloc();
    return std::pmr::new_delete_resource()->allocate(bytes, alignment);
  }
  void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override {
    std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
  }
  bool do_is_equal(const memory_resource& other) const noexcept override { return this == &other; }
};

TEST(SubclassTable, ClientsStayInRegistrationOrderWithoutGaps) {
  SubclassTable table;
  AddClients(table, kWindow, 15, {1, 2, 3});
  EXPECT_EQ(ClientsOf(table, kWindow, 15), (std::vector{Client(1), Client(2), Client(3)}));

  EXPECT_TRUE(table.RemoveClient(kWindow, 15, Client(2)));
  EXPECT_EQ(ClientsOf(table, kWindow, 15), (std::vector{Client(1), Client(3)}));
  EXPECT_TRUE(table.RemoveClient(kWindow, 15, Client(1)));
  EXPECT_EQ(ClientsOf(table, kWindow, 15), (std::vector{Client(3)}));
  EXPECT_EQ(table.RegistrationCount(kWindow), 1u);
  EXPECT_EQ(table.PreviousProc(kWindow), 0x1234u);
}

TEST(SubclassTable, CountsFollowRegistrationsOverMessagesAndClients) {
  SubclassTable table;
  AddClients(table, kWindow, 15, {1});
  AddClients(table, kWindow, 20, {1, 2});
  EXPECT_EQ(table.RegistrationCount(kWindow), 3u);
  EXPECT_EQ(table.MessageCount(kWindow), 2u);
  EXPECT_EQ(table.ClientCount(kWindow, 20), 2u);
  EXPECT_EQ(table.ClientCount(kWindow, 21), 0u);
  EXPECT_EQ(table.ClientCount(kOther, 20), 0u);
  EXPECT_TRUE(table.Contains(kWindow, 20, Client(2)));
  EXPECT_FALSE(table.Contains(kWindow, 15, Client(2)));

  EXPECT_TRUE(table.RemoveClient(kWindow, 15, Client(1)));
  EXPECT_EQ(table.MessageCount(kWindow), 1u);  // an emptied message is gone
  EXPECT_EQ(table.RegistrationCount(kWindow), 2u);
}

TEST(SubclassTable, RemovingWhatIsNotRegisteredChangesNothing) {
  SubclassTable table;
  AddClients(table, kWindow, 15, {1, 2});
  EXPECT_FALSE(table.RemoveClient(kWindow, 15, Client(3)));
  EXPECT_FALSE(table.RemoveClient(kWindow, 16, Client(1)));
  EXPECT_FALSE(table.RemoveClient(kOther, 15, Client(1)));
  EXPECT_EQ(ClientsOf(table, kWindow, 15), (std::vector{Client(1), Client(2)}));
  EXPECT_EQ(table.RegistrationCount(kWindow), 2u);

  // A second removal of the same registration never drives a count below zero.
  EXPECT_TRUE(table.RemoveClient(kWindow, 15, Client(1)));
  EXPECT_FALSE(table.RemoveClient(kWindow, 15, Client(1)));
  EXPECT_EQ(table.RegistrationCount(kWindow), 1u);
}

TEST(SubclassTable, AClientGoingAwayLeavesEveryWindowAndReportsTheEmptiedOnes) {
  SubclassTable table;
  AddClients(table, kWindow, 15, {1}, 1);
  AddClients(table, kWindow, 20, {1}, 1);
  AddClients(table, kOther, 15, {1, 2}, 2);

  std::size_t removed = 0;
  const auto emptied = table.RemoveClientEverywhere(Client(1), &removed);
  EXPECT_EQ(emptied, std::vector<SubclassTable::WindowKey>{kWindow});
  EXPECT_EQ(removed, 3u);
  EXPECT_EQ(table.RegistrationCount(kWindow), 0u);
  EXPECT_EQ(table.MessageCount(kWindow), 0u);
  EXPECT_EQ(ClientsOf(table, kOther, 15), (std::vector{Client(2)}));
  // An emptied window stays known until its owner decides; its previous procedure with it.
  EXPECT_TRUE(table.Knows(kWindow));
  EXPECT_EQ(table.PreviousProc(kWindow), 1u);
  EXPECT_TRUE(table.RemoveClientEverywhere(Client(7), &removed).empty());
  EXPECT_EQ(removed, 0u);

  table.EraseWindow(kWindow);
  EXPECT_FALSE(table.Knows(kWindow));
  EXPECT_EQ(table.PreviousProc(kWindow), 0u);
  EXPECT_EQ(table.WindowCount(), 1u);
}

TEST(SubclassTable, TheWindowIsInstalledOnceAndRefusalsOrRepeatsChangeNothing) {
  SubclassTable table;
  FakePlatform platform;
  using Outcome = SubclassTable::AttachOutcome;
  EXPECT_EQ(table.Attach(kWindow, 15, Client(1), platform.Install()), Outcome::Attached);
  EXPECT_EQ(table.Attach(kWindow, 16, Client(2), platform.Install()), Outcome::Attached);
  EXPECT_EQ(platform.installs, 1);
  EXPECT_EQ(table.Attach(kWindow, 15, Client(1), platform.Install()), Outcome::AlreadyRegistered);
  EXPECT_EQ(table.RegistrationCount(kWindow), 2u);

  // A window emptied but still known (the dispatcher stays in its chain) is not installed again.
  table.RemoveClientEverywhere(Client(1));
  table.RemoveClientEverywhere(Client(2));
  EXPECT_EQ(table.Attach(kWindow, 15, Client(3), platform.Install()), Outcome::Attached);
  EXPECT_EQ(platform.installs, 1);

  FakePlatform refusing{0};
  EXPECT_EQ(table.Attach(kOther, 15, Client(1), refusing.Install()), Outcome::Refused);
  EXPECT_EQ(refusing.installs, 1);
  EXPECT_FALSE(table.Knows(kOther));
  EXPECT_EQ(table.WindowCount(), 1u);
}

// Whichever allocation fails, the table is left as it was, and the platform is never asked to
// put the dispatcher in before the window's own procedure has its place in the table.
TEST(SubclassTable, AFailedAllocationLeavesTheTableAndTheWindowAsTheyWere) {
  const auto attachFailingAt = [](int failAt, SubclassTable::WindowKey window, int client) {
    CountingMemory memory;
    SubclassTable table(&memory);
    AddClients(table, kOther, 15, {1, 2, 3, 4});  // known, its list full to capacity
    memory.allocations = 0;
    memory.failAt = failAt;
    FakePlatform platform;
    try {
      table.Attach(window, 15, Client(client), platform.Install());
    } catch (const std::bad_alloc&) {
      EXPECT_EQ(platform.installs, 0) << failAt;
      EXPECT_EQ(table.WindowCount(), 1u) << failAt;
      EXPECT_FALSE(table.Knows(kWindow)) << failAt;
      EXPECT_EQ(ClientsOf(table, kOther, 15), (std::vector{Client(1), Client(2), Client(3), Client(4)})) << failAt;
      EXPECT_EQ(table.RegistrationCount(kOther), 4u) << failAt;
      return true;
    }
    return false;
  };
  int failAt = 1;
  while (attachFailingAt(failAt, kWindow, 1)) ASSERT_LT(++failAt, 20);
  EXPECT_GE(failAt, 3);  // the new window, its message and its list each took memory
  failAt = 1;
  while (attachFailingAt(failAt, kOther, 5)) ASSERT_LT(++failAt, 20);
  EXPECT_GE(failAt, 2);  // the full list had to grow
}

TEST(SubclassTable, ADispatchSnapshotOfAFewClientsTakesNoMemory) {
  CountingMemory memory;
  SubclassTable table(&memory);
  AddClients(table, kWindow, 15, {1});
  AddClients(table, kWindow, 16, {1, 2, 3, 4});
  AddClients(table, kWindow, 17, {1, 2, 3, 4, 5});
  const int before = memory.allocations;
  for (unsigned message : {14u, 15u, 16u}) {
    ClientSnapshot snapshot(&memory);
    table.CopyClients(kWindow, message, snapshot);
    EXPECT_EQ(snapshot.size(), table.ClientCount(kWindow, message));
  }
  EXPECT_EQ(memory.allocations, before);

  // More clients than the snapshot holds in place spill into memory and stay in order.
  ClientSnapshot snapshot(&memory);
  table.CopyClients(kWindow, 17, snapshot);
  EXPECT_GT(memory.allocations, before);
  ASSERT_EQ(snapshot.size(), 5u);
  EXPECT_EQ(snapshot[4], Client(5));
  table.CopyClients(kWindow, 15, snapshot);
  ASSERT_EQ(snapshot.size(), 1u);
  EXPECT_EQ(snapshot[0], Client(1));
}

}  // namespace
}  // namespace lumadex
