#pragma once

// The process's one FreeType library and its font matching through fontconfig. Faces are
// shared: every font of the same file and size draws with one loaded face.

#include "platform/win32.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace posix::gdi {

class FontFace;

struct FontMatch {
    std::string File;
    int Index = 0;         // face index within the file
    std::string Family;    // family name of the matched face
    bool Embolden = false; // bold was asked for and the face is not bold
    bool Oblique = false;  // italic was asked for and the face is upright
};

// Measures of a face in its design units, from which sizes in pixels are worked out.
struct FaceDesign {
    int UnitsPerEm = 1000;
    int WinAscent = 800; // the ascent and descent that make the cell height
    int WinDescent = 200;
    int LineAscent = 800; // the ascent, descent and gap of the face's line spacing
    int LineDescent = 200;
    int LineGap = 0;
    int AverageWidth = 0; // 0 when the face does not say
    int MaximumAdvance = 0;
    int UnderlinePosition = -100; // centre of the underline, negative below the baseline
    int UnderlineThickness = 50;
    int StrikeoutPosition = 0; // top of the strike-out above the baseline; 0 when unknown
    int StrikeoutThickness = 0;
    bool FixedPitch = false;
};

class FontLibrary : public std::enable_shared_from_this<FontLibrary> {
public:
    // Null when FreeType cannot start.
    static std::shared_ptr<FontLibrary> Instance();
    ~FontLibrary();
    FontLibrary(const FontLibrary&) = delete;
    FontLibrary& operator=(const FontLibrary&) = delete;

    // The installed scalable face closest to the description: its face name first, then the
    // stand-in family of a classic interface face, then the generic family its pitch and
    // family ask for (sans-serif unless it asks otherwise).
    // Empty when nothing usable is installed.
    std::optional<FontMatch> Match(const LOGFONTA& font);
    // The design measures of a face; the defaults when the file cannot be read.
    FaceDesign Design(const std::string& file, int index);
    // The face of a file at a size in 1/64 pixel per em; null when it cannot be loaded.
    std::shared_ptr<FontFace> Face(const std::string& file, int index, long size);

    FT_Library Library() const { return library_; }

private:
    explicit FontLibrary(FT_Library library) : library_(library) {}

    using MatchKey = std::tuple<std::string, LONG, bool, BYTE>;
    using FaceKey = std::tuple<std::string, int, long>;

    std::optional<FontMatch> QueryFontconfig(const MatchKey& key);

    FT_Library library_;
    std::map<MatchKey, std::optional<FontMatch>> matches_;
    std::map<FaceKey, std::weak_ptr<FontFace>> faces_;
    std::map<std::pair<std::string, int>, FaceDesign> designs_;
};

} // namespace posix::gdi
