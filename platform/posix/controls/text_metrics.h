#pragma once

// Text sizes the controls use until the layer measures real fonts: one line of any font is
// FixedLineHeight pixels tall and an average character FixedCharWidth pixels wide.

namespace posix {

inline constexpr int FixedLineHeight = 16;
inline constexpr int FixedCharWidth = 6;

} // namespace posix
