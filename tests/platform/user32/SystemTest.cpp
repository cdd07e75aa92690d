#include "platform/posix/kernel32/program_resources.h"
#include "platform/posix/user32/icons.h"
#include "platform/testing.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

class SystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        posix::RegisterProgramResources();
        received.clear();
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = &Recorder;
        wndClass.hInstance = GetModuleHandleA(nullptr);
        wndClass.lpszClassName = "SystemTestWindow";
        ASSERT_NE(RegisterClassA(&wndClass), 0);
    }

    static HWND MakeWindow(DWORD style, HWND parent = nullptr) {
        return CreateWindowExA(0, "SystemTestWindow", "", style, 10, 10, 200, 100, parent, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }

    static std::vector<HWND> WindowsThatReceived(UINT message) {
        std::vector<HWND> windows;
        for (const auto& [window, seen] : received) {
            if (seen == message) {
                windows.push_back(window);
            }
        }
        return windows;
    }

    static LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        received.emplace_back(window, message);
        return DefWindowProcA(window, message, wParam, lParam);
    }

    static inline std::vector<std::pair<HWND, UINT>> received;
};

// ---------------------------------------------------------------------------------------
// Colours
// ---------------------------------------------------------------------------------------

// The toolkit's default colours resolve through these entries.
TEST_F(SystemTest, ClassicColoursBackTheToolkitDefaults) {
    const std::pair<int, DWORD> cases[] = {
        {COLOR_BTNFACE, 0xC0C0C0},
        {COLOR_WINDOW, 0xFFFFFF},
        {COLOR_WINDOWTEXT, 0x000000},
        {COLOR_HIGHLIGHT, 0x800000},
        {COLOR_HIGHLIGHTTEXT, 0xFFFFFF},
        {COLOR_BTNSHADOW, 0x808080},
        {COLOR_BTNHIGHLIGHT, 0xFFFFFF},
        {COLOR_GRAYTEXT, 0x808080},
        {COLOR_INFOBK, 0xE1FFFF},
        {-1, 0},
        {31, 0},
        {0x7FFFFFFF, 0},
    };
    for (const auto& [index, colour] : cases) {
        EXPECT_EQ(GetSysColor(index), colour) << index;
    }
}

TEST_F(SystemTest, SetSysColorsChangesColoursAndTellsTopLevelWindows) {
    const HWND first = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HWND second = MakeWindow(WS_POPUP | WS_VISIBLE);
    const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, first);
    ASSERT_NE(child, nullptr);
    received.clear();

    const int indexes[] = {COLOR_BTNFACE, COLOR_WINDOW};
    const COLORREF colours[] = {0x123456, 0xABCDEF};
    ASSERT_TRUE(SetSysColors(2, indexes, colours));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0x123456u);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0xABCDEFu);
    std::vector<HWND> told = WindowsThatReceived(WM_SYSCOLORCHANGE);
    std::sort(told.begin(), told.end());
    std::vector<HWND> expected{first, second};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(told, expected);

    testdriver::Reset();
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
}

TEST_F(SystemTest, SetSysColorsWithABadIndexChangesNothing) {
    MakeWindow(WS_OVERLAPPEDWINDOW);
    received.clear();
    const int indexes[] = {COLOR_BTNFACE, 31};
    const COLORREF colours[] = {0x123456, 0x654321};
    EXPECT_FALSE(SetSysColors(2, indexes, colours));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetSysColors(1, nullptr, colours));
    EXPECT_FALSE(SetSysColors(-1, indexes, colours));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), 0xC0C0C0u);
    EXPECT_TRUE(WindowsThatReceived(WM_SYSCOLORCHANGE).empty());
}

// ---------------------------------------------------------------------------------------
// System menu
// ---------------------------------------------------------------------------------------

std::vector<UINT> ItemIds(HMENU menu) {
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        ids.push_back(GetMenuItemID(menu, i));
    }
    return ids;
}

