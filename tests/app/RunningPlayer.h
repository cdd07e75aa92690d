#pragma once

// A test fixture: the whole player, built and started as the main routine does; closed and torn
// down after each test.

#include "app/TClassMainForm_8B54EB0.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class TZuLabel;

class RunningPlayer : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Asks the main window to close and runs the message loop until it has.
    void Close();

    static std::string Text(const TZuLabel* label);
    // The read-outs as shown: minutes, colon and seconds.
    std::string Duration() const;
    std::string Position() const;

    std::unique_ptr<TClassMainForm_8B54EB0> player;
};
