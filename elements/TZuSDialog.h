#pragma once

#include <cstdint>

#include "core/TData.h"
#include "elements/TZuFileDialog.h"

// Lets the user pick a file name to save to.
class TZuSDialog : public TZuFileDialog {
public:
    TZuSDialog() : TZuFileDialog(false) {}

    // Input; value and index are ignored.
    void Execute(TData& value, std::uint16_t index);
};
