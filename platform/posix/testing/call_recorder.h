#pragma once

// Recording of API calls for the test driver. Each recording function of the layer reports its
// calls here; they are kept only while the test driver records that family.

#include "platform/testing.h"

#include <initializer_list>
#include <string>

namespace posix {

// The call is kept when its family is being recorded (for messages: and the window is one of
// the chosen, or none was chosen).
void RecordCall(testdriver::ApiFamily family, const char* function,
                std::initializer_list<std::uintptr_t> values, std::string text = {});

void ResetRecording();

} // namespace posix
