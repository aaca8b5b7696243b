// The pictures and the sound of the editor's windows, as the forms and the
// handlers use them. The bytes are embedded (resources/media.h) and live as
// long as the process.
#pragma once

#include <cstdint>
#include <span>

#include "framework/types.h"

namespace app {

// Picture buttons: normal, hot (mouse over), pressed and disabled pictures,
// JPEG. Caption-bar buttons are 24 x 24; the close button has no disabled
// picture (it is never disabled).
fw::ImageSet MinimizeButtonImages();
fw::ImageSet CloseButtonImages();
// 82 x 23: 加载按钮, which opens the skill list.
fw::ImageSet LoadButtonImages();
// 82 x 23: the side-window buttons. While the window is shown the button
// offers to hide it (隐藏参数窗口 / 隐藏精通窗口), while it is hidden to show
// it (显示参数窗口 / 显示精通窗口).
fw::ImageSet ParamWindowButtonImages(bool windowShown);
fw::ImageSet MasteryWindowButtonImages(bool windowShown);
// 65 x 23: the prompt box's 确定 and 取消.
fw::ImageSet PromptOkButtonImages();
fw::ImageSet PromptCancelButtonImages();

// The figure beside the prompt box: PNG, 345 x 337, 8-bit RGBA, fully
// transparent where the prompt box lies when the picture's top-left corner
// is 198 pixels left of and 124 pixels above the box's.
fw::Image PromptDecorationImage();

// The chime of the prompt box, also played after a modification or a file
// save: RIFF WAVE, PCM, mono, 16,000 samples per second, 8 bits.
std::span<const std::uint8_t> PromptSound();

}  // namespace app
