#pragma once

// The program's own resources: the icon group "ICON0" and its images.

namespace posix {

// Registers them in the resource table; calling it again changes nothing.
void RegisterProgramResources();

} // namespace posix
