#include "toolkit/DialogRecord.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "toolkit/OwnText.h"
#include "toolkit/TOpenSaveDialog.h"

namespace {

// The OFN flag of each option bit, bit 0 first.
constexpr std::array<DWORD, 15> OptionFlags = {
    OFN_CREATEPROMPT,     OFN_EXTENSIONDIFFERENT, OFN_FILEMUSTEXIST,    OFN_HIDEREADONLY,
    OFN_NOCHANGEDIR,      OFN_NODEREFERENCELINKS, OFN_ALLOWMULTISELECT, OFN_NONETWORKBUTTON,
    OFN_NOREADONLYRETURN, OFN_OVERWRITEPROMPT,    OFN_PATHMUSTEXIST,    OFN_READONLY,
    OFN_NOVALIDATE,       OFN_ENABLETEMPLATE,     OFN_ENABLEHOOK,
};

constexpr DWORD AlwaysOnFlags = OFN_EXPLORER | OFN_LONGNAMES | OFN_ENABLESIZING;

const char* TextOrNull(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

} // namespace

std::string ConvertFilter(const std::string& filter) {
    if (filter.empty()) {
        return {};
    }
    std::string converted = filter;
    std::replace(converted.begin(), converted.end(), '|', '\0');
    // Both final NULs are part of the text, so its size covers the whole list.
    converted.append(2, '\0');
    return converted;
}

DWORD DialogFlags(std::uint32_t options) {
    DWORD flags = AlwaysOnFlags;
    for (std::size_t bit = 0; bit < OptionFlags.size(); ++bit) {
        if ((options & (1u << bit)) != 0) {
            flags |= OptionFlags[bit];
        }
    }
    return flags;
}

DialogRecord::DialogRecord(TOpenSaveDialog& dialog)
    : filter(ConvertFilter(dialog.Filter)), open(dialog.OpenDialog) {
    const bool multiSelect = (dialog.Options & DialogOptionAllowMultiSelect) != 0;
    // The buffer always ends with a NUL: a previous name that would fill it completely is not
    // offered, since a cut path would name another file.
    nameBuffer.assign(multiSelect ? MultiNameBufferSize : SingleNameBufferSize, '\0');
    if (dialog.FileName.size() < nameBuffer.size()) {
        std::memcpy(nameBuffer.data(), dialog.FileName.data(), dialog.FileName.size());
    }

    // Only the fields of the record's first version are filled in, as the size announces.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.hwndOwner = dialog.WndOwner;
    record.hInstance = GetModuleHandleA(nullptr);
    record.lpstrFilter = TextOrNull(filter);
    record.nFilterIndex = static_cast<DWORD>(dialog.FilterIndex);
    record.lpstrFile = nameBuffer.data();
    record.nMaxFile = static_cast<DWORD>(nameBuffer.size());
    record.lpstrInitialDir = TextOrNull(dialog.InitialDir);
    record.lpstrTitle = TextOrNull(dialog.Title);
    record.lpstrDefExt = dialog.DefExtension.c_str();
    record.lCustData = reinterpret_cast<LPARAM>(&dialog);
    record.Flags = DialogFlags(dialog.Options);
}

bool DialogRecord::Run() {
    return RunOwnFileDialog(record, open) != FALSE;
}

void DialogRecord::TakeResult(bool chosen, TOpenSaveDialog& dialog) const {
    if (!chosen) {
        dialog.FileName.clear();
        return;
    }
    dialog.FilterIndex = static_cast<std::int32_t>(record.nFilterIndex);
    dialog.FileName = ChosenNames((record.Flags & OFN_ALLOWMULTISELECT) != 0);
}

// The buffer up to its first NUL, or with several names up to the first pair of NULs, the
// NULs between the names turned into CR. Reading stops at the buffer's end in any case.
std::string DialogRecord::ChosenNames(bool multiSelect) const {
    const auto begin = nameBuffer.begin();
    const auto end = nameBuffer.end();
    if (!multiSelect) {
        return std::string(begin, std::find(begin, end, '\0'));
    }
    const char pair[] = {'\0', '\0'};
    std::string names(begin, std::search(begin, end, pair, pair + 2));
    std::replace(names.begin(), names.end(), '\0', '\r');
    return names;
}
