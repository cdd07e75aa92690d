#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"

// Records every value it receives, in order.
class Probe {
public:
    void Receive(TData& value, std::uint16_t) { Values.push_back(value); }
    TZu_Event Point() { return MakeEvent<&Probe::Receive>(this, 0); }

    std::vector<TData> Values;
};

// Answers every read with a fixed value, counting the reads and keeping what it was handed.
class Provider {
public:
    explicit Provider(TData answer) : Answer(std::move(answer)) {}
    void Provide(TData& value, std::uint16_t) {
        Seen.push_back(value);
        value = Answer;
    }
    TZu_Event Point() { return MakeEvent<&Provider::Provide>(this, 0); }

    TData Answer;
    std::vector<TData> Seen;
};

// Every element test runs with links switched on, and switches them off again.
class LinkedElementTest : public ::testing::Test {
protected:
    void SetUp() override { DispatchOn(); }
    void TearDown() override { DispatchOff(); }

    // Fires a copy of `value` at `input`, as a source element would.
    static void Send(const TZu_Event& input, TData value) { Dispatch(input, value); }
};
