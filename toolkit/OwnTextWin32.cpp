#include "toolkit/OwnText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

constexpr UINT CaptionCodePage = 1251;

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The text in UTF-16, read in the code page; nothing when the bytes are not valid in it (only
// checked with MB_ERR_INVALID_CHARS).
std::optional<std::wstring> Widen(std::string_view text, UINT codePage, DWORD flags) {
    if (text.empty()) {
        return std::wstring();
    }
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (length <= 0) {
        return std::nullopt;
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), size, wide.data(), length);
    return wide;
}

std::wstring DecodeOwnText(std::string_view text) {
    if (auto utf8 = Widen(text, CP_UTF8, MB_ERR_INVALID_CHARS)) {
        return *utf8;
    }
    return Widen(text, CaptionCodePage, 0).value_or(std::wstring());
}

std::wstring DecodeAnsi(std::string_view text) {
    return Widen(text, CP_ACP, 0).value_or(std::wstring());
}

// The text in the code page, or nothing when a character has no exact form there.
std::optional<std::string> Narrow(std::wstring_view wide, UINT codePage) {
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = codePage == CP_UTF8 ? nullptr : &usedDefault;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr,
                                           usedDefaultOut);
    if (length <= 0 || usedDefault) {
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

// Back to bytes that DecodeOwnText reads as the same text: the captions' code page where it
// holds the text, else UTF-8.
std::string EncodeOwnText(std::wstring_view wide) {
    if (auto caption = Narrow(wide, CaptionCodePage); caption && DecodeOwnText(*caption) == wide) {
        return *caption;
    }
    return Narrow(wide, CP_UTF8).value_or(std::string());
}

// A list of NUL-ended texts that ends with an empty one, as the filter and the chosen names
// of a file dialog are: its length with the final NUL.
template <typename Char> std::size_t DoubleNulListLength(const Char* list, std::size_t limit) {
    for (std::size_t i = 0; i + 1 < limit; ++i) {
        if (list[i] == 0 && list[i + 1] == 0) {
            return i + 2;
        }
    }
    return limit;
}

// A text of the record, or empty for a null pointer.
std::string_view RecordText(const char* text) {
    return text == nullptr ? std::string_view() : std::string_view(text);
}

const wchar_t* WideOrNull(const std::wstring& text, const char* original) {
    return original == nullptr ? nullptr : text.c_str();
}

// Copies the wide name buffer back into the record's, in the ANSI code page, within its size.
void TakeChosenNames(const std::vector<wchar_t>& names, OPENFILENAMEA& record) {
    const std::size_t length = DoubleNulListLength(names.data(), names.size());
    const std::wstring_view used(names.data(), length);
    const std::string ansi = Narrow(used, CP_ACP).value_or(std::string());
    const std::size_t capacity = record.nMaxFile;
    if (ansi.empty() || ansi.size() > capacity) {
        std::fill_n(record.lpstrFile, capacity > 0 ? 1 : 0, '\0');
        return;
    }
    std::copy(ansi.begin(), ansi.end(), record.lpstrFile);
}

} // namespace

void SetOwnWindowText(HWND window, const std::string& text) {
    if (IsAscii(text)) {
        SetWindowTextA(window, text.c_str());
        return;
    }
    StoreOwnCaption(window, text);
}

void StoreOwnCaption(HWND window, const std::string& caption) {
    if (IsAscii(caption)) {
        return;
    }
    // Sent to the window's own ...A procedure the text would pass through the ANSI code page;
    // the default processing stores it as it is, and the control draws it from there.
    const std::wstring wide = DecodeOwnText(caption);
    DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    InvalidateRect(window, nullptr, TRUE);
}

std::string OwnWindowText(HWND window, const std::string& lastSet) {
    // GetWindowTextW would ask the window's own ...A procedure, which answers in the ANSI code
    // page; the text as the window holds it is read directly.
    std::wstring text(256, L'\0');
    int copied = 0;
    while ((copied = InternalGetWindowText(window, text.data(), static_cast<int>(text.size()))) >=
           static_cast<int>(text.size()) - 1) {
        text.resize(text.size() * 2);
    }
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    // Both UTF-8 and Windows-1251 bytes may stand for the same letters: the text's own bytes,
    // while the window still holds what they say.
    return DecodeOwnText(lastSet) == text ? lastSet : EncodeOwnText(text);
}

int ShowOwnMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    const std::wstring wideText = DecodeOwnText(RecordText(text));
    const std::wstring wideCaption = DecodeOwnText(RecordText(caption));
    return MessageBoxW(owner, wideText.c_str(), WideOrNull(wideCaption, caption), type);
}

BOOL RunOwnFileDialog(OPENFILENAMEA& record, bool open) {
    const std::size_t filterLength =
        record.lpstrFilter == nullptr ? 0 : DoubleNulListLength(record.lpstrFilter, SIZE_MAX);
    const std::wstring filter = DecodeOwnText(std::string_view(record.lpstrFilter, filterLength));
    const std::wstring title = DecodeOwnText(RecordText(record.lpstrTitle));
    const std::wstring initialDir = DecodeAnsi(RecordText(record.lpstrInitialDir));
    const std::wstring defaultExtension = DecodeAnsi(RecordText(record.lpstrDefExt));
    const std::string_view previous(
        record.lpstrFile, record.lpstrFile == nullptr ? 0 : std::strlen(record.lpstrFile));
    const std::wstring previousWide = DecodeAnsi(previous);
    // One more character than the record's buffer, so the name always ends with a NUL.
    std::vector<wchar_t> names(static_cast<std::size_t>(record.nMaxFile) + 1, L'\0');
    std::copy_n(previousWide.begin(), std::min(previousWide.size(), names.size() - 1),
                names.begin());

    OPENFILENAMEW wide{};
    wide.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
    wide.hwndOwner = record.hwndOwner;
    wide.hInstance = record.hInstance;
    wide.lpstrFilter = WideOrNull(filter, record.lpstrFilter);
    wide.nFilterIndex = record.nFilterIndex;
    wide.lpstrFile = names.data();
    wide.nMaxFile = record.nMaxFile;
    wide.lpstrInitialDir = WideOrNull(initialDir, record.lpstrInitialDir);
    wide.lpstrTitle = WideOrNull(title, record.lpstrTitle);
    wide.lpstrDefExt = WideOrNull(defaultExtension, record.lpstrDefExt);
    wide.lCustData = record.lCustData;
    wide.Flags = record.Flags;

    const BOOL chosen = open ? GetOpenFileNameW(&wide) : GetSaveFileNameW(&wide);
    record.nFilterIndex = wide.nFilterIndex;
    record.Flags = wide.Flags;
    if (chosen) {
        TakeChosenNames(names, record);
    }
    return chosen;
}
