#pragma once

#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "toolkit/TObj.h"

// One MCI device for one media file. Every command goes through mciSendCommandA; those that
// need an open device go through SendCommand, which sends nothing while none is open.
// Positions and lengths are in the device's default time format, milliseconds for sound.
class TMediaPlayer : public TObj {
public:
    bool Wait = false;            // every command through SendCommand waits (MCI_WAIT)
    MCIDEVICEID DeviceId = 0;     // 0 while no device is open
    HWND NotifyWindow = nullptr;  // where MCI notifications go
    std::string FileName;         // the element the device plays
    std::int32_t VideoHeight = 0; // of the video image, when it was centred
    std::int32_t VideoWidth = 0;  // of the video image, when it was centred
    std::uint8_t DisplayMode = 0; // video placement: 0 none, 1 centred, 2 filling the window

    // Opens FileName unless a device is open; DeviceId stays 0 when it cannot be opened.
    void OpenDevice();
    // Closes the open device, if any.
    void CloseDevice();
    // Places the video (from position 0 only) and plays from the current position to the
    // end, notifying NotifyWindow. True when the device accepted the play.
    bool StartPlay(HWND videoWindow, DWORD from, DWORD to);
    // The answer to an MCI_STATUS item; 0 when there is none.
    DWORD GetStatus(DWORD item);
    DWORD GetPosition() { return GetStatus(MCI_STATUS_POSITION); }
    DWORD GetLength() { return GetStatus(MCI_STATUS_LENGTH); }
    // The device mode counted from MCI_MODE_NOT_READY, kept to 8 bits: 2 is playing.
    std::uint8_t GetMode();
    bool NotPlaying() { return GetMode() != ModePlaying; }
    // Pauses when paused is true, resumes otherwise.
    void SetPaused(bool paused);
    bool StopDevice();
    void SeekTo(DWORD position);
    // A different name closes the device and opens the new file, if the name is not empty.
    void SetFileName(const std::string& name);
    // Sends a command to the open device: -1 without sending when none is open. MCI_WAIT is
    // added when Wait is set; MCI_NOTIFY goes to NotifyWindow, or the application's window.
    // record is any MCI parameter record; all of them start with dwCallback.
    MCIERROR SendCommand(UINT command, DWORD flags, void* record);

    static constexpr std::uint8_t ModePlaying = 2;

    friend TMediaPlayer* CreateMediaPlayer(const std::string& fileName, HWND notifyWindow);

protected:
    TMediaPlayer() = default;
    ~TMediaPlayer() override;

private:
    void PlaceVideo(HWND videoWindow);
};

// A player for fileName (opened at once unless empty) notifying notifyWindow.
TMediaPlayer* CreateMediaPlayer(const std::string& fileName, HWND notifyWindow);
