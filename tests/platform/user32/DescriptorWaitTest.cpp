// The program's own descriptors in the GUI thread's wait (platform/descriptor_wait.h): a
// descriptor that becomes readable ends the wait and its handler runs on the waiting thread;
// one no longer watched is left alone.

#include "platform/descriptor_wait.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

struct Pipe {
    int Read = -1;
    int Write = -1;
    Pipe() {
        int ends[2];
        EXPECT_EQ(pipe(ends), 0);
        Read = ends[0];
        Write = ends[1];
    }
    ~Pipe() {
        close(Read);
        close(Write);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
};

struct Reader {
    int Fd = -1;
    int Calls = 0;
    std::thread::id Thread;
};

// Takes the byte, so that the descriptor is quiet again, and ends the loop.
void ReadAndQuit(void* context) {
    auto& reader = *static_cast<Reader*>(context);
    char byte = 0;
    EXPECT_EQ(read(reader.Fd, &byte, 1), 1);
    ++reader.Calls;
    reader.Thread = std::this_thread::get_id();
    PostQuitMessage(0);
}

bool QuitRetrieved() {
    MSG msg{};
    return PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE && msg.message == WM_QUIT;
}

class DescriptorWaitTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        testdriver::UseRealClock();
        reader.Fd = pipe.Read;
    }
    void TearDown() override {
        posix::UnwatchDescriptor(pipe.Read);
        testdriver::Reset();
    }
    Pipe pipe;
    Reader reader;
};

TEST_F(DescriptorWaitTest, AWriteFromAnotherThreadEndsTheWaitAndRunsTheHandlerHere) {
    ASSERT_TRUE(posix::WatchDescriptor(pipe.Read, POLLIN, &ReadAndQuit, &reader));
    // Watching again changes the events and handler, it does not add a second watch.
    ASSERT_TRUE(posix::WatchDescriptor(pipe.Read, POLLIN, &ReadAndQuit, &reader));
    // A timer far off ends the wait should the descriptor not, so that a fault fails, not hangs.
    ASSERT_NE(SetTimer(nullptr, 0, 2000, nullptr), 0u);
    const auto start = std::chrono::steady_clock::now();
    std::thread writer([fd = pipe.Write] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(write(fd, "x", 1), 1);
    });
    WaitMessage();
    writer.join();
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(QuitRetrieved());
    EXPECT_EQ(reader.Calls, 1);
    EXPECT_EQ(reader.Thread, std::this_thread::get_id());
    EXPECT_LT(elapsed, 0.5) << "no timer is due: only the descriptor ended the wait";
}

TEST_F(DescriptorWaitTest, ADescriptorNoLongerWatchedIsLeftAlone) {
    ASSERT_TRUE(posix::WatchDescriptor(pipe.Read, POLLIN, &ReadAndQuit, &reader));
    posix::UnwatchDescriptor(pipe.Read);
    ASSERT_EQ(write(pipe.Write, "x", 1), 1);
    EXPECT_FALSE(QuitRetrieved());
    EXPECT_EQ(reader.Calls, 0);
    pollfd still{pipe.Read, POLLIN, 0};
    EXPECT_EQ(poll(&still, 1, 0), 1) << "the byte was not taken";
}

TEST_F(DescriptorWaitTest, ADescriptorThatCannotBeWatchedIsRefused) {
    EXPECT_FALSE(posix::WatchDescriptor(-1, POLLIN, &ReadAndQuit, &reader));
}

} // namespace
