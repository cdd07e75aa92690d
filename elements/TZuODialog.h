#pragma once

#include <cstdint>

#include "core/TData.h"
#include "elements/TZuFileDialog.h"

// Lets the user pick a file to open; Execute runs whatever RunDialog is bound to, which the
// form binds to the element's own dialog routine (OwnDialogRoutine).
class TZuODialog : public TZuFileDialog {
public:
    // A bound routine: code plus the object it runs on.
    struct Routine {
        void (*Code)(void* object) = nullptr;
        void* Object = nullptr;
    };

    TZuODialog() : TZuFileDialog(true) {}

    // Input; value and index are ignored.
    void Execute(TData& value, std::uint16_t index);
    Routine OwnDialogRoutine();

    Routine RunDialog; // unset: Execute does nothing
};
