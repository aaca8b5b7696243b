// A headless run of the whole program, shared by the application tests.
#pragma once

#include "user_hands.h"

namespace app_test {

using ProgramTest = UserHands;

}  // namespace app_test
