#include "elements/TZuMediaPlayer.h"

#include <cstdint>

#include "elements/TZuWin.h"
#include "toolkit/FileIO.h"
#include "toolkit/TMediaPlayer.h"
#include "toolkit/TTimer.h"

namespace {

// The window handle an integer names; Win32 handles keep their meaning in 32 bits.
HWND HandleOf(std::int32_t value) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(value));
}

} // namespace

TZuMediaPlayer::TZuMediaPlayer()
    : player(CreateMediaPlayer("", OwnerWindow())), pollTimer(CreateTimer(PollInterval)) {
    pollTimer->OnTick = {&TZuMediaPlayer::Poll, this};
}

TZuMediaPlayer::~TZuMediaPlayer() {
    Free(pollTimer);
    Free(player);
}

void TZuMediaPlayer::Play(TData& value, std::uint16_t) {
    std::string name = PullString(value, FileName, DefaultFileName);
    // With VideoWindow unbound this takes over whatever value came with the play.
    videoHandle = PullInteger(value, VideoWindow, 0);
    if (!IsExistingFile(name.c_str())) {
        return;
    }
    player->CloseDevice();
    player->SetFileName(name);
    player->OpenDevice();
    DWORD length = player->GetLength();
    player->StartPlay(HandleOf(videoHandle), 0, length);
    pollTimer->SetEnabled(true);
}

void TZuMediaPlayer::Pause(TData&, std::uint16_t) {
    bool playing = !player->NotPlaying();
    player->SetPaused(playing);
    pollTimer->SetEnabled(!player->NotPlaying());
}

void TZuMediaPlayer::Stop(TData&, std::uint16_t) {
    player->StopDevice();
    player->SeekTo(0);
    pollTimer->SetEnabled(false);
}

void TZuMediaPlayer::Position(TData& value, std::uint16_t) {
    value = MakeInteger(static_cast<std::int32_t>(player->GetPosition()));
}

void TZuMediaPlayer::Length(TData& value, std::uint16_t) {
    value = MakeInteger(static_cast<std::int32_t>(player->GetLength()));
}

void TZuMediaPlayer::SetDisplayMode(std::uint8_t mode) {
    player->DisplayMode = mode;
}

// Equality: a device that never opened (both 0) ends at the first poll.
void TZuMediaPlayer::Poll(void* element, TObj*) {
    auto* self = static_cast<TZuMediaPlayer*>(element);
    if (self->player->GetPosition() == self->player->GetLength()) {
        self->pollTimer->SetEnabled(false);
        FireNone(self->OnEnd);
    }
}
