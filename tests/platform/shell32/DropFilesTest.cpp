// Dropped files: SDL's drop events gathered into one WM_DROPFILES for the window that accepts
// files, the names and the point read back through DragQueryFileA and DragQueryPoint, and the
// text of a drop read as paths and file URIs.

#include "platform/posix/shell32/drop.h"
#include "platform/posix/display/sdl_drop.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr char DropClass[] = "DropTarget";
constexpr UINT AllFiles = 0xFFFFFFFF;

// The windows WM_DROPFILES reached, with the handle each got, in order.
struct Delivery {
    HWND Window;
    HDROP Drop;
};
std::vector<Delivery> deliveries;

LRESULT CALLBACK RecordDrops(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DROPFILES) {
        deliveries.push_back({window, reinterpret_cast<HDROP>(wParam)});
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

std::vector<std::string> Names(HDROP drop) {
    std::vector<std::string> names;
    const UINT count = DragQueryFileA(drop, AllFiles, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        name.resize(DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size())));
        names.push_back(name);
    }
    return names;
}

SDL_Event DropEvent(Uint32 type, const char* text = nullptr) {
    SDL_Event event{};
    event.drop.type = type;
    // The collector frees the text, as it frees SDL's own.
    event.drop.file = text != nullptr ? SDL_strdup(text) : nullptr;
    return event;
}

class DropFilesTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        deliveries.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &RecordDrops;
        windowClass.lpszClassName = DropClass;
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        form = CreateWindowExA(0, DropClass, "form", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(form, nullptr);
        child = CreateWindowExA(0, DropClass, "child", WS_CHILD | WS_VISIBLE, 10, 10, 100, 50, form,
                                nullptr, nullptr, nullptr);
        ASSERT_NE(child, nullptr);
        testdriver::PumpUntilIdle();
    }
    void TearDown() override {
        testdriver::Reset();
        deliveries.clear();
    }

    // A screen point inside the child, which lies over the form's client area.
    POINT OverChild() const {
        POINT point{20, 20};
        ClientToScreen(child, &point);
        return point;
    }

    void DropThroughSdl(HWND topLevel, POINT at, const std::vector<SDL_Event>& events) {
        posix::SdlDropCollector collector;
        for (const SDL_Event& event : events) {
            collector.Take(event, topLevel, at);
        }
        testdriver::PumpUntilIdle();
    }

    HWND form = nullptr;
    HWND child = nullptr;
};

TEST_F(DropFilesTest, ADropOfFilesAndAUriListIsOneMessageWithTheNamesInOrder) {
    DragAcceptFiles(form, TRUE);
    EXPECT_NE(GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    DropThroughSdl(form, OverChild(),
                   {DropEvent(SDL_DROPBEGIN), DropEvent(SDL_DROPFILE, "/music/one.mp3"),
                    DropEvent(SDL_DROPFILE, "/music/two three.wav"),
                    DropEvent(SDL_DROPTEXT, "file:///music/four%20five.flac\r\n"
                                            "file://localhost/music/six.ogg\r\n"),
                    DropEvent(SDL_DROPCOMPLETE)});

    // The child under the point takes no files; its parent does.
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].Window, form);
    const HDROP drop = deliveries[0].Drop;
    EXPECT_EQ(Names(drop), (std::vector<std::string>{"/music/one.mp3", "/music/two three.wav",
                                                     "/music/four five.flac", "/music/six.ogg"}));
    POINT point{};
    EXPECT_EQ(DragQueryPoint(drop, &point), TRUE);
    POINT expected = OverChild();
    ScreenToClient(form, &expected);
    EXPECT_EQ(point.x, expected.x);
    EXPECT_EQ(point.y, expected.y);

    DragFinish(drop);
    EXPECT_EQ(DragQueryFileA(drop, AllFiles, nullptr, 0), 0u);
}

