#include "app/FileKind.h"

#include <algorithm>
#include <string_view>

#include "platform/win32.h"
#include "toolkit/FileIO.h"

namespace {

bool HasPlaylistExtension(std::string_view path) {
    constexpr std::string_view extension = ".qpl";
    if (path.size() < extension.size()) {
        return false;
    }
    return std::equal(extension.begin(), extension.end(), path.end() - extension.size(),
                      [](char expected, char given) {
                          return expected ==
                                 (given >= 'A' && given <= 'Z' ? given + ('a' - 'A') : given);
                      });
}

bool EngineOpens(const std::string& path) {
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = path.c_str();
    if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                        reinterpret_cast<DWORD_PTR>(&open)) != 0) {
        return false;
    }
    MCI_GENERIC_PARMS close{};
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, reinterpret_cast<DWORD_PTR>(&close));
    return true;
}

} // namespace

FileKind KindOfFile(const std::string& path) {
    if (path.empty() || !IsExistingFile(path.c_str())) {
        return FileKind::Unusable;
    }
    if (HasPlaylistExtension(path)) {
        return FileKind::Playlist;
    }
    return EngineOpens(path) ? FileKind::Playable : FileKind::Unusable;
}