const std::vector<UINT> standardIds = {SC_RESTORE,  SC_MOVE, SC_SIZE, SC_MINIMIZE,
                                       SC_MAXIMIZE, 0,       SC_CLOSE};

TEST_F(SystemTest, EachWindowHasItsOwnCopyOfTheStandardSystemMenu) {
    const HWND first = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HWND second = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HMENU menu = GetSystemMenu(first, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetSystemMenu(first, FALSE), menu);
    EXPECT_EQ(ItemIds(menu), standardIds);
    EXPECT_EQ(GetMenuState(menu, 5, MF_BYPOSITION), MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), MF_ENABLED);

    const HMENU other = GetSystemMenu(second, FALSE);
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other, menu);
    ASSERT_TRUE(DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND));
    EXPECT_EQ(ItemIds(other), standardIds);
}

// The application window trims its system menu this way.
TEST_F(SystemTest, TrimmingTheMenuByCommandAndGrayingRestore) {
    const HMENU menu = GetSystemMenu(MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU), FALSE);
    for (const UINT command : {SC_MAXIMIZE, SC_MOVE, SC_SIZE}) {
        EXPECT_TRUE(DeleteMenu(menu, command, MF_BYCOMMAND)) << command;
    }
    EXPECT_EQ(EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED), BOOL(MF_ENABLED));
    EXPECT_EQ(ItemIds(menu), (std::vector<UINT>{SC_RESTORE, SC_MINIMIZE, 0, SC_CLOSE}));
    EXPECT_EQ(GetMenuState(menu, SC_RESTORE, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), MF_GRAYED);
}

TEST_F(SystemTest, EnableMenuItemAnswersThePreviousState) {
    const HMENU menu = GetSystemMenu(MakeWindow(WS_OVERLAPPEDWINDOW), FALSE);
    struct Step {
        UINT Enable;
        BOOL Previous;
        UINT StateAfter;
    };
    const Step steps[] = {
        {MF_GRAYED, MF_ENABLED, MF_GRAYED},
        {MF_DISABLED, MF_GRAYED, MF_DISABLED},
        {MF_GRAYED | MF_DISABLED, MF_DISABLED, MF_GRAYED | MF_DISABLED},
        {MF_ENABLED, MF_GRAYED | MF_DISABLED, MF_ENABLED},
        {MF_BYPOSITION | MF_GRAYED, MF_ENABLED, MF_GRAYED},
    };
    for (const Step& step : steps) {
        const UINT item = (step.Enable & MF_BYPOSITION) != 0 ? 6 : UINT(SC_CLOSE);
        EXPECT_EQ(EnableMenuItem(menu, item, step.Enable), step.Previous) << step.Enable;
        EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), step.StateAfter) << step.Enable;
    }
}

