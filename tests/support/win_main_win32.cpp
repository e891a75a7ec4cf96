#include <gtest/gtest.h>
#include <objbase.h>

// The Windows tests run on one apartment-threaded UI thread, as the program does.
int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
