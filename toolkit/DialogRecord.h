#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

class TOpenSaveDialog;

// Characters of the name buffer: one name, or a folder and several names. A single name may
// be a long path (Linux allows 4096 bytes, Windows long paths 32767).
inline constexpr DWORD SingleNameBufferSize = 32768;
inline constexpr DWORD MultiNameBufferSize = 65521;

// The filter text as the platform reads it: every '|' turned into a NUL and one more NUL
// added, so the list ends with two. An empty filter stays empty.
std::string ConvertFilter(const std::string& filter);

// The OFN flags of a set of dialog option bits, plus the flags every dialog gets.
DWORD DialogFlags(std::uint32_t options);

// The OPENFILENAMEA record of one run of a dialog, with the filter and name buffers it points
// into. It is built from the dialog's settings and hands the outcome back to the dialog.
class DialogRecord {
public:
    explicit DialogRecord(TOpenSaveDialog& dialog);
    DialogRecord(const DialogRecord&) = delete;
    DialogRecord& operator=(const DialogRecord&) = delete;

    OPENFILENAMEA& Record() { return record; }
    const std::vector<char>& NameBuffer() const { return nameBuffer; }

    // Calls the platform's open or save dialog; true when a name was chosen.
    bool Run();
    // After a successful run: the chosen filter pair and name (several names separated by
    // CR). Otherwise the name is cleared.
    void TakeResult(bool chosen, TOpenSaveDialog& dialog) const;

private:
    std::string ChosenNames(bool multiSelect) const;

    std::string filter;
    std::vector<char> nameBuffer;
    OPENFILENAMEA record{};
    bool open = true;
};
