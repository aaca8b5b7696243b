// Handlers that the forms bind but whose behaviour is not built yet. Each
// does nothing, so every binding holds and every unit can be clicked
// safely; a handler moves to its own source file when it is built.
#include "app/main_window.h"
#include "app/side_windows.h"

namespace app {

void OnScriptEditLeftButtonDown() {}
void OnScriptEditRightButtonDown() {}
void OnDropTargetFilesDropped(const std::string& /*paths*/) {}
void OnReadButtonClicked() {}
void OnCopyButtonClicked() {}
void OnClearButtonClicked() {}
void OnSaveChangesButtonClicked() {}
void OnSaveFileButtonClicked() {}
void OnLoadButtonClicked() {}

void OnHelpButtonClicked() {}
void OnMinimizeButtonClicked() {}

void OnCommonRadioClicked() {}
void OnDungeonRadioClicked() {}
void OnPkRadioClicked() {}
void OnAddRadioClicked() {}
void OnAssignRadioClicked() {}
void OnIncrementRadioClicked() {}
void OnRatioRadioClicked() {}

void OnPrevPageButtonClicked() {}
void OnNextPageButtonClicked() {}
void OnJumpButtonClicked() {}
void OnPageEditTextChanged() {}
void OnLowLevelEditTextChanged() {}
void OnHighLevelEditTextChanged() {}

void OnDataGridCellEvent() {}
void OnStaticGridCellEvent() {}
void OnSwitchButtonClicked() {}
void OnDescriptionEditLeftButtonUp() {}

void OnParamWindowButtonClicked() {}
void OnMasteryWindowButtonClicked() {}

void OnParamSaveButtonClicked() {}
void OnMasterySaveButtonClicked() {}
void OnAllClassComboSelectionChanged() {}

}  // namespace app
