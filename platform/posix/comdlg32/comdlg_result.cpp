#include "platform/posix/comdlg32/comdlg_result.h"

#include "platform/posix/comdlg32/comdlg_folder.h"

#include <algorithm>
#include <cstring>

namespace posix::comdlg {
namespace {

WORD ClampedWord(std::size_t value) {
    return static_cast<WORD>(std::min<std::size_t>(value, 0xFFFF));
}

// Where the extension of the name at nameOffset starts: after its last '.', at the path's end
// when it has none, 0 when the name ends with the '.'.
WORD ExtensionOffset(const std::string& path, std::size_t nameOffset) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameOffset) {
        return ClampedWord(path.size());
    }
    return dot + 1 == path.size() ? WORD{0} : ClampedWord(dot + 1);
}

void WriteFileTitle(OPENFILENAMEA& ofn, const std::string& title) {
    if (ofn.lpstrFileTitle == nullptr || ofn.nMaxFileTitle == 0) {
        return;
    }
    const bool fits = title.size() < ofn.nMaxFileTitle;
    const std::size_t copied = fits ? title.size() : 0;
    std::memcpy(ofn.lpstrFileTitle, title.data(), copied);
    ofn.lpstrFileTitle[copied] = '\0';
}

void WriteNeededSize(OPENFILENAMEA& ofn, std::size_t needed) {
    if (ofn.lpstrFile == nullptr || ofn.nMaxFile < 2) {
        return;
    }
    const WORD size = ClampedWord(needed);
    ofn.lpstrFile[0] = static_cast<char>(size & 0xFF);
    ofn.lpstrFile[1] = static_cast<char>(size >> 8);
}

} // namespace

std::string ResultText(const Selection& selection, bool listFormat) {
    if (selection.Names.size() == 1) {
        std::string text = JoinPath(selection.Folder, selection.Names.front());
        text.push_back('\0');
        if (listFormat) {
            text.push_back('\0');
        }
        return text;
    }
    std::string text = selection.Folder;
    text.push_back('\0');
    for (const std::string& name : selection.Names) {
        text += name;
        text.push_back('\0');
    }
    text.push_back('\0');
    return text;
}

bool WriteSelection(OPENFILENAMEA& ofn, const Selection& selection, bool listFormat) {
    const std::string text = ResultText(selection, listFormat);
    if (ofn.lpstrFile == nullptr || text.size() > ofn.nMaxFile) {
        WriteNeededSize(ofn, text.size());
        return false;
    }
    std::memcpy(ofn.lpstrFile, text.data(), text.size());
    if (selection.Names.size() == 1) {
        const std::string path = text.substr(0, text.find('\0'));
        const std::size_t nameOffset = path.size() - NameOf(path).size();
        ofn.nFileOffset = ClampedWord(nameOffset);
        ofn.nFileExtension = ExtensionOffset(path, nameOffset);
        WriteFileTitle(ofn, NameOf(path));
    } else {
        ofn.nFileOffset = ClampedWord(selection.Folder.size() + 1);
        ofn.nFileExtension = 0;
        WriteFileTitle(ofn, {});
    }
    return true;
}

} // namespace posix::comdlg