TEST_F(DropFilesTest, NamesAreCutToTheBufferAndBadIndicesAndHandlesAnswerZero) {
    DragAcceptFiles(form, TRUE);
    ASSERT_TRUE(posix::PostDroppedFiles(form, OverChild(), {"/a/long-name.mp3"}));
    testdriver::PumpUntilIdle();
    ASSERT_EQ(deliveries.size(), 1u);
    const HDROP drop = deliveries[0].Drop;

    EXPECT_EQ(DragQueryFileA(drop, 0, nullptr, 0), 16u);
    char small[5] = {'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(DragQueryFileA(drop, 0, small, sizeof small), 4u);
    EXPECT_EQ(std::string(small), "/a/l");
    EXPECT_EQ(DragQueryFileA(drop, 0, small, 0), 0u);
    EXPECT_EQ(DragQueryFileA(drop, 1, small, sizeof small), 0u);
    EXPECT_EQ(DragQueryFileA(nullptr, AllFiles, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryPoint(nullptr, nullptr), FALSE);
    DragFinish(drop);
    DragFinish(drop);
}

TEST_F(DropFilesTest, WindowsThatDoNotAcceptFilesGetNothing) {
    DropThroughSdl(form, OverChild(),
                   {DropEvent(SDL_DROPBEGIN), DropEvent(SDL_DROPFILE, "/music/one.mp3"),
                    DropEvent(SDL_DROPCOMPLETE)});
    EXPECT_TRUE(deliveries.empty());

    DragAcceptFiles(form, TRUE);
    DragAcceptFiles(form, FALSE);
    EXPECT_EQ(GetWindowLongA(form, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    EXPECT_FALSE(posix::PostDroppedFiles(form, OverChild(), {"/music/one.mp3"}));
    EXPECT_FALSE(posix::PostDroppedFiles(nullptr, OverChild(), {"/music/one.mp3"}));
    testdriver::PumpUntilIdle();
    EXPECT_TRUE(deliveries.empty());
}

TEST_F(DropFilesTest, TheChildThatAcceptsFilesTakesTheDropOverIt) {
    DragAcceptFiles(form, TRUE);
    DragAcceptFiles(child, TRUE);
    DropThroughSdl(form, OverChild(), {DropEvent(SDL_DROPFILE, "/music/one.mp3")});
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].Window, child);
    EXPECT_EQ(Names(deliveries[0].Drop), std::vector<std::string>{"/music/one.mp3"});
}

TEST_F(DropFilesTest, ADropNoWindowWasNamedForGoesToTheWindowThatLastAcceptedFiles) {
    DragAcceptFiles(child, TRUE);
    DragAcceptFiles(form, TRUE);
    DropThroughSdl(nullptr, POINT{0, 0},
                   {DropEvent(SDL_DROPBEGIN), DropEvent(SDL_DROPTEXT, "/music/one.mp3\n"),
                    DropEvent(SDL_DROPCOMPLETE)});
    ASSERT_EQ(deliveries.size(), 1u);
    EXPECT_EQ(deliveries[0].Window, form);
    POINT point{};
    EXPECT_EQ(DragQueryPoint(deliveries[0].Drop, &point), FALSE) << "the point is off the client";
}

TEST_F(DropFilesTest, ADropWithoutNamesPostsNothing) {
    DragAcceptFiles(form, TRUE);
    DropThroughSdl(form, OverChild(),
                   {DropEvent(SDL_DROPBEGIN), DropEvent(SDL_DROPTEXT, "http://example.org/a.mp3"),
                    DropEvent(SDL_DROPCOMPLETE)});
    EXPECT_TRUE(deliveries.empty());
}

// A block holding a DROPFILES record with the given offset of the names, then the bytes.
HDROP Block(DWORD offset, BOOL wide, const std::string& bytes) {
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + bytes.size());
    auto* data = static_cast<char*>(GlobalLock(memory));
    DROPFILES record{};
    record.pFiles = offset;
    record.fWide = wide;
    std::memcpy(data, &record, sizeof record);
    std::memcpy(data + sizeof record, bytes.data(), bytes.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(DropBlocks, WideNamesAreReadAsUtf8AndMalformedBlocksGiveNoNamesBeyondTheirEnd) {
    testdriver::Reset();
    // "é.mp3", then U+1F3B5 as a surrogate pair, then a lone surrogate: UTF-16LE.
    const std::string wide("\xE9\0.\0m\0p\0\x33\0\0\0\x3C\xD8\xB5\xDF\0\0\x00\xD8\0\0\0\0", 24);
    const HDROP wideDrop = Block(sizeof(DROPFILES), TRUE, wide);
    EXPECT_EQ(Names(wideDrop),
              (std::vector<std::string>{"\xC3\xA9.mp3", "\xF0\x9F\x8E\xB5", "\xEF\xBF\xBD"}));
    DragFinish(wideDrop);

    const HDROP cutOff = Block(sizeof(DROPFILES), FALSE, std::string("whole\0cut", 9));
    EXPECT_EQ(Names(cutOff), std::vector<std::string>{"whole"});
    DragFinish(cutOff);

    const HDROP pastTheEnd = Block(1000, FALSE, std::string("a\0\0", 3));
    EXPECT_EQ(DragQueryFileA(pastTheEnd, AllFiles, nullptr, 0), 0u);
    DragFinish(pastTheEnd);
    const HDROP intoTheRecord = Block(4, FALSE, std::string("a\0\0", 3));
    EXPECT_EQ(DragQueryFileA(intoTheRecord, AllFiles, nullptr, 0), 0u);
    DragFinish(intoTheRecord);

    const HGLOBAL tooShort = GlobalAlloc(GHND, sizeof(DROPFILES) - 1);
    EXPECT_EQ(DragQueryFileA(static_cast<HDROP>(tooShort), AllFiles, nullptr, 0), 0u);
    GlobalFree(tooShort);
    int notABlock = 0;
    EXPECT_EQ(DragQueryFileA(reinterpret_cast<HDROP>(&notABlock), AllFiles, nullptr, 0), 0u);
    testdriver::Reset();
}

struct TextCase {
    const char* Text;
    std::vector<std::string> Paths;
};

TEST(DroppedText, PathsAndLocalFileUrisAreTakenAndEverythingElseLeftOut) {
    const TextCase cases[] = {
        {"/plain/path with blanks.mp3", {"/plain/path with blanks.mp3"}},
        {"file:///a%20b/%C3%A9t%c3%a9.mp3", {"/a b/\xC3\xA9t\xC3\xA9.mp3"}},
        {"FILE:///upper.wav", {"/upper.wav"}},
        {"file:/single-slash.wav", {"/single-slash.wav"}},
        {"file:///bad%zzescape%4", {"/bad%zzescape%4"}},
        {"# a comment\r\nfile:///one\r\n\r\nfile:///two\n", {"/one", "/two"}},
        {"file://otherhost/x.mp3\nhttp://example.org/y.mp3\nrelative.mp3", {}},
        {"file:///nul%00inside.mp3\nfile://localhost", {}},
        {"", {}},
    };
    EXPECT_EQ(posix::PathsOfDroppedText(std::string_view("/nul\0inside.mp3\n/kept.mp3", 25)),
              std::vector<std::string>{"/kept.mp3"});
    for (const TextCase& each : cases) {
        EXPECT_EQ(posix::PathsOfDroppedText(each.Text), each.Paths) << each.Text;
    }
}

} // namespace
