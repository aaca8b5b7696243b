// MainWindow: the editor itself. Its form, its Created handler, and the
// handlers bound to its units.
#pragma once

#include <string>
#include <string_view>

#include "framework/form.h"

namespace app {

// What the empty script box shows at start (UTF-8; the box holds it as GBK).
inline constexpr std::string_view kScriptBoxHint =
    "\r\n拖放技能数据文件到此处(只支持拖放PVFTool文件)\r\n\r\n"
    "粘贴技能数据文本到此处(支持SuperPVF和PVFTool)\r\n\r\n"
    "只有拖放进来技能数据文件时，才可以保存到文件。";
// What the description box shows until a description is rendered.
inline constexpr std::string_view kDescriptionHint =
    "技能描述加载完后，只需要用鼠标左键点击其中\r\n"
    "一项描述，本工具可以自动定位到该项描述对应\r\n"
    "的数据，并且高亮显示。";
// What the path box shows while it names no file: at start and after the
// script box was emptied.
inline constexpr std::string_view kNoFilePath = "*";
// The legend above the description and its two coloured words.
inline constexpr std::string_view kLegend = "技能描述(红色-动态，蓝色-静态)";
inline constexpr std::string_view kLegendLevelWord = "红色-动态";
inline constexpr std::string_view kLegendStaticWord = "蓝色-静态";

// The form of MainWindow; it lives for the whole process.
const fw::WindowDef& MainWindowForm();

// Created: grid headers, the coloured legend, the drop registration of the
// script box, then the two side windows, which embed themselves.
void OnMainWindowCreated();

// ---- Handlers of MainWindow's units --------------------------------------

// Script box.
void OnScriptEditTextChanged();
void OnScriptEditLeftButtonDown();
void OnScriptEditRightButtonDown();
void OnDropTargetFilesDropped(const std::string& paths);
void OnReadButtonClicked();
void OnCopyButtonClicked();
void OnClearButtonClicked();
void OnSaveChangesButtonClicked();
void OnSaveFileButtonClicked();
void OnLoadButtonClicked();

// Caption bar (the close button is OnCloseButtonClicked, program.h).
void OnHelpButtonClicked();
void OnMinimizeButtonClicked();

// Read type and modification mode.
void OnCommonRadioClicked();
void OnDungeonRadioClicked();
void OnPkRadioClicked();
void OnAddRadioClicked();
void OnAssignRadioClicked();
void OnIncrementRadioClicked();
void OnRatioRadioClicked();

// Level paging and level range.
void OnPrevPageButtonClicked();
void OnNextPageButtonClicked();
void OnJumpButtonClicked();
void OnPageEditTextChanged();
void OnLowLevelEditTextChanged();
void OnHighLevelEditTextChanged();

// Grids, static copy and description.
void OnDataGridCellEvent();
void OnStaticGridCellEvent();
void OnSwitchButtonClicked();
void OnDescriptionEditLeftButtonUp();

// Side-window buttons.
void OnParamWindowButtonClicked();
void OnMasteryWindowButtonClicked();

}  // namespace app
