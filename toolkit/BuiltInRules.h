#pragma once

#include "toolkit/WindowMessage.h"

// The control's own treatment of a message that no hook or handler took: the rule for its
// message number, or default processing. Answers the result.
LRESULT ApplyBuiltInRule(TControl* control, WindowMessage& message);
