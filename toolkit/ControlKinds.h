#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "toolkit/TControl.h"

// The kinds of child control, as constant data: what the generic list and text operations
// send to each, which notification codes raise which event, how text alignment and
// auto-sizing change the style and size.

// The descriptor of a control made without one: clearing empties its text.
extern const TKindDescriptor DefaultKind;
extern const TKindDescriptor ListBoxKind;
extern const TKindDescriptor ButtonKind;
extern const TKindDescriptor StaticKind;

// Base styles of the three kinds.
constexpr DWORD ListBoxBaseStyle = 0x50A10001; // child, visible, border, vscroll, tab stop, notify
constexpr DWORD ButtonBaseStyle = 0x50011000;  // child, visible, tab stop, push-like
constexpr DWORD LabelBaseStyle = 0x5000018C;   // child, visible, notify, no prefix, no word wrap

// One entry per list-box option bit 0..11: an entry that is not negative is added to the
// style when its bit is set; a negative one is complemented and added when its bit is clear.
constexpr int ListBoxOptionCount = 12;
extern const std::int32_t ListBoxOptionTable[ListBoxOptionCount];

// The style bits the list-box options stand for.
DWORD ListBoxOptionStyle(std::uint32_t options);
