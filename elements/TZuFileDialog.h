#pragma once

#include <string>

#include "core/TZu_Event.h"

class TOpenSaveDialog;

// What the open and save dialog elements share: their properties, their outputs and the
// dialog routine. The platform dialog is made on the first run and kept, so the chosen name
// and filter pair carry over to the next run.
class TZuFileDialog {
public:
    TZuFileDialog(const TZuFileDialog&) = delete;
    TZuFileDialog& operator=(const TZuFileDialog&) = delete;

    const TOpenSaveDialog* Dialog() const { return dialog; }

    std::string StartDir; // initial directory
    std::string Filter;   // "NAME|pattern|..."
    std::string Title;    // dialog title
    TZu_Event OnExecute;  // output: the chosen file name
    TZu_Event OnCancel;   // output: no file chosen

protected:
    explicit TZuFileDialog(bool open) : open(open) {}
    ~TZuFileDialog();

    // Runs the dialog and fires OnExecute with the chosen name or OnCancel. The properties
    // are copied to the dialog only when it is made, on the first run.
    void ShowDialog();

private:
    TOpenSaveDialog* dialog = nullptr;
    bool open;
};
