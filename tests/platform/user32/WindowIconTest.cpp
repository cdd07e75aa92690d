// The program icon: LoadIconA finds "ICON0" without any set-up, and WM_SETICON on a top-level
// window tells the display, which then reads the new icon back.

#include "platform/posix/display/display.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Reads the window's big icon every time it is told about a top-level window.
class IconReadingDisplay : public posix::Display {
public:
    explicit IconReadingDisplay(std::vector<HICON>* seen) : seen_(seen) {}
    int ScreenWidth() const override { return 800; }
    int ScreenHeight() const override { return 600; }
    void TopLevelChanged(const posix::TopLevelState& state) override {
        seen_->push_back(
            reinterpret_cast<HICON>(SendMessageA(state.Window, WM_GETICON, ICON_BIG, 0)));
    }
    void TopLevelDestroyed(HWND) override {}
    void Wait(int, int) override {}
    void DispatchNativeEvents() override {}

private:
    std::vector<HICON>* seen_;
};

class WindowIconTest : public testing::Test {
protected:
    void SetUp() override { testdriver::Reset(); }
    void TearDown() override { testdriver::Reset(); }
};

TEST_F(WindowIconTest, ProgramIconLoadsWithoutSetUp) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), "ICON0"), icon) << "loaded once, shared";
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), "ICON1"), nullptr);
}

TEST_F(WindowIconTest, SettingTheIconTellsTheDisplay) {
    std::vector<HICON> seen;
    posix::UseDisplay(std::make_unique<IconReadingDisplay>(&seen));
    const HWND window = CreateWindowExA(0, "STATIC", "top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                        nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    seen.clear();
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ASSERT_FALSE(seen.empty()) << "the display heard of the change";
    EXPECT_EQ(seen.back(), icon);

    const HWND child =
        CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    seen.clear();
    SendMessageA(child, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    EXPECT_TRUE(seen.empty()) << "child windows have no native window";
}

} // namespace
