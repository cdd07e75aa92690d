#pragma once

// The system colour table's state, for the test driver.

namespace posix {

// Puts back the classic colours that SetSysColors may have changed.
void RestoreClassicColors();

} // namespace posix
