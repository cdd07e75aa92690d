// What the built-in message rules ask of the system, read from the test driver's record of
// API calls: quit requests and the commands sent back to the controls (POSIX only).

#include <string>
#include <vector>

#include "platform/testing.h"
#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/WindowProc.h"

namespace {

using testdriver::ApiCall;
using testdriver::ApiFamily;

int CountCalls(const char* function) {
    int count = 0;
    for (const ApiCall& call : testdriver::RecordedCalls()) {
        count += call.Function == function ? 1 : 0;
    }
    return count;
}

class BuiltInRulesCallsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        BuildForm();
    }
};

TEST_F(BuiltInRulesCallsTest, ClosingTheMainFormAsksForQuitTwiceAndKeepsTheWindows) {
    testdriver::Record(ApiFamily::Messages);
    EXPECT_EQ(SendMessageA(form->Handle, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(CountCalls("PostQuitMessage"), 2) << "once for the application, once for the form";
    EXPECT_TRUE(IsWindow(form->Handle));
    EXPECT_TRUE(IsWindow(app->Handle));
    EXPECT_EQ(testdriver::PumpUntilIdle(), std::optional<int>(0));
}

bool refuse = false;
int closeRequests = 0;

void AskClose(void*, TObj*, bool& allow) {
    ++closeRequests;
    allow = !refuse;
}

TEST_F(BuiltInRulesCallsTest, ACloseRequestDecidesWhetherTheFormCloses) {
    struct Case {
        bool loopRunning;
        bool refused;
        int expectedQuits;
        bool requestKept;
    };
    const Case cases[] = {
        {true, true, 0, true},
        {false, true, 0, false},
        {true, false, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.loopRunning ? "loop, " : "no loop, ") +
                     (c.refused ? "refused" : "allowed"));
        testdriver::Record(ApiFamily::Messages);
        testdriver::ClearRecordedCalls();
        LoopRunning = c.loopRunning;
        refuse = c.refused;
        closeRequests = 0;
        form->CloseRequest = {&AskClose, nullptr};
        SendMessageA(form->Handle, WM_CLOSE, 0, 0);
        EXPECT_EQ(closeRequests, 1);
        EXPECT_EQ(CountCalls("PostQuitMessage"), c.expectedQuits);
        EXPECT_EQ(form->CloseRequest.IsSet(), c.requestKept);
        testdriver::PumpUntilIdle();
    }
}

TEST_F(BuiltInRulesCallsTest, CommandsOfToolkitControlsGoBackToThemAndOthersAreLeftAlone) {
    HWND foreign = CreateWindowExA(0, "BUTTON", "foreign", WS_CHILD | WS_VISIBLE, 300, 300, 50, 20,
                                   form->Handle, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    testdriver::Record(ApiFamily::Messages);
    SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(first->ControlId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(first->Handle));
    SendMessageA(form->Handle, WM_COMMAND, MAKEWPARAM(99, BN_CLICKED),
                 reinterpret_cast<LPARAM>(foreign));
    std::vector<HWND> reflectedTo;
    for (const ApiCall& call : testdriver::RecordedCalls()) {
        if (call.Function == "SendMessageA" && call.Values.size() >= 2 &&
            call.Values[1] == MsgReflectedCommand) {
            reflectedTo.push_back(reinterpret_cast<HWND>(call.Values[0]));
        }
    }
    EXPECT_EQ(reflectedTo, std::vector<HWND>{first->Handle});
}

} // namespace