TEST_F(SystemTest, MissingItemsAndBadHandlesFailWithoutHarm) {
    const HMENU menu = GetSystemMenu(MakeWindow(WS_OVERLAPPEDWINDOW), FALSE);
    SetLastError(0);
    EXPECT_FALSE(DeleteMenu(menu, 0x1234, MF_BYCOMMAND));
    EXPECT_EQ(GetLastError(), ERROR_MENU_ITEM_NOT_FOUND);
    EXPECT_FALSE(DeleteMenu(menu, 7, MF_BYPOSITION));
    EXPECT_EQ(EnableMenuItem(menu, 0x1234, MF_GRAYED), -1);
    EXPECT_EQ(GetMenuState(menu, 7, MF_BYPOSITION), UINT(-1));
    EXPECT_EQ(GetMenuItemID(menu, 7), UINT(-1));
    EXPECT_EQ(GetMenuItemID(menu, -1), UINT(-1));
    EXPECT_EQ(ItemIds(menu), standardIds);

    const HMENU bogus = reinterpret_cast<HMENU>(0x4321);
    SetLastError(0);
    EXPECT_EQ(GetMenuItemCount(bogus), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
    EXPECT_FALSE(DeleteMenu(bogus, 0, MF_BYPOSITION));
    EXPECT_EQ(EnableMenuItem(bogus, SC_CLOSE, MF_GRAYED), -1);
    EXPECT_EQ(GetMenuState(bogus, SC_CLOSE, MF_BYCOMMAND), UINT(-1));

    SetLastError(0);
    EXPECT_EQ(GetSystemMenu(reinterpret_cast<HWND>(0x4321), FALSE), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(SystemTest, DeleteByPositionShiftsTheRest) {
    const HMENU menu = GetSystemMenu(MakeWindow(WS_OVERLAPPEDWINDOW), FALSE);
    EXPECT_TRUE(DeleteMenu(menu, 5, MF_BYPOSITION));
    EXPECT_TRUE(DeleteMenu(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(ItemIds(menu),
              (std::vector<UINT>{SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE}));
}

TEST_F(SystemTest, RevertDiscardsTheCopyAndTheNextRequestIsFresh) {
    const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HMENU trimmed = GetSystemMenu(window, FALSE);
    ASSERT_TRUE(DeleteMenu(trimmed, SC_SIZE, MF_BYCOMMAND));
    EXPECT_EQ(GetSystemMenu(window, TRUE), nullptr);
    EXPECT_EQ(GetMenuItemCount(trimmed), -1);
    const HMENU fresh = GetSystemMenu(window, FALSE);
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, trimmed);
    EXPECT_EQ(ItemIds(fresh), standardIds);
}

TEST_F(SystemTest, DestroyingTheWindowInvalidatesItsMenu) {
    const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW);
    const HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_EQ(GetMenuItemCount(menu), 7);
    ASSERT_TRUE(DestroyWindow(window));
    SetLastError(0);
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
}

// ---------------------------------------------------------------------------------------
// Icons and cursors
// ---------------------------------------------------------------------------------------

std::uint32_t PixelAt(const posix::IconPicture& picture, int x, int y) {
    return picture.Pixels.at(std::size_t(y) * std::size_t(picture.Width) + std::size_t(x));
}

TEST_F(SystemTest, ProgramIconLoadsOnceAtTheSystemIconSize) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), "icon0"), icon);
    const std::optional<posix::IconPicture> picture = posix::PictureOfIcon(icon);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Width, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(picture->Height, GetSystemMetrics(SM_CYICON));
    ASSERT_EQ(picture->Pixels.size(), 32u * 32u);
    // Rows are turned top-down and BGRA becomes 0xAARRGGBB: the rust body above, the dark
    // tail band below, clear corners.
    EXPECT_EQ(PixelAt(*picture, 16, 13), 0xFFB8622Au);
    EXPECT_EQ(PixelAt(*picture, 16, 28), 0xFF281E19u);
    EXPECT_EQ(PixelAt(*picture, 0, 0) >> 24, 0u);
    EXPECT_EQ(PixelAt(*picture, 31, 31) >> 24, 0u);
}

TEST_F(SystemTest, LoadingWhatDoesNotExistAnswersNull) {
    struct Case {
        HINSTANCE Instance;
        LPCSTR Name;
        bool Cursor;
    };
    const Case cases[] = {
        {GetModuleHandleA(nullptr), "MAINICON", false},
        {nullptr, "ICON0", false},
        {nullptr, MAKEINTRESOURCEA(1), false},
        {nullptr, MAKEINTRESOURCEA(32519), false},
        {GetModuleHandleA("user32"), "ICON0", false},
        {GetModuleHandleA(nullptr), IDC_ARROW, true},
        {nullptr, MAKEINTRESOURCEA(32647), true},
        {nullptr, "ARROW", true},
    };
    for (const Case& c : cases) {
        const HANDLE loaded =
            c.Cursor ? LoadCursorA(c.Instance, c.Name) : LoadIconA(c.Instance, c.Name);
        EXPECT_EQ(loaded, nullptr);
    }
}

