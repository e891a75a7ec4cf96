#include <gtest/gtest.h>

#include "app/program_start_win32.h"

// The Windows tests start their thread the way the program starts its own.
int wmain(int argc, wchar_t** argv) {
  return lumadex::RunProgramThread([&] {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
  });
}
