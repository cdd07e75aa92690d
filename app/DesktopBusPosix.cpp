// The session bus through sd-bus. The connection's descriptor joins the GUI thread's wait
// (platform/descriptor_wait.h), so requests are served inside the message loop, on the thread
// that owns the player, and an idle player sleeps as before. A bus that fails is dropped and
// the player goes on without it.
//
// Index: the connection and its descriptor; the player's state as the desktop sees it; the
// root and player interfaces; the hand-over between two starts.

#include "app/DesktopBus.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include "app/FilesFromOutside.h"
#include "app/TClassMainForm_8B54EB0.h"
#include "app/TrackText.h"
#include "core/TZu_Event.h"
#include "elements/TZuButton.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "elements/TZuMediaPlayer.h"
#include "elements/TZuTimer.h"
#include "platform/descriptor_wait.h"
#include "platform/win32.h"
#include "toolkit/TControl.h"
#include "toolkit/TMediaPlayer.h"

namespace {

constexpr char BusName[] = "org.mpris.MediaPlayer2.kestrin";
constexpr char ObjectPath[] = "/org/mpris/MediaPlayer2";
constexpr char RootInterface[] = "org.mpris.MediaPlayer2";
constexpr char PlayerInterface[] = "org.mpris.MediaPlayer2.Player";
// The private interface through which a second start hands its files to the running player.
constexpr char HandOverInterface[] = "org.kestrin.Player";
constexpr char OpenFilesMethod[] = "OpenFiles";

constexpr std::int64_t MicrosecondsPerMs = 1000;
// How long a second start waits for the running player to take its files.
constexpr std::uint64_t HandOverTimeoutUs = 5'000'000;

std::string WorkingFolder() {
    std::string folder(4096, '\0');
    if (getcwd(folder.data(), folder.size()) == nullptr) {
        return "/";
    }
    folder.resize(folder.find('\0'));
    return folder;
}

class SessionBus final : public DesktopBus {
public:
    explicit SessionBus(sd_bus* bus) : bus_(bus) {}
    ~SessionBus() override;

    bool HandOver(const std::vector<std::string>& arguments,
                  std::vector<std::string>& rejected) override;
    void Publish(TClassMainForm_8B54EB0& player) override;

    // ---- The player's state as the desktop sees it ----
    const char* PlaybackStatus() const;
    bool HasTrack() const;
    TrackMetadata CurrentTrack() const;
    std::int64_t PositionUs() const;
    std::int32_t CurrentRow() const;
    std::int32_t RowCount() const;

    // ---- Actions, through the buttons' and the list's inputs ----
    void Play();
    void Pause();
    void PlayPause();
    void Stop();
    bool PlayNeighbour(std::int32_t step);
    std::vector<std::string> Open(const std::vector<std::string>& paths);
    void Raise();
    void Quit();

    // Tells the desktop what changed since it was last told, and waits for the bus again.
    void AnnounceChanges();

    // The position timer's tick passes through here on its way to the graph.
    void Tick(TData& value, std::uint16_t index);

private:
    static void OnReadable(void* context);
    void Serve();
    void Rearm();
    void Drop();

