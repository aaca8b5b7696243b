// Handlers that the forms bind but whose behaviour is not built yet. Each
// does nothing, so every binding holds and every unit can be clicked
// safely; a handler moves to its own source file when it is built.
#include "app/main_window.h"
#include "app/side_windows.h"

namespace app {

void OnDropTargetFilesDropped(const std::string& /*paths*/) {}
void OnLoadButtonClicked() {}

void OnHelpButtonClicked() {}
void OnMinimizeButtonClicked() {}

}  // namespace app
