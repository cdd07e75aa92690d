#include "toolkit/TOpenSaveDialog.h"

#include "toolkit/DialogRecord.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

bool TOpenSaveDialog::Execute() {
    DialogRecord request(*this);
    if (request.Record().hwndOwner == nullptr && MainControl != nullptr) {
        request.Record().hwndOwner = MainControl->Handle;
    }
    const bool chosen = request.Run();
    request.TakeResult(chosen, *this);
    return chosen;
}

TOpenSaveDialog* CreateOpenSaveDialog(const std::string& title, const std::string& initialDir,
                                      std::uint32_t options) {
    TOpenSaveDialog* dialog = TOpenSaveDialog::Created(new TOpenSaveDialog);
    dialog->Options = options != 0 ? options : DefaultDialogOptions;
    dialog->Title = title;
    dialog->InitialDir = initialDir;
    return dialog;
}
