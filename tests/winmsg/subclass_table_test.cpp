#include "winmsg/subclass_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace lumadex {
namespace {

// The table only compares client addresses; it never calls them.
ISubclass* Client(int n) { return reinterpret_cast<ISubclass*>(static_cast<std::uintptr_t>(0x1000 * n)); }

constexpr SubclassTable::WindowKey kWindow = 0x40;
constexpr SubclassTable::WindowKey kOther = 0x80;

// Clients n, in order, for one message of a window the table already knows.
void AddClients(SubclassTable& table, SubclassTable::WindowKey window, unsigned message,
                std::initializer_list<int> clients) {
  for (int n : clients) table.AddClient(window, message, Client(n));
}

std::vector<ISubclass*> ClientsOf(const SubclassTable& table, SubclassTable::WindowKey window, unsigned message) {
  std::vector<ISubclass*> out{Client(99)};  // replaced, not appended to
  table.CopyClients(window, message, out);
  return out;
}

TEST(SubclassTable, ClientsStayInRegistrationOrderWithoutGaps) {
  SubclassTable table;
  table.AddWindow(kWindow, 0x1234);
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
  table.AddWindow(kWindow, 1);
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
  table.AddWindow(kWindow, 1);
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
  table.AddWindow(kWindow, 1);
  table.AddWindow(kOther, 2);
  AddClients(table, kWindow, 15, {1});
  AddClients(table, kWindow, 20, {1});
  AddClients(table, kOther, 15, {1, 2});

  const auto emptied = table.RemoveClientEverywhere(Client(1));
  EXPECT_EQ(emptied, std::vector<SubclassTable::WindowKey>{kWindow});
  EXPECT_EQ(table.RegistrationCount(kWindow), 0u);
  EXPECT_EQ(table.MessageCount(kWindow), 0u);
  EXPECT_EQ(ClientsOf(table, kOther, 15), (std::vector{Client(2)}));
  // An emptied window stays known until its owner decides; its previous procedure with it.
  EXPECT_TRUE(table.Knows(kWindow));
  EXPECT_EQ(table.PreviousProc(kWindow), 1u);
  EXPECT_TRUE(table.RemoveClientEverywhere(Client(7)).empty());

  table.EraseWindow(kWindow);
  EXPECT_FALSE(table.Knows(kWindow));
  EXPECT_EQ(table.PreviousProc(kWindow), 0u);
  EXPECT_EQ(table.WindowCount(), 1u);
}

}  // namespace
}  // namespace lumadex
