// The program's own texts keep their letters whatever the system's ANSI code page: Windows-1251
// captions and UTF-8 texts set on controls read back as the bytes given, and on Windows the
// system holds the letters themselves (the tests run under the C locale, code page 1252).

#include <gtest/gtest.h>

#include <string>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/TControl.h"

namespace {

// "траене:" in Windows-1251, as the player's duration label is captioned.
const std::string CaptionBytes = "\xF2\xF0\xE0\xE5\xED\xE5:";
// Letters outside both Windows-1251 and Windows-1252, in UTF-8.
const std::string Utf8Bytes = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";

class OwnTextTest : public ControlTest {};

TEST_F(OwnTextTest, CaptionsReadBackAsTheBytesGiven) {
    MakeAppAndForm();
    for (const std::string& text : {CaptionBytes, Utf8Bytes, std::string("Clear list")}) {
        TControl* label = MakeLabelControl(form, text);
        ASSERT_NE(label->GetHandle(), nullptr);
        EXPECT_EQ(label->WindowText(), text) << "made with " << text;
        label->AssignText("0");
        label->AssignText(text);
        EXPECT_EQ(label->WindowText(), text) << "set to " << text;
    }
}

#ifdef _WIN32
TEST_F(OwnTextTest, WindowsHoldsTheLettersOfCaptionsInAnyCodePage) {
    MakeAppAndForm();
    TControl* label = MakeLabelControl(form, CaptionBytes);
    // The text as the window holds it and the control draws it.
    wchar_t text[16] = {};
    InternalGetWindowText(label->GetHandle(), text, 16);
    EXPECT_EQ(std::wstring(text), L"\u0442\u0440\u0430\u0435\u043D\u0435:");
    label->AssignText(Utf8Bytes);
    InternalGetWindowText(label->GetHandle(), text, 16);
    EXPECT_EQ(std::wstring(text), L"caf\u00E9 \u65E5\u672C");
}
#endif

} // namespace
