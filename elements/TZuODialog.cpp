#include "elements/TZuODialog.h"

void TZuODialog::Execute(TData&, std::uint16_t) {
    if (RunDialog.Code != nullptr) {
        RunDialog.Code(RunDialog.Object);
    }
}

TZuODialog::Routine TZuODialog::OwnDialogRoutine() {
    return {[](void* object) { static_cast<TZuODialog*>(object)->ShowDialog(); }, this};
}
