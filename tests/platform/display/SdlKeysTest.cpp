#include "platform/posix/display/display.h"
#include "platform/posix/display/sdl_keys.h"
#include "platform/win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct KeyCase {
    SDL_Keycode Native;
    int Expected;
};

TEST(SdlKeys, NativeKeysMapToVirtualKeys) {
    const KeyCase cases[] = {
        {SDLK_a, 'A'},
        {SDLK_z, 'Z'},
        {SDLK_0, '0'},
        {SDLK_9, '9'},
        {SDLK_F1, VK_F1},
        {SDLK_F12, VK_F12},
        {SDLK_RETURN, VK_RETURN},
        {SDLK_KP_ENTER, VK_RETURN},
        {SDLK_ESCAPE, VK_ESCAPE},
        {SDLK_BACKSPACE, VK_BACK},
        {SDLK_TAB, VK_TAB},
        {SDLK_SPACE, VK_SPACE},
        {SDLK_LEFT, VK_LEFT},
        {SDLK_DOWN, VK_DOWN},
        {SDLK_PAGEUP, VK_PRIOR},
        {SDLK_PAGEDOWN, VK_NEXT},
        {SDLK_DELETE, VK_DELETE},
        {SDLK_LSHIFT, VK_SHIFT},
        {SDLK_RSHIFT, VK_SHIFT},
        {SDLK_RCTRL, VK_CONTROL},
        {SDLK_LALT, VK_MENU},
        {SDLK_SEMICOLON, VK_OEM_1},
        {SDLK_QUOTE, VK_OEM_7},
        {SDLK_KP_0, VK_NUMPAD0},
        {SDLK_KP_9, VK_NUMPAD9},
        {SDLK_KP_PLUS, VK_ADD},
        {SDLK_UNKNOWN, 0},
        {SDLK_F13, 0},
        {SDLK_AUDIOPLAY, 0},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(posix::VirtualKeyOfSdlKey(c.Native), c.Expected) << "native key " << c.Native;
    }
}

// Characters that key presses type already must not come a second time from text input.
TEST(SdlKeys, TextInputTypesOnlyWhatKeysDoNot) {
    const struct {
        char32_t Character;
        unsigned char Expected;
    } cases[] = {
        {U'a', 0},         {U'~', 0},         {U'\u0410', 0xC0}, {U'\u044F', 0xFF},
        {U'\u0451', 0xB8}, {U'\u20AC', 0x88}, {U'\u00E9', 0},    {U'\u4E2D', 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(posix::TextInputByte(c.Character), c.Expected)
            << "character " << static_cast<unsigned>(c.Character);
    }
}

TEST(SdlDisplay, WithoutADisplayNoneIsMadeAndTheReasonIsGiven) {
    const char* saved = std::getenv("DISPLAY");
    const std::string display = saved != nullptr ? saved : "";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    std::string error;
    EXPECT_EQ(posix::MakeSdlDisplay(&error), nullptr);
    EXPECT_FALSE(error.empty());
    if (saved != nullptr) {
        setenv("DISPLAY", display.c_str(), 1);
    }
}

} // namespace
