#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "toolkit/TObj.h"

// Option bits of TOpenSaveDialog::Options. Bit n switches on the OFN flag OptionFlag(n).
inline constexpr std::uint32_t DialogOptionFileMustExist = 1u << 2;
inline constexpr std::uint32_t DialogOptionHideReadOnly = 1u << 3;
inline constexpr std::uint32_t DialogOptionAllowMultiSelect = 1u << 6;
inline constexpr std::uint32_t DialogOptionOverwritePrompt = 1u << 9;
inline constexpr std::uint32_t DialogOptionPathMustExist = 1u << 10;
// The options of a dialog made with none.
inline constexpr std::uint32_t DefaultDialogOptions =
    DialogOptionFileMustExist | DialogOptionHideReadOnly | DialogOptionOverwritePrompt |
    DialogOptionPathMustExist;

// The platform's common open or save dialog. FileName and FilterIndex keep the outcome of the
// last run and are offered again by the next.
class TOpenSaveDialog : public TObj {
public:
    // Runs the dialog modally; true when the user chose a name. Messages, timer ticks
    // included, keep being dispatched meanwhile.
    bool Execute();

    std::string Filter;           // "NAME|pattern|NAME|pattern..."; empty: no filter
    std::int32_t FilterIndex = 0; // 1-based filter pair shown first, then the one chosen
    bool OpenDialog = true;       // false: the save dialog
    std::string InitialDir;       // empty: the platform's choice
    std::string DefExtension;     // appended to a name typed without one
    std::string FileName;         // the chosen name; empty after a cancelled run
    std::string Title;            // empty: the platform's default title
    std::uint32_t Options = 0;    // DialogOption* bits
    HWND WndOwner = nullptr;      // null: the application window

    friend TOpenSaveDialog* CreateOpenSaveDialog(const std::string& title,
                                                 const std::string& initialDir,
                                                 std::uint32_t options);

protected:
    TOpenSaveDialog() = default;
    ~TOpenSaveDialog() override = default;
};

// A new dialog for opening files; options 0 gives DefaultDialogOptions.
TOpenSaveDialog* CreateOpenSaveDialog(const std::string& title, const std::string& initialDir,
                                      std::uint32_t options);
