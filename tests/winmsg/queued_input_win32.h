// Key presses put into the input queue all at once, without handling any message, for the
// tests of the thread hooks; the events go through the tests' one input helper.
#pragma once
#include "support/real_input_win32.h"

namespace lumadex::test {

using input::QueueKeys;

}  // namespace lumadex::test