TEST_F(SystemTest, StockPicturesAreSharedAndDistinct) {
    const HICON application = LoadIconA(nullptr, IDI_APPLICATION);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
    ASSERT_NE(application, nullptr);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(beam, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, IDI_APPLICATION), application);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow);
    EXPECT_NE(arrow, beam);
    EXPECT_NE(HICON(arrow), application); // the same number names different pictures
    EXPECT_NE(LoadIconA(nullptr, IDI_ERROR), application);
    EXPECT_TRUE(posix::PictureOfIcon(arrow)->IsCursor);
    EXPECT_EQ(posix::PictureOfIcon(beam)->StockId, 32513);
}

TEST_F(SystemTest, CopiesAreNewHandlesThatDestroyOnce) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    ASSERT_NE(icon, nullptr);
    const auto first = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, 0));
    const auto second = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 0, 0, 0));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, icon);
    EXPECT_NE(first, second);
    EXPECT_EQ(posix::PictureOfIcon(first)->Pixels, posix::PictureOfIcon(icon)->Pixels);

    EXPECT_TRUE(DestroyIcon(first));
    EXPECT_FALSE(posix::PictureOfIcon(first).has_value());
    SetLastError(0);
    EXPECT_FALSE(DestroyIcon(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    EXPECT_EQ(CopyImage(first, IMAGE_ICON, 0, 0, 0), nullptr);

    const auto copyOfCopy = static_cast<HICON>(CopyImage(second, IMAGE_ICON, 0, 0, 0));
    EXPECT_TRUE(DestroyIcon(second));
    EXPECT_TRUE(posix::PictureOfIcon(copyOfCopy).has_value());
    EXPECT_TRUE(DestroyIcon(copyOfCopy));
}

// Destroying a shared icon (the toolkit destroys whatever icon a window gives back) leaves it
// usable: the next load answers the same, living handle.
TEST_F(SystemTest, DestroyingASharedIconKeepsIt) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_TRUE(posix::PictureOfIcon(icon).has_value());
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), "ICON0"), icon);
}

TEST_F(SystemTest, CopyImageResizesAndRefusesWhatItCannotCopy) {
    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), "ICON0");
    const auto small = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(small, nullptr);
    const std::optional<posix::IconPicture> picture = posix::PictureOfIcon(small);
    EXPECT_EQ(picture->Width, 16);
    EXPECT_EQ(picture->Pixels.size(), 16u * 16u);
    EXPECT_EQ(PixelAt(*picture, 8, 14), 0xFF281E19u);
    EXPECT_TRUE(DestroyIcon(small));

    SetLastError(0);
    EXPECT_EQ(CopyImage(icon, IMAGE_BITMAP, 0, 0, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(CopyImage(icon, IMAGE_ICON, -1, 0, 0), nullptr);
    EXPECT_EQ(CopyImage(reinterpret_cast<HANDLE>(0x4321), IMAGE_ICON, 0, 0, 0), nullptr);
    EXPECT_EQ(CopyImage(nullptr, IMAGE_ICON, 0, 0, 0), nullptr);
}

TEST_F(SystemTest, CursorStartsAsTheArrowAndSetCursorAnswersThePrevious) {
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR beam = LoadCursorA(nullptr, IDC_IBEAM);
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_EQ(SetCursor(beam), arrow);
    EXPECT_EQ(GetCursor(), beam);
    EXPECT_EQ(SetCursor(nullptr), beam);
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x4321)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_CURSOR_HANDLE);
    EXPECT_EQ(GetCursor(), nullptr);

    const auto copy = static_cast<HCURSOR>(CopyImage(beam, IMAGE_CURSOR, 0, 0, 0));
    SetCursor(copy);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_EQ(GetCursor(), nullptr); // never a handle that no longer exists

    testdriver::Reset();
    EXPECT_EQ(GetCursor(), arrow);
}

} // namespace
