// mciSendCommandA over the audio engine: one device per open file.
//
// Sections:
//   1. Device table    identifiers from 1, the pending notification of each device
//   2. Conversions     milliseconds <-> frames, modes
//   3. Notifications   successful, superseded, aborted; the hooks into the message loop
//   4. Commands        one handler per command
//   5. Entry points    mciSendCommandA (recorded for the test driver), delivery, reset

#include "platform/posix/winmm/mci.h"

#include <algorithm>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/posix/winmm/audio/AudioDevice.h"
#include "platform/posix/winmm/audio/AudioTime.h"

namespace {

// ---------------------------------------------------------------------------------------
// 1. Device table
// ---------------------------------------------------------------------------------------

struct Device {
    std::unique_ptr<AudioDevice> Audio;
    // Where the pending play notification goes; null when none is pending. Only a play
    // that is running can have one.
    HWND NotifyWindow = nullptr;
};

std::map<MCIDEVICEID, Device>& Devices() {
    static std::map<MCIDEVICEID, Device> devices;
    return devices;
}

// The lowest identifier not in use; identifiers start at 1.
MCIDEVICEID FreeIdentifier() {
    MCIDEVICEID id = 1;
    for (const auto& [used, device] : Devices()) {
        if (used != id) {
            break;
        }
        ++id;
    }
    return id;
}

// ---------------------------------------------------------------------------------------
// 2. Conversions
// ---------------------------------------------------------------------------------------

// The first frame at ms, never past length.
std::uint64_t FramesOf(DWORD ms, std::uint32_t sampleRate, std::uint64_t length) {
    return std::min(FramesOfMs(ms, sampleRate), length);
}

DWORD ModeOf(AudioDevice::State state) {
    switch (state) {
    case AudioDevice::State::Playing:
        return MCI_MODE_PLAY;
    case AudioDevice::State::Paused:
        return MCI_MODE_PAUSE;
    case AudioDevice::State::Stopped:
    case AudioDevice::State::Ended:
        break;
    }
    return MCI_MODE_STOP;
}

// ---------------------------------------------------------------------------------------
// 3. Notifications
// ---------------------------------------------------------------------------------------

void Post(HWND window, WPARAM code, MCIDEVICEID id) {
    if (window != nullptr) {
        PostMessageA(window, MM_MCINOTIFY, code, static_cast<LPARAM>(id));
    }
}

// Settles the pending notification of a device, if it has one.
void Settle(Device& device, MCIDEVICEID id, WPARAM code) {
    HWND window = device.NotifyWindow;
    device.NotifyWindow = nullptr;
    Post(window, code, id);
}

// Brings the device up to date with its output; a play that reached its end reports it.
void Update(Device& device, MCIDEVICEID id) {
    device.Audio->Sync();
    if (device.Audio->GetState() == AudioDevice::State::Ended) {
        Settle(device, id, MCI_NOTIFY_SUCCESSFUL);
    }
}

// The window a command asked to notify; null when it asked for no notification.
HWND CallbackOf(DWORD_PTR flags, DWORD_PTR param) {
    if ((flags & MCI_NOTIFY) == 0 || param == 0) {
        return nullptr;
    }
    return reinterpret_cast<HWND>(reinterpret_cast<const MCI_GENERIC_PARMS*>(param)->dwCallback);
}

// Before a command that completes at once: one that interrupts play aborts the pending
// notification; one that only asks for its own notification supersedes it.
void BeforeCommand(Device& device, MCIDEVICEID id, DWORD_PTR flags, bool interruptsPlay) {
    if (interruptsPlay) {
        Settle(device, id, MCI_NOTIFY_ABORTED);
    } else if ((flags & MCI_NOTIFY) != 0) {
        Settle(device, id, MCI_NOTIFY_SUPERSEDED);
    }
}

// The moment the first running play reaches its end by the virtual clock, so that waiting
// and the test driver stop there. Under the real clock the end wakes the loop itself.
std::optional<std::uint64_t> NextPlayEnd() {
    if (!posix::ClockIsVirtual()) {
        return std::nullopt;
    }
    std::optional<std::uint64_t> earliest;
    for (auto& [id, device] : Devices()) {
        device.Audio->Sync();
        std::uint64_t left = device.Audio->FramesToEnd();
        if (device.Audio->GetState() != AudioDevice::State::Playing || left == 0) {
            continue;
        }
        // Rounded down, at least 1 ms: a moment a little early is followed by another.
        std::uint64_t moment =
            posix::NowMs() +
            std::max<std::uint64_t>(MsOfFrames(left, device.Audio->SampleRate()), 1);
        if (!earliest || moment < *earliest) {
            earliest = moment;
        }
    }
    return earliest;
}

// Ends of play are delivered when the message loop wakes; the moments they fall due count
// among the deadlines of the virtual clock; the test driver's reset closes every device.
void ConnectToMessageLoop() {
    posix::AddWakeHandler(&posix::DeliverMciNotifications);
    posix::AddDeadlineSource(&NextPlayEnd);
    posix::AddResetHandler(&posix::CloseAllMciDevices);
}

// ---------------------------------------------------------------------------------------
// 4. Commands
// ---------------------------------------------------------------------------------------

// Every command but MCI_OPEN acts on an open device, sees it brought up to date first, and
// gets a record of its own type (or none, when it needs no field of it).
struct Context {
    MCIDEVICEID Id;
    Device& Target;
    DWORD_PTR Flags;
    DWORD_PTR Param;

