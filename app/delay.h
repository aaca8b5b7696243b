// The program's one way of waiting.
#pragma once

#include <cstdint>

#include "framework/runtime.h"

namespace app {

// Waits `amount` milliseconds (or seconds, minutes, hours for unit 1, 2,
// 3) while every window keeps being served; handlers may run nested inside
// it. Never returns early. Always true.
inline bool DelayWithMessages(std::int64_t amount, int unit = 0) {
  return fw::DelayWithMessages(amount, unit);
}

}  // namespace app
