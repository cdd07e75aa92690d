// Opens arbitrary bytes as a media file through MCI_OPEN and plays them briefly on the null
// sink under the virtual clock: a little from the start, then the last 200 ms to the end.
//
// Checked: a failed open leaves no device; the position never runs ahead of the clock; a
// seek to the start reads 0; a play run to its end stops with the position equal to the
// length (the player's end-of-play test).

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/winmm/mci.h"
#include "platform/win32.h"

namespace {

[[noreturn]] void Fail(const char* what, DWORD value) {
    std::fprintf(stderr, "%s (%u)\n", what, value);
    std::abort();
}

void RemoveInput();

// The input goes to a file of its own per process, removed at exit.
const std::string& InputPath() {
    static const std::string path = [] {
        std::atexit(RemoveInput);
        return (std::filesystem::temp_directory_path() / ("fuzz-media-" + std::to_string(getpid())))
            .string();
    }();
    return path;
}

void RemoveInput() {
    std::remove(InputPath().c_str());
}

DWORD_PTR Param(void* record) {
    return reinterpret_cast<DWORD_PTR>(record);
}

DWORD Status(MCIDEVICEID id, DWORD item) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    if (mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, Param(&parms)) != 0) {
        Fail("status refused", item);
    }
    return static_cast<DWORD>(parms.dwReturn);
}

void Send(MCIDEVICEID id, UINT command, DWORD flags, void* record) {
    MCIERROR result = mciSendCommandA(id, command, flags, Param(record));
    if (result != 0) {
        Fail("command refused", command);
    }
}

void Exercise(MCIDEVICEID id) {
    MCI_GENERIC_PARMS generic{};
    Send(id, MCI_PLAY, 0, &generic);
    posix::AdvanceVirtualClock(120);
    if (Status(id, MCI_STATUS_POSITION) > 120) {
        Fail("position ahead of the clock", Status(id, MCI_STATUS_POSITION));
    }
    Send(id, MCI_PAUSE, 0, &generic);
    Send(id, MCI_RESUME, 0, &generic);
    posix::AdvanceVirtualClock(30);
    Send(id, MCI_STOP, 0, &generic);
    MCI_SEEK_PARMS seek{};
    Send(id, MCI_SEEK, MCI_SEEK_TO_START, &seek);
    if (Status(id, MCI_STATUS_POSITION) != 0) {
        Fail("seek to start not at 0", Status(id, MCI_STATUS_POSITION));
    }

    DWORD length = Status(id, MCI_STATUS_LENGTH);
    MCI_PLAY_PARMS play{};
    play.dwFrom = length > 200 ? length - 200 : 0;
    Send(id, MCI_PLAY, MCI_FROM | MCI_WAIT, &play);
    if (Status(id, MCI_STATUS_MODE) != MCI_MODE_STOP) {
        Fail("still playing after a waiting play", Status(id, MCI_STATUS_MODE));
    }
    if (Status(id, MCI_STATUS_POSITION) != Status(id, MCI_STATUS_LENGTH)) {
        Fail("ended before the length", Status(id, MCI_STATUS_POSITION));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream file(InputPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    posix::UseVirtualClock(0);
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = InputPath().c_str();
    MCIERROR result = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, Param(&open));
    if (result != 0) {
        if (open.wDeviceID != 0) {
            Fail("failed open left a device", open.wDeviceID);
        }
        return 0;
    }
    Exercise(open.wDeviceID);
    MCI_GENERIC_PARMS close{};
    Send(open.wDeviceID, MCI_CLOSE, MCI_WAIT, &close);
    return 0;
}
