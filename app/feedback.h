// The answer of a button whose write went through (a bulk modification, a
// file save): the button shows "√√√" and cannot be pressed, the sound
// plays, and for one second the user's input is held off while timers,
// animations and workers carry on; then the button is back as it was.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "framework/runtime.h"

namespace app {

// `restCaptionUtf8` is the caption the button shows at rest.
void ShowWriteDone(fw::Ref<fw::Button> button, std::string_view restCaptionUtf8);

// The sound of a write that went through: the prompt box's sound.
std::span<const std::uint8_t> SaveDoneSound();

}  // namespace app
