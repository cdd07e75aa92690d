#pragma once

// The system window classes (BUTTON, STATIC, LISTBOX, EDIT, tooltips_class32), registered by
// the window manager on the first look-up of any class.

namespace posix {

// Registers every system class; the window manager calls it once.
void RegisterSystemClasses();

} // namespace posix