    sd_bus* bus_;                              // owned; null once dropped
    sd_bus_slot* objectSlots_[3] = {};         // the three interfaces' vtables
    TClassMainForm_8B54EB0* player_ = nullptr; // while published
    TZu_Event timerTick_;                      // the tick's original target
    bool serving_ = false;                     // inside Serve: no nested processing
    bool dropPending_ = false;                 // a failure inside Serve: dropped after it
    std::string folder_ = WorkingFolder();     // relative file names are taken from here
    std::string announcedStatus_;              // what the desktop was last told
    std::string announcedPath_;
    std::uint32_t announcedLength_ = 0;
    std::uint64_t trackNumber_ = 0; // counts the tracks played, for mpris:trackid
};

// ---- The connection and its descriptor ----

SessionBus::~SessionBus() {
    if (player_ != nullptr) {
        player_->PositionTimer->OnTimer = timerTick_;
    }
    Drop();
}

void SessionBus::OnReadable(void* context) {
    static_cast<SessionBus*>(context)->Serve();
}

void SessionBus::Serve() {
    // An action may run a modal loop that waits again; the outer call goes on afterwards.
    if (serving_ || bus_ == nullptr) {
        return;
    }
    serving_ = true;
    int result = 0;
    do {
        result = sd_bus_process(bus_, nullptr);
    } while (result > 0 && bus_ != nullptr);
    serving_ = false;
    if (result < 0 || dropPending_) {
        Drop();
        return;
    }
    Rearm();
}

// Waits for what the connection needs next: reading, and writing while output is queued.
void SessionBus::Rearm() {
    if (bus_ == nullptr) {
        return;
    }
    const int events = sd_bus_get_events(bus_);
    const int fd = sd_bus_get_fd(bus_);
    if (events < 0 || fd < 0 ||
        !posix::WatchDescriptor(fd, static_cast<std::uint32_t>(events), &OnReadable, this)) {
        Drop();
    }
}

void SessionBus::Drop() {
    if (serving_) {
        dropPending_ = true;
        return;
    }
    if (bus_ == nullptr) {
        return;
    }
    const int fd = sd_bus_get_fd(bus_);
    if (fd >= 0) {
        posix::UnwatchDescriptor(fd);
    }
    for (sd_bus_slot*& slot : objectSlots_) {
        slot = sd_bus_slot_unref(slot);
    }
    bus_ = sd_bus_flush_close_unref(bus_);
}

// ---- The player's state as the desktop sees it ----

const char* SessionBus::PlaybackStatus() const {
    switch (player_->MediaPlayer->Player()->GetStatus(MCI_STATUS_MODE)) {
    case MCI_MODE_PLAY:
        return "Playing";
    case MCI_MODE_PAUSE:
        return "Paused";
    default:
        return "Stopped";
    }
}

bool SessionBus::HasTrack() const {
    return player_->MediaPlayer->Player()->DeviceId != 0;
}

TrackMetadata SessionBus::CurrentTrack() const {
    TMediaPlayer* device = player_->MediaPlayer->Player();
    return DescribeTrack(device->FileName, device->GetLength(), trackNumber_, folder_);
}

std::int64_t SessionBus::PositionUs() const {
    return static_cast<std::int64_t>(player_->MediaPlayer->Player()->GetPosition()) *
           MicrosecondsPerMs;
}

std::int32_t SessionBus::CurrentRow() const {
    TControl* list = player_->PlayList->Control;
    return list == nullptr ? -1 : list->CurrentIndex();
}

std::int32_t SessionBus::RowCount() const {
    TControl* list = player_->PlayList->Control;
    return list == nullptr ? 0 : list->ItemCount();
}

// ---- Actions ----

// Resumes as "||" does; from a stop, plays the current row (or the first) as a click does.
void SessionBus::Play() {
    const std::string status = PlaybackStatus();
    if (status == "Paused") {
        FireNone(player_->PauseButton->OnClick);
    } else if (status == "Stopped") {
        PlayRow(*player_, CurrentRow() < 0 ? 0 : CurrentRow());
    }
}

void SessionBus::Pause() {
    if (std::string(PlaybackStatus()) == "Playing") {
        FireNone(player_->PauseButton->OnClick);
    }
}

void SessionBus::PlayPause() {
    if (std::string(PlaybackStatus()) == "Playing") {
        Pause();
    } else {
        Play();
    }
}

void SessionBus::Stop() {
    FireNone(player_->StopButton->OnClick);
}

bool SessionBus::PlayNeighbour(std::int32_t step) {
    return PlayRow(*player_, CurrentRow() + step);
}

std::vector<std::string> SessionBus::Open(const std::vector<std::string>& paths) {
    if (paths.empty()) {
        Raise();
        return {};
    }
    return OpenArguments(*player_, paths);
}

void SessionBus::Raise() {
    const HWND window = player_->MainForm->Control->GetHandle();
    if (IsIconic(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    SetForegroundWindow(window);
}

// What the close box does.
void SessionBus::Quit() {
    PostMessageA(player_->MainForm->Control->GetHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void SessionBus::AnnounceChanges() {
    if (bus_ == nullptr || player_ == nullptr) {
        return;
    }
    const std::string status = PlaybackStatus();
    TMediaPlayer* device = player_->MediaPlayer->Player();
    const std::string path = HasTrack() ? device->FileName : std::string();
    const std::uint32_t length = HasTrack() ? device->GetLength() : 0;
    const bool statusChanged = status != announcedStatus_;
    const bool trackChanged = path != announcedPath_ || length != announcedLength_;
    if (path != announcedPath_) {
        ++trackNumber_;
    }
    announcedStatus_ = status;
    announcedPath_ = path;
    announcedLength_ = length;
    if (statusChanged || trackChanged) {
        sd_bus_emit_properties_changed(bus_, ObjectPath, PlayerInterface, "PlaybackStatus",
                                       "Metadata", "CanGoNext", "CanGoPrevious", nullptr);
    }
    // Messages sd-bus read while it waited for a reply wait in its queue, where the
    // descriptor no longer shows them: they are served before waiting again.
    Serve();
}

void SessionBus::Tick(TData&, std::uint16_t) {
    FireNone(timerTick_);
    AnnounceChanges();
}

// ---- The interfaces: property getters and method handlers ----

SessionBus& Self(void* userdata) {
    return *static_cast<SessionBus*>(userdata);
}

int AppendBoolean(sd_bus_message* reply, bool value) {
    return sd_bus_message_append(reply, "b", static_cast<int>(value));
}

// The media types of the desktop entry, separated by ';'.
int AppendMimeTypes(sd_bus_message* reply) {
    const std::string listed = KESTRIN_MIME_TYPES;
    int result = sd_bus_message_open_container(reply, 'a', "s");
    for (std::size_t start = 0; result >= 0 && start < listed.size();) {
        std::size_t end = listed.find(';', start);
        end = end == std::string::npos ? listed.size() : end;
        if (end > start) {
            result = sd_bus_message_append(reply, "s", listed.substr(start, end - start).c_str());
        }
        start = end + 1;
    }
    return result < 0 ? result : sd_bus_message_close_container(reply);
}

int GetRootProperty(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                    void*, sd_bus_error*) {
    const std::string name = property;
    if (name == "Identity") {
        return sd_bus_message_append(reply, "s", "Kestrin Media Player");
    }
    if (name == "DesktopEntry") {
        return sd_bus_message_append(reply, "s", "kestrin");
    }
    if (name == "SupportedUriSchemes") {
        return sd_bus_message_append(reply, "as", 1, "file");
    }
    if (name == "SupportedMimeTypes") {
        return AppendMimeTypes(reply);
    }
    // CanQuit, CanRaise; HasTrackList is the only false one.
    return AppendBoolean(reply, name != "HasTrackList");
}

int AppendMetadata(sd_bus_message* reply, const SessionBus& player) {
    int result = sd_bus_message_open_container(reply, 'a', "{sv}");
    if (result >= 0 && player.HasTrack()) {
        const TrackMetadata track = player.CurrentTrack();
        const std::string title = track.Title;
        result = sd_bus_message_append(reply, "{sv}{sv}{sv}{sv}", "mpris:trackid", "o",
                                       track.TrackId.c_str(), "mpris:length", "x", track.LengthUs,
                                       "xesam:url", "s", track.Url.c_str(), "xesam:title", "s",
                                       title.c_str());
    }
    return result < 0 ? result : sd_bus_message_close_container(reply);
}

int GetPlayerProperty(sd_bus*, const char*, const char*, const char* property,
                      sd_bus_message* reply, void* userdata, sd_bus_error*) {
    const SessionBus& player = Self(userdata);
    const std::string name = property;
    if (name == "PlaybackStatus") {
        return sd_bus_message_append(reply, "s", player.PlaybackStatus());
    }
    if (name == "Metadata") {
        return AppendMetadata(reply, player);
    }
    if (name == "Position") {
        return sd_bus_message_append(reply, "x", player.PositionUs());
    }
    if (name == "Rate" || name == "MinimumRate" || name == "MaximumRate") {
        return sd_bus_message_append(reply, "d", 1.0);
    }
    if (name == "CanGoNext") {
        return AppendBoolean(reply, player.CurrentRow() + 1 < player.RowCount());
    }
    if (name == "CanGoPrevious") {
        return AppendBoolean(reply, player.CurrentRow() > 0);
    }
    if (name == "CanPlay" || name == "CanPause") {
        return AppendBoolean(reply, player.RowCount() > 0 || player.HasTrack());
    }
    // CanControl; CanSeek is the only false one.
    return AppendBoolean(reply, name != "CanSeek");
}

// Runs an action without arguments and answers the call.
template <void (SessionBus::*Action)()>
int RunAction(sd_bus_message* call, void* userdata, sd_bus_error*) {
    (Self(userdata).*Action)();
    Self(userdata).AnnounceChanges();
    return sd_bus_reply_method_return(call, "");
}

template <std::int32_t Step>
int PlayNeighbourRow(sd_bus_message* call, void* userdata, sd_bus_error*) {
    Self(userdata).PlayNeighbour(Step);
    Self(userdata).AnnounceChanges();
    return sd_bus_reply_method_return(call, "");
}

int OpenUri(sd_bus_message* call, void* userdata, sd_bus_error* error) {
    const char* uri = nullptr;
    const int read = sd_bus_message_read(call, "s", &uri);
    if (read < 0) {
        return read;
    }
    const std::optional<std::string> path = PathOfFileUri(uri);
    if (!path) {
        return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "not a file URI");
    }
    const std::vector<std::string> rejected = Self(userdata).Open({*path});
    Self(userdata).AnnounceChanges();
    if (!rejected.empty()) {
        return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "not a file the player plays");
    }
    return sd_bus_reply_method_return(call, "");
}

int ReadStrings(sd_bus_message* message, std::vector<std::string>& strings) {
    char** list = nullptr;
    const int read = sd_bus_message_read_strv(message, &list);
    for (char** each = list; each != nullptr && *each != nullptr; ++each) {
        strings.emplace_back(*each);
        free(*each);
    }
    free(list);
    return read;
}

int AppendStrings(sd_bus_message* message, const std::vector<std::string>& strings) {
    std::vector<char*> list;
    for (const std::string& each : strings) {
        list.push_back(const_cast<char*>(each.c_str()));
    }
    list.push_back(nullptr);
    return sd_bus_message_append_strv(message, list.data());
}

// A second start's files (absolute paths): opened as the command line opens them, or, with
// none, the window raised. Answers the ones that could not be used.
int OpenFiles(sd_bus_message* call, void* userdata, sd_bus_error*) {
    std::vector<std::string> paths;
    const int read = ReadStrings(call, paths);
    if (read < 0) {
        return read;
    }
    const std::vector<std::string> rejected = Self(userdata).Open(paths);
    Self(userdata).AnnounceChanges();
    sd_bus_message* reply = nullptr;
    int result = sd_bus_message_new_method_return(call, &reply);
    if (result >= 0) {
        result = AppendStrings(reply, rejected);
    }
    if (result >= 0) {
        result = sd_bus_send(nullptr, reply, nullptr);
    }
    sd_bus_message_unref(reply);
    return result;
}

constexpr std::uint64_t Constant = SD_BUS_VTABLE_PROPERTY_CONST;
constexpr std::uint64_t Changing = SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE;
// Without an emits flag sd-bus marks a property as never signalled.
constexpr std::uint64_t Unsignalled = 0;

const sd_bus_vtable RootTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Raise", "", "", (RunAction<&SessionBus::Raise>), SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Quit", "", "", (RunAction<&SessionBus::Quit>), SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("Identity", "s", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("DesktopEntry", "s", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("CanQuit", "b", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("CanRaise", "b", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("HasTrackList", "b", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("SupportedUriSchemes", "as", GetRootProperty, 0, Constant),
    SD_BUS_PROPERTY("SupportedMimeTypes", "as", GetRootProperty, 0, Constant),
    SD_BUS_VTABLE_END};

const sd_bus_vtable PlayerTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Play", "", "", (RunAction<&SessionBus::Play>), SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Pause", "", "", (RunAction<&SessionBus::Pause>), SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("PlayPause", "", "", (RunAction<&SessionBus::PlayPause>),
                  SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Stop", "", "", (RunAction<&SessionBus::Stop>), SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Next", "", "", PlayNeighbourRow<1>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Previous", "", "", PlayNeighbourRow<-1>, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("OpenUri", "s", "", OpenUri, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("PlaybackStatus", "s", GetPlayerProperty, 0, Changing),
    SD_BUS_PROPERTY("Metadata", "a{sv}", GetPlayerProperty, 0, Changing),
    SD_BUS_PROPERTY("Position", "x", GetPlayerProperty, 0, Unsignalled),
    SD_BUS_PROPERTY("Rate", "d", GetPlayerProperty, 0, Constant),
    SD_BUS_PROPERTY("MinimumRate", "d", GetPlayerProperty, 0, Constant),
    SD_BUS_PROPERTY("MaximumRate", "d", GetPlayerProperty, 0, Constant),
    SD_BUS_PROPERTY("CanGoNext", "b", GetPlayerProperty, 0, Changing),
    SD_BUS_PROPERTY("CanGoPrevious", "b", GetPlayerProperty, 0, Changing),
    SD_BUS_PROPERTY("CanPlay", "b", GetPlayerProperty, 0, Unsignalled),
    SD_BUS_PROPERTY("CanPause", "b", GetPlayerProperty, 0, Unsignalled),
    SD_BUS_PROPERTY("CanSeek", "b", GetPlayerProperty, 0, Constant),
    SD_BUS_PROPERTY("CanControl", "b", GetPlayerProperty, 0, Constant),
    SD_BUS_VTABLE_END};

const sd_bus_vtable HandOverTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD(OpenFilesMethod, "as", "as", OpenFiles, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_VTABLE_END};

// ---- Publishing, and the hand-over between two starts ----

void SessionBus::Publish(TClassMainForm_8B54EB0& player) {
    if (bus_ == nullptr) {
        return;
    }
    player_ = &player;
    timerTick_ = player.PositionTimer->OnTimer;
    player.PositionTimer->OnTimer = MakeEvent<&SessionBus::Tick>(this, 0);
    const sd_bus_vtable* tables[] = {RootTable, PlayerTable, HandOverTable};
    const char* interfaces[] = {RootInterface, PlayerInterface, HandOverInterface};
    for (int i = 0; i < 3; ++i) {
        if (sd_bus_add_object_vtable(bus_, &objectSlots_[i], ObjectPath, interfaces[i], tables[i],
                                     this) < 0) {
            Drop();
            return;
        }
    }
    AnnounceChanges();
}

bool SessionBus::HandOver(const std::vector<std::string>& arguments,
                          std::vector<std::string>& rejected) {
    if (sd_bus_request_name(bus_, BusName, 0) != -EEXIST) {
        return false;
    }
    std::vector<std::string> paths;
    for (const std::string& argument : arguments) {
        paths.push_back(AbsolutePath(argument, folder_));
    }
    sd_bus_message* call = nullptr;
    sd_bus_message* reply = nullptr;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    int result = sd_bus_message_new_method_call(bus_, &call, BusName, ObjectPath, HandOverInterface,
                                                OpenFilesMethod);
    if (result >= 0) {
        result = AppendStrings(call, paths);
    }
    if (result >= 0) {
        result = sd_bus_call(bus_, call, HandOverTimeoutUs, &error, &reply);
    }
    std::vector<std::string> rejectedPaths;
    if (result >= 0) {
        result = ReadStrings(reply, rejectedPaths);
    }
    // Named as they were given, not as they were sent.
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (std::find(rejectedPaths.begin(), rejectedPaths.end(), paths[i]) !=
            rejectedPaths.end()) {
            rejected.push_back(arguments[i]);
        }
    }
    sd_bus_error_free(&error);
    sd_bus_message_unref(reply);
    sd_bus_message_unref(call);
    return result >= 0;
}

} // namespace

std::unique_ptr<DesktopBus> DesktopBus::Connect() {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        return nullptr;
    }
    return std::make_unique<SessionBus>(bus);
}
