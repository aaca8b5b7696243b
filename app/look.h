// The editor's own look: the Windows colour values (0x00BBGGRR) its windows
// share and the 宋体 font of their captions and labels.
#pragma once

#include <string_view>
#include <type_traits>

#include "engine/colour.h"
#include "framework/form.h"
#include "framework/types.h"

namespace app {

inline constexpr fw::Colour kWhite = 0x00FFFFFFu;
inline constexpr fw::Colour kBlack = 0x00000000u;
inline constexpr fw::Colour kPurple = 0x00800080u;  // caption bar of the main window
inline constexpr fw::Colour kGreen = 0x00008000u;   // caption bar of the prompt box
inline constexpr fw::Colour kRed = 0x000000FFu;     // level (dynamic) data
inline constexpr fw::Colour kBlue = 0x00FF0000u;    // static data

// The engine's results carry the same colour values; they reach the units
// as they are.
static_assert(std::is_same_v<Colour, fw::Colour>);
static_assert(kColourNotSet == fw::kDefaultColour);
static_assert(kPlainTextColour == kBlack && kLevelValueColour == kRed &&
              kStaticValueColour == kBlue);

// 宋体, bold or not; a size in pixels, or 0 for the default size.
inline fw::Font SongTi(bool bold, double pixels = 0) {
  fw::Font f;
  f.face = "宋体";
  f.size = pixels;
  f.unit = pixels > 0 ? fw::FontUnit::Pixels : fw::FontUnit::Points;
  f.bold = bold;
  return f;
}

// The caption bar that a window draws itself: the title label in white
// bold 宋体 on the bar colour, and the 3-pixel borders in the same colour.
inline fw::UnitDef CaptionTitle(std::string_view name, fw::Rect r, std::string_view text,
                                fw::Colour bar = kPurple) {
  return fw::LabelUnit(name, r, text).WithFont(SongTi(true, 14)).Colours(kWhite, bar);
}
inline fw::UnitDef BorderStrip(std::string_view name, fw::Rect r, fw::Colour bar = kPurple) {
  return fw::LabelUnit(name, r).Colours(bar, bar);
}

}  // namespace app
