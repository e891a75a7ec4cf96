#include "app/program_start_win32.h"

#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace lumadex {
namespace {

// OLE answers S_FALSE to a second OleInitialize on a thread where it already runs, and S_OK
// where only COM (or nothing) was set up before. The call is balanced either way.
HRESULT OleAlreadyRunning() {
  const HRESULT result = OleInitialize(nullptr);
  if (SUCCEEDED(result)) OleUninitialize();
  return result;
}

bool IsSingleThreadedApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  return SUCCEEDED(CoGetApartmentType(&type, &qualifier)) && (type == APTTYPE_STA || type == APTTYPE_MAINSTA);
}

bool HasApartment() {
  APTTYPE type{};
  APTTYPEQUALIFIER qualifier{};
  return CoGetApartmentType(&type, &qualifier) != CO_E_NOTINITIALIZED;
}

// The tests enter through the same start-up as the program, so this thread must be in the state
// the folder dialog and its drag and drop need.
TEST(ProgramStart, TheTestThreadRunsAsTheProgramDoes) {
  EXPECT_TRUE(IsSingleThreadedApartment());
  EXPECT_EQ(OleAlreadyRunning(), S_FALSE);
}

TEST(ProgramStart, InitialisesForTheBodyAndCleansUpAfterIt) {
  bool apartmentInside = false, oleInside = false, apartmentAfter = true;
  int result = 0;
  std::thread([&] {
    result = RunProgramThread([&] {
      apartmentInside = IsSingleThreadedApartment();
      oleInside = OleAlreadyRunning() == S_FALSE;
      return 7;
    });
    apartmentAfter = HasApartment();
  }).join();
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(apartmentInside);
  EXPECT_TRUE(oleInside);
  EXPECT_FALSE(apartmentAfter);
}

TEST(ProgramStart, CleansUpWhenTheBodyThrows) {
  bool thrown = false, apartmentAfter = true;
  std::thread([&] {
    try {
      RunProgramThread([]() -> int { throw std::runtime_error("start-up failed"); });
    } catch (const std::runtime_error&) {
      thrown = true;
    }
    apartmentAfter = HasApartment();
  }).join();
  EXPECT_TRUE(thrown);
  EXPECT_FALSE(apartmentAfter);
}

}  // namespace
}  // namespace lumadex
