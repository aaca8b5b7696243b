// The two side windows that live inside MainWindow: SkillParamWindow (the
// header fields of the skill) and MasteryLevelWindow (its mastery levels).
#pragma once

#include <optional>

#include "framework/form.h"
#include "framework/unit.h"

namespace app {

// Where each side window sits inside MainWindow's client area when open.
inline constexpr int kParamWindowLeft = 627;
inline constexpr int kParamWindowTop = 125;
inline constexpr int kParamWindowWidth = 173;
inline constexpr int kParamWindowHeight = 439;
inline constexpr int kMasteryWindowTop = 256;  // its left follows SkillParamWindow
inline constexpr int kMasteryWindowWidth = 152;
inline constexpr int kMasteryWindowHeight = 310;

// The slides that shut and open them: a step every 15 ms, down to 3 pixels
// wide and back.
inline constexpr int kParamSlideStep = 17;
inline constexpr int kMasterySlideStep = 15;
inline constexpr int kSlidePeriodMs = 15;
inline constexpr int kSlideShutWidth = 3;
// A window that slides open stays inside MainWindow: off its 3-pixel
// borders and below its 24-pixel caption bar.
inline constexpr int kMainBorder = 3;
inline constexpr int kMainCaptionHeight = 24;

// The forms; they live for the whole process.
const fw::WindowDef& SkillParamWindowForm();
const fw::WindowDef& MasteryLevelWindowForm();

// Created: write the grid's header row, then embed the window in MainWindow.
// MasteryLevelWindow goes to the right of SkillParamWindow, so that one is
// loaded first.
void OnSkillParamWindowCreated();
void OnMasteryLevelWindowCreated();

// Makes the loaded top-level window `child` a child window of `parent` at
// (left, top) of the parent's client area; a width or height not given
// keeps the window's size. False when either window is not loaded.
bool EmbedChildWindow(fw::Window& parent, fw::Window& child, int left, int top,
                      std::optional<int> width = {}, std::optional<int> height = {});

// The slides of the side windows: shut, each shrinks towards its left edge
// down to 3 pixels and is hidden with its full width back; open, it is
// kept inside MainWindow (below its caption bar), shown 3 pixels wide and
// widened step by step to its full width.
void SlideParamWindowClose();
void SlideParamWindowOpen();
void SlideMasteryWindowClose();
void SlideMasteryWindowOpen();

// Handlers of the side windows' units. The buttons that slide the windows
// are MainWindow's (OnParamWindowButtonClicked, OnMasteryWindowButtonClicked).
void OnParamSaveButtonClicked();
void OnMasterySaveButtonClicked();
void OnAllClassComboSelectionChanged();

}  // namespace app
