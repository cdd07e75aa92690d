#include "toolkit/TMediaPlayer.h"

#include <cstring>

#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

constexpr MCIERROR NotSent = static_cast<MCIERROR>(-1);

DWORD_PTR Param(void* record) {
    return reinterpret_cast<DWORD_PTR>(record);
}

DWORD_PTR CallbackOf(HWND window) {
    return reinterpret_cast<DWORD_PTR>(window);
}

// Half of a length, truncated toward zero, as a 32-bit coordinate.
std::int64_t Half(std::int64_t length) {
    return length / 2;
}

} // namespace

TMediaPlayer* CreateMediaPlayer(const std::string& fileName, HWND notifyWindow) {
    TMediaPlayer* player = TMediaPlayer::Created(new TMediaPlayer());
    player->SetFileName(fileName);
    player->NotifyWindow = notifyWindow;
    return player;
}

// The close waits for the device.
TMediaPlayer::~TMediaPlayer() {
    Wait = true;
    CloseDevice();
    FileName.clear();
}

void TMediaPlayer::OpenDevice() {
    if (DeviceId != 0) {
        return;
    }
    MCI_OPEN_PARMSA parms{};
    parms.dwCallback = CallbackOf(NotifyWindow);
    parms.lpstrElementName = FileName.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, Param(&parms)) == 0) {
        DeviceId = parms.wDeviceID;
    }
}

void TMediaPlayer::CloseDevice() {
    MCI_GENERIC_PARMS parms{};
    parms.dwCallback = CallbackOf(NotifyWindow);
    if (DeviceId != 0 && SendCommand(MCI_CLOSE, MCI_WAIT, &parms) == 0) {
        DeviceId = 0;
    }
}

bool TMediaPlayer::StartPlay(HWND videoWindow, DWORD from, DWORD to) {
    if (GetPosition() == 0) {
        PlaceVideo(videoWindow);
    }
    // Neither MCI_FROM nor MCI_TO: play runs from the current position to the end.
    MCI_PLAY_PARMS parms{};
    parms.dwCallback = CallbackOf(NotifyWindow);
    parms.dwFrom = from;
    parms.dwTo = to;
    return mciSendCommandA(DeviceId, MCI_PLAY, MCI_NOTIFY, Param(&parms)) == 0;
}

// Devices without video refuse all of this; the results are not looked at.
void TMediaPlayer::PlaceVideo(HWND videoWindow) {
    MCI_ANIM_WINDOW_PARMSA window{};
    window.dwCallback = CallbackOf(NotifyWindow);
    window.hWnd = videoWindow;
    mciSendCommandA(DeviceId, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, Param(&window));
    RECT client{};
    GetClientRect(videoWindow, &client);
    MCI_ANIM_RECT_PARMS put{};
    if (DisplayMode == 1) {
        MCI_ANIM_RECT_PARMS where{};
        if (SendCommand(MCI_WHERE, MCI_ANIM_WHERE_DESTINATION | MCI_WAIT, &where) != 0) {
            where.rc = RECT{};
        }
        VideoWidth = static_cast<std::int32_t>(std::int64_t{where.rc.right} - where.rc.left);
        VideoHeight = static_cast<std::int32_t>(std::int64_t{where.rc.bottom} - where.rc.top);
        // MCI reads right and bottom as the width and height.
        put.rc.left = static_cast<LONG>(Half(client.right) - Half(VideoWidth));
        put.rc.top = static_cast<LONG>(Half(client.bottom) - Half(VideoHeight));
        put.rc.right = VideoWidth;
        put.rc.bottom = VideoHeight;
    } else if (DisplayMode == 2) {
        put.rc = client;
    } else {
        return;
    }
    SendCommand(MCI_PUT, MCI_ANIM_RECT | MCI_ANIM_PUT_DESTINATION | MCI_WAIT, &put);
}

DWORD TMediaPlayer::GetStatus(DWORD item) {
    MCI_STATUS_PARMS parms{};
    parms.dwItem = item;
    if (SendCommand(MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, &parms) != 0) {
        return 0;
    }
    return static_cast<DWORD>(parms.dwReturn);
}

std::uint8_t TMediaPlayer::GetMode() {
    return static_cast<std::uint8_t>(GetStatus(MCI_STATUS_MODE) - MCI_MODE_NOT_READY);
}

void TMediaPlayer::SetPaused(bool paused) {
    MCI_GENERIC_PARMS parms{};
    SendCommand(paused ? MCI_PAUSE : MCI_RESUME, MCI_WAIT, &parms);
}

bool TMediaPlayer::StopDevice() {
    MCI_GENERIC_PARMS parms{};
    return SendCommand(MCI_STOP, MCI_NOTIFY, &parms) == 0;
}

void TMediaPlayer::SeekTo(DWORD position) {
    MCI_SEEK_PARMS parms{};
    parms.dwTo = position;
    SendCommand(MCI_SEEK, MCI_TO | MCI_NOTIFY, &parms);
}

void TMediaPlayer::SetFileName(const std::string& name) {
    if (name == FileName) {
        return;
    }
    CloseDevice();
    FileName = name;
    if (!name.empty()) {
        OpenDevice();
    }
}

MCIERROR TMediaPlayer::SendCommand(UINT command, DWORD flags, void* record) {
    if (DeviceId == 0) {
        return NotSent;
    }
    if (Wait) {
        flags |= MCI_WAIT;
    }
    if ((flags & MCI_WAIT) != 0 || MainControl == nullptr) {
        flags &= ~MCI_NOTIFY;
    }
    if ((flags & MCI_NOTIFY) != 0) {
        HWND target = NotifyWindow != nullptr ? NotifyWindow : MainControl->GetHandle();
        DWORD_PTR callback = CallbackOf(target);
        std::memcpy(record, &callback, sizeof callback);
    }
    return mciSendCommandA(DeviceId, command, flags, Param(record));
}
