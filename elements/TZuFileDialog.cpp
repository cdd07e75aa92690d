#include "elements/TZuFileDialog.h"

#include "toolkit/TControl.h"
#include "toolkit/TList.h"
#include "toolkit/TOpenSaveDialog.h"
#include "toolkit/WindowProc.h"

namespace {

// The main window: the first child of the application control.
HWND MainWindowHandle() {
    if (MainControl == nullptr || MainControl->Children == nullptr) {
        return nullptr;
    }
    auto* mainWindow = static_cast<TControl*>(MainControl->Children->Get(0));
    return mainWindow != nullptr ? mainWindow->Handle : nullptr;
}

} // namespace

TZuFileDialog::~TZuFileDialog() {
    Free(dialog);
}

void TZuFileDialog::ShowDialog() {
    if (dialog == nullptr) {
        dialog = CreateOpenSaveDialog(Title, StartDir, 0);
        dialog->OpenDialog = open;
        dialog->WndOwner = MainWindowHandle();
        dialog->Filter = Filter;
    }
    if (dialog->Execute()) {
        FireString(OnExecute, dialog->FileName);
    } else {
        FireNone(OnCancel);
    }
}
