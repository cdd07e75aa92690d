#include "app/InfoBox.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/testing.h"

namespace {

TEST(InfoBoxTest, ShowsTheTextAndCaptionWithOneOkButtonAndNoOwner) {
    testdriver::Reset();
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    testdriver::QueueMessageBoxAnswer(IDOK);

    EXPECT_TRUE(ShowInfoBox());

    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Function, "MessageBoxA");
    // Caption, line break, then the text in Windows-1251.
    EXPECT_EQ(calls[0].Text, "Zubrel Info\n\xD1\xE4\xE5\xEB\xE0\xED\xEE \xE2 Zubrel.");
    EXPECT_EQ(calls[0].Values, (std::vector<std::uintptr_t>{0, MB_OK}));
}

} // namespace
