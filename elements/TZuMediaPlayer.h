#pragma once

#include <cstdint>
#include <string>

#include "core/TData.h"
#include "core/TZu_Event.h"

class TMediaPlayer;
class TObj;
class TTimer;

// Plays a media file through the toolkit's MCI player and offers its position and length in
// milliseconds. The end of play is found by polling every 300 ms while the file plays.
class TZuMediaPlayer {
public:
    TZuMediaPlayer();
    virtual ~TZuMediaPlayer();
    TZuMediaPlayer(const TZuMediaPlayer&) = delete;
    TZuMediaPlayer& operator=(const TZuMediaPlayer&) = delete;

    // Closes what plays and plays the file named by FileName (or DefaultFileName), when it
    // exists.
    void Play(TData& value, std::uint16_t index);
    // Pauses a playing file; resumes otherwise.
    void Pause(TData& value, std::uint16_t index);
    // Stops and rewinds to 0.
    void Stop(TData& value, std::uint16_t index);
    // Providers: the position and the length in milliseconds, as integers.
    void Position(TData& value, std::uint16_t index);
    void Length(TData& value, std::uint16_t index);

    void SetDisplayMode(std::uint8_t mode);

    TMediaPlayer* Player() const { return player; }
    TTimer* PollTimer() const { return pollTimer; }
    std::int32_t VideoHandle() const { return videoHandle; }

    std::string DefaultFileName; // played when FileName is unbound
    TZu_Event FileName;          // data point: the file to play
    TZu_Event VideoWindow;       // data point: the window for video, as an integer handle
    TZu_Event OnEnd;             // output: the position reached the length, no value

    static constexpr std::int32_t PollInterval = 300;

private:
    static void Poll(void* element, TObj* timer);

    TMediaPlayer* player; // owned
    std::int32_t videoHandle = 0;
    TTimer* pollTimer; // owned; runs while the file plays
};
