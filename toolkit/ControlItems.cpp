#include "toolkit/TControl.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "toolkit/WindowProc.h"

// The list operations: each sends the message its kind's descriptor names, or falls back to
// what a kind without that message can do.

namespace {

// LB_ERR and the like arrive as negative results.
std::int32_t AsInt(LRESULT result) {
    return static_cast<std::int32_t>(result);
}

WPARAM IndexParam(std::int32_t index) {
    return static_cast<WPARAM>(static_cast<LPARAM>(index));
}

LPARAM TextParam(const std::string& text) {
    return reinterpret_cast<LPARAM>(text.c_str());
}

} // namespace

void TControl::ClearItems() {
    if (Kind.ClearProc != nullptr) {
        Kind.ClearProc(this);
    }
}

std::int32_t TControl::ItemCount() {
    if (Kind.CountMsg == 0) {
        return 0;
    }
    return AsInt(SendToControl(this, Kind.CountMsg, 0, 0));
}

// The buffer's first 16-bit word tells text kinds how much room it has.
std::string TControl::ItemAt(std::int32_t index) {
    if (Kind.TextLenMsg == 0 || Kind.GetTextMsg == 0) {
        return {};
    }
    const std::int32_t length = AsInt(SendToControl(this, Kind.TextLenMsg, IndexParam(index), 0));
    if (length <= 0) {
        return {};
    }
    const auto size = static_cast<std::size_t>(length);
    std::vector<char> buffer(size + 4, '\0');
    const auto room = static_cast<std::uint16_t>(size + 1);
    std::memcpy(buffer.data(), &room, sizeof room);
    SendToControl(this, Kind.GetTextMsg, IndexParam(index),
                  reinterpret_cast<LPARAM>(buffer.data()));
    // The item ends at its length, or earlier at a zero byte.
    const char* begin = buffer.data();
    return std::string(begin, std::find(begin, begin + size, '\0'));
}

std::int32_t TControl::AddItem(std::string_view text) {
    const std::string item(text.substr(0, text.find('\0')));
    if (Kind.AddMsg != 0) {
        const std::int32_t index = AsInt(SendToControl(this, Kind.AddMsg, 0, TextParam(item)));
        if (ItemCount() == 1) {
            SetSelected(0, true);
        }
        return index;
    }
    if (Kind.AddProc != nullptr) {
        Kind.AddProc(this, item);
    } else {
        AssignText(WindowText() + item);
    }
    return 0;
}

std::int32_t TControl::InsertItem(std::int32_t index, std::string_view text) {
    if (Kind.InsertMsg == 0) {
        return -1;
    }
    const std::string item(text.substr(0, text.find('\0')));
    return AsInt(SendToControl(this, Kind.InsertMsg, IndexParam(index), TextParam(item)));
}

std::int32_t TControl::CurrentIndex() {
    if (Kind.GetCurMsg == 0) {
        return StoredIndex;
    }
    return AsInt(SendToControl(this, Kind.GetCurMsg, 0, 0));
}

void TControl::SetCurrentIndex(std::int32_t index) {
    if (Kind.SetCurMsg == 0) {
        SetSelected(index, true);
        return;
    }
    SendToControl(this, Kind.SetCurMsg, IndexParam(index), 0);
}

void TControl::SetSelected(std::int32_t index, bool selected) {
    if (Kind.SetSelMsg != 0) {
        SendToControl(this, Kind.SetSelMsg, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    } else if (Kind.SetCurMsg != 0) {
        SendToControl(this, Kind.SetCurMsg, IndexParam(index), 0);
    } else if (Kind.SetCurAltMsg != 0) {
        SendToControl(this, Kind.SetCurAltMsg, IndexParam(index), static_cast<LPARAM>(index));
    } else if (Kind.SetCurRangeMsg != 0) {
        std::int32_t range[2] = {index, index};
        SendToControl(this, Kind.SetCurRangeMsg, 0, reinterpret_cast<LPARAM>(range));
    } else {
        StoredIndex = index;
        Invalidate();
    }
}
