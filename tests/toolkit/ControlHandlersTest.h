#pragma once

// The fixture of the tests of the toolkit's message handlers: the player's form, and a key
// event that records the keys it sees and replaces them.

#include <cstdint>
#include <vector>

#include "tests/toolkit/WindowTestSupport.h"

class ControlHandlersTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        BuildForm();
    }

    void Notify(TControl* control, int code) {
        SendMessageA(form->Handle, WM_COMMAND,
                     MAKEWPARAM(static_cast<WORD>(control->ControlId), static_cast<WORD>(code)),
                     reinterpret_cast<LPARAM>(control->Handle));
    }
};

inline std::uint32_t keyReplacement = 0;
inline std::vector<std::uint32_t> keysSeen;

inline void ReplaceKey(void*, TObj*, std::uint32_t& key, std::uint32_t) {
    keysSeen.push_back(key);
    key = keyReplacement;
}
