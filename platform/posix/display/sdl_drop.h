#pragma once

// Gathers SDL's drop events into one drop: SDL_DROPBEGIN starts it, every SDL_DROPFILE and
// SDL_DROPTEXT adds to it, SDL_DROPCOMPLETE hands it to the window that takes it as
// WM_DROPFILES. A file or text that comes without a begin is a drop of its own.

#include <SDL2/SDL.h>

#include <string>
#include <vector>

#include "platform/win32.h"

namespace posix {

class SdlDropCollector {
public:
    // Takes one drop event; others are ignored. topLevel is the window SDL named (null when
    // it named none), screenPoint where the pointer is. The event's text is freed here, as
    // SDL asks of whoever takes it.
    void Take(const SDL_Event& event, HWND topLevel, POINT screenPoint);

private:
    void Add(const SDL_DropEvent& drop);
    void Deliver(HWND topLevel, POINT screenPoint);

    bool collecting = false;        // between a begin and its completion
    HWND window = nullptr;          // the window the drop started over
    std::vector<std::string> paths; // gathered so far, in the order they came
};

} // namespace posix