    std::uint32_t SampleRate() const { return Target.Audio->SampleRate(); }
    DWORD LengthMs() const { return MsOfFrames(Target.Audio->LengthFrames(), SampleRate()); }
    std::uint64_t Frames(DWORD ms) const {
        return FramesOf(ms, SampleRate(), Target.Audio->LengthFrames());
    }
    bool Has(DWORD flag) const { return (Flags & flag) != 0; }
    template <class Record> Record* Parms() const { return reinterpret_cast<Record*>(Param); }
};

MCIERROR Open(DWORD_PTR flags, DWORD_PTR param) {
    if (param == 0) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    auto* parms = reinterpret_cast<MCI_OPEN_PARMSA*>(param);
    parms->wDeviceID = 0;
    if ((flags & MCI_OPEN_ELEMENT_ID) != 0) {
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    // The file decides the device; a type, if given, is not consulted.
    if ((flags & MCI_OPEN_ELEMENT) == 0 || parms->lpstrElementName == nullptr) {
        return MCIERR_MISSING_PARAMETER;
    }
    ConnectToMessageLoop();
    AudioDecoder::OpenResult result{};
    // The end of a play wakes the message loop, which then delivers the notification.
    auto audio = AudioDevice::Open(parms->lpstrElementName, &posix::WakeMessageLoop, result);
    if (audio == nullptr) {
        return result == AudioDecoder::OpenResult::NotFound ? MCIERR_FILE_NOT_FOUND
                                                            : MCIERR_INVALID_FILE;
    }
    MCIDEVICEID id = FreeIdentifier();
    Devices().emplace(id, Device{std::move(audio)});
    parms->wDeviceID = id;
    Post(CallbackOf(flags, param), MCI_NOTIFY_SUCCESSFUL, id);
    return 0;
}

MCIERROR Close(Context& c) {
    BeforeCommand(c.Target, c.Id, c.Flags, true);
    Devices().erase(c.Id);
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

MCIERROR Play(Context& c) {
    auto* parms = c.Parms<MCI_PLAY_PARMS>();
    if (parms == nullptr && c.Has(MCI_FROM | MCI_TO)) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    DWORD length = c.LengthMs();
    if ((c.Has(MCI_FROM) && parms->dwFrom > length) || (c.Has(MCI_TO) && parms->dwTo > length) ||
        (c.Has(MCI_FROM) && c.Has(MCI_TO) && parms->dwFrom > parms->dwTo)) {
        return MCIERR_OUTOFRANGE;
    }
    std::uint64_t from =
        c.Has(MCI_FROM) ? c.Frames(parms->dwFrom) : c.Target.Audio->PositionFrames();
    std::uint64_t to = c.Has(MCI_TO) ? c.Frames(parms->dwTo) : AudioDevice::ToEnd;
    // A new play that asks for notification supersedes the pending one; one that does not
    // interrupts the play it replaces.
    Settle(c.Target, c.Id, c.Has(MCI_NOTIFY) ? MCI_NOTIFY_SUPERSEDED : MCI_NOTIFY_ABORTED);
    c.Target.NotifyWindow = CallbackOf(c.Flags, c.Param);
    c.Target.Audio->Transition({AudioDevice::Command::Kind::Play, from, to});
    if (c.Has(MCI_WAIT)) {
        c.Target.Audio->WaitForEnd();
    }
    return 0;
}

MCIERROR Pause(Context& c) {
    BeforeCommand(c.Target, c.Id, c.Flags, true);
    c.Target.Audio->Transition({AudioDevice::Command::Kind::Pause});
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

// Continues a paused play; a device that is not paused stays as it is.
MCIERROR Resume(Context& c) {
    BeforeCommand(c.Target, c.Id, c.Flags, false);
    c.Target.Audio->Transition({AudioDevice::Command::Kind::Resume});
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

// Stops where play is; the position is kept (a seek rewinds).
MCIERROR Stop(Context& c) {
    BeforeCommand(c.Target, c.Id, c.Flags, true);
    c.Target.Audio->Transition({AudioDevice::Command::Kind::Stop});
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

MCIERROR Seek(Context& c) {
    int targets = (c.Has(MCI_TO) ? 1 : 0) + (c.Has(MCI_SEEK_TO_START) ? 1 : 0) +
                  (c.Has(MCI_SEEK_TO_END) ? 1 : 0);
    if (targets == 0) {
        return MCIERR_MISSING_PARAMETER;
    }
    if (targets > 1) {
        return MCIERR_FLAGS_NOT_COMPATIBLE;
    }
    auto* parms = c.Parms<MCI_SEEK_PARMS>();
    std::uint64_t to = 0;
    if (c.Has(MCI_TO)) {
        if (parms == nullptr) {
            return MCIERR_NULL_PARAMETER_BLOCK;
        }
        if (parms->dwTo > c.LengthMs()) {
            return MCIERR_OUTOFRANGE;
        }
        to = c.Frames(parms->dwTo);
    } else if (c.Has(MCI_SEEK_TO_END)) {
        to = c.Target.Audio->LengthFrames();
    }
    BeforeCommand(c.Target, c.Id, c.Flags, true);
    c.Target.Audio->Transition({AudioDevice::Command::Kind::Seek, to});
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

MCIERROR Status(Context& c) {
    auto* parms = c.Parms<MCI_STATUS_PARMS>();
    if (parms == nullptr) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    if (!c.Has(MCI_STATUS_ITEM)) {
        return MCIERR_MISSING_PARAMETER;
    }
    switch (parms->dwItem) {
    case MCI_STATUS_LENGTH:
        parms->dwReturn = c.LengthMs();
        break;
    case MCI_STATUS_POSITION:
        parms->dwReturn = MsOfFrames(c.Target.Audio->PositionFrames(), c.SampleRate());
        break;
    case MCI_STATUS_MODE:
        parms->dwReturn = ModeOf(c.Target.Audio->GetState());
        break;
    default:
        return MCIERR_UNSUPPORTED_FUNCTION;
    }
    BeforeCommand(c.Target, c.Id, c.Flags, false);
    Post(CallbackOf(c.Flags, c.Param), MCI_NOTIFY_SUCCESSFUL, c.Id);
    return 0;
}

MCIERROR Perform(Context& c, UINT message) {
    switch (message) {
    case MCI_CLOSE:
        return Close(c);
    case MCI_PLAY:
        return Play(c);
    case MCI_PAUSE:
        return Pause(c);
    case MCI_RESUME:
        return Resume(c);
    case MCI_STOP:
        return Stop(c);
    case MCI_SEEK:
        return Seek(c);
    case MCI_STATUS:
        return Status(c);
    case MCI_WINDOW:
    case MCI_WHERE:
    case MCI_PUT:
        // No device here shows video.
        return MCIERR_UNSUPPORTED_FUNCTION;
    default:
        return MCIERR_UNRECOGNIZED_COMMAND;
    }
}

MCIERROR Dispatch(MCIDEVICEID id, UINT message, DWORD_PTR flags, DWORD_PTR param) {
    if (message == MCI_OPEN) {
        return Open(flags, param);
    }
    auto found = Devices().find(id);
    if (found == Devices().end()) {
        return MCIERR_INVALID_DEVICE_ID;
    }
    if ((flags & MCI_NOTIFY) != 0 && param == 0) {
        return MCIERR_NULL_PARAMETER_BLOCK;
    }
    Update(found->second, id);
    Context context{id, found->second, flags, param};
    MCIERROR result = Perform(context, message);
    // A play can end at once (an empty range, or no data left); the close took the device.
    found = Devices().find(id);
    if (found != Devices().end()) {
        Update(found->second, id);
    }
    return result;
}

// A call as the test driver records it: device, command, flags, the status item (0 for
// other commands) and the result; the element name of an open as its text.
void Record(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param, MCIERROR result) {
    DWORD item = 0;
    std::string element;
    if (param != 0 && message == MCI_STATUS && (flags & MCI_STATUS_ITEM) != 0) {
        item = reinterpret_cast<const MCI_STATUS_PARMS*>(param)->dwItem;
    }
    if (param != 0 && message == MCI_OPEN && (flags & MCI_OPEN_ELEMENT) != 0) {
        const char* name = reinterpret_cast<const MCI_OPEN_PARMSA*>(param)->lpstrElementName;
        element = name != nullptr ? name : "";
    }
    posix::RecordCall(testdriver::ApiFamily::Mci, "mciSendCommandA",
                      {device, message, flags, item, result}, std::move(element));
}

} // namespace

// ---------------------------------------------------------------------------------------
// 5. Entry points
// ---------------------------------------------------------------------------------------

MCIERROR WINAPI mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags,
                                DWORD_PTR param) {
    MCIERROR result = 0;
    try {
        result = Dispatch(device, message, flags, param);
    } catch (const std::bad_alloc&) {
        result = MCIERR_OUT_OF_MEMORY;
    } catch (const std::system_error&) {
        // No thread could be started for decoding or output.
        result = MCIERR_HARDWARE;
    }
    Record(device, message, flags, param, result);
    return result;
}

namespace posix {

void DeliverMciNotifications() {
    for (auto& [id, device] : Devices()) {
        Update(device, id);
    }
}

void CloseAllMciDevices() {
    Devices().clear();
}

} // namespace posix
