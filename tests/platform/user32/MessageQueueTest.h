#pragma once

// The fixture of the message queue tests: a hidden popup whose messages are recorded, and a
// way to take every message the queue holds without dispatching it.

#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <vector>

class MessageQueueTest : public testing::Test {
protected:
    void SetUp() override {
        testsession::Reset();
        sequence::RegisterRecordingClass();
        window = CreateWindowExA(0, sequence::RecordingClass, "", WS_POPUP, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        sequence::Clear();
    }
    void TearDown() override { testsession::Reset(); }

    // Every message retrievable now, taken with PM_REMOVE and not dispatched.
    static std::vector<UINT> Drain() {
        std::vector<UINT> messages;
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            messages.push_back(msg.message);
            if (msg.message == WM_QUIT) {
                break;
            }
            if (msg.message == WM_PAINT) {
                ValidateRect(msg.hwnd, nullptr);
            }
        }
        return messages;
    }

    HWND window = nullptr;
};
