// Mouse event handlers of controls, reached by input through the test driver (POSIX only).

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"

namespace {

using ControlMouseEventTest = ControlTest;

TEST_F(ControlMouseEventTest, MouseEventSettersAttachTheirHandlerOnce) {
    static int downs = 0;
    static int button = 0;
    downs = 0;
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, "press");
    label->SetVisible(true);
    ASSERT_NE(label->GetHandle(), nullptr);
    const std::int32_t before = label->AttachedHandlers->Count();
    const TMouseEvent event{[](void*, TObj*, MouseEventData& data) {
                                ++downs;
                                button = data.Button;
                            },
                            nullptr};
    label->SetMouseDownEvent(event);
    label->SetMouseUpEvent({});
    label->SetMouseDownEvent(event);
    EXPECT_EQ(label->AttachedHandlers->Count(), before + 1);
    testdriver::Click(label->Handle, 3, 3);
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(button, 1);
}

} // namespace
