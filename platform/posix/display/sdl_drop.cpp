#include "platform/posix/display/sdl_drop.h"

#include "platform/posix/shell32/drop.h"

namespace posix {

void SdlDropCollector::Take(const SDL_Event& event, HWND topLevel, POINT screenPoint) {
    switch (event.type) {
    case SDL_DROPBEGIN:
        collecting = true;
        window = topLevel;
        paths.clear();
        break;
    case SDL_DROPFILE:
    case SDL_DROPTEXT:
        Add(event.drop);
        SDL_free(event.drop.file);
        if (!collecting) {
            Deliver(topLevel, screenPoint);
        }
        break;
    case SDL_DROPCOMPLETE:
        Deliver(topLevel != nullptr ? topLevel : window, screenPoint);
        break;
    default:
        break;
    }
}

void SdlDropCollector::Add(const SDL_DropEvent& drop) {
    if (drop.file == nullptr) {
        return;
    }
    if (drop.type == SDL_DROPFILE) {
        paths.emplace_back(drop.file);
        return;
    }
    for (std::string& path : PathsOfDroppedText(drop.file)) {
        paths.push_back(std::move(path));
    }
}

void SdlDropCollector::Deliver(HWND topLevel, POINT screenPoint) {
    PostDroppedFiles(topLevel, screenPoint, std::move(paths));
    paths.clear();
    collecting = false;
    window = nullptr;
}

} // namespace posix
