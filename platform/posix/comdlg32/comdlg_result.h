#pragma once

// How a file dialog hands its choice back through the OPENFILENAMEA record.

#include "platform/posix/comdlg32/comdlg_choice.h"
#include "platform/win32.h"

#include <cstddef>
#include <string>

namespace posix::comdlg {

// The bytes lpstrFile receives, final NULs included: the full path for one file; with
// OFN_ALLOWMULTISELECT the folder, then every name, each followed by a NUL, and one more NUL at
// the end (one file then gives its full path and two NULs).
std::string ResultText(const Selection& selection, bool listFormat);

// Writes the choice: lpstrFile, nFileOffset, nFileExtension and lpstrFileTitle (the name of a
// single file, left empty when it does not fit). When the text does not fit in nMaxFile
// characters, nothing of it is written but the size needed, in the first two bytes of
// lpstrFile, and false is answered.
bool WriteSelection(OPENFILENAMEA& ofn, const Selection& selection, bool listFormat);

} // namespace posix::comdlg
