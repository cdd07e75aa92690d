#include "platform/posix/gdi32/FontLibrary.h"

#include "platform/posix/gdi32/FontFace.h"
#include "platform/posix/gdi32/TextDecoding.h"

#include <fontconfig/fontconfig.h>
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace posix::gdi {

namespace {

std::string FaceName(const LOGFONTA& font) {
    return std::string(font.lfFaceName, strnlen(font.lfFaceName, LF_FACESIZE));
}

std::string Lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return text;
}

// Classic Windows interface faces that Linux systems lack, and the installed family that
// stands in for them. The classic faces are narrow bitmap faces, about 5 pixels a character
// at 8 points; layouts made for them fit only a narrow outline face, and fontconfig's default
// sans face, or even an Arial-compatible one, overflows their controls. Arial needs no entry:
// fontconfig already aliases it to a metric-compatible family. Names are lowercase.
struct StandIn {
    const char* Face;
    const char* Family;
};
constexpr StandIn StandIns[] = {
    {"ms sans serif", "Nimbus Sans Narrow"}, {"microsoft sans serif", "Nimbus Sans Narrow"},
    {"ms shell dlg", "Nimbus Sans Narrow"},  {"ms shell dlg 2", "Nimbus Sans Narrow"},
    {"tahoma", "Nimbus Sans Narrow"},
};

// The family to try after the named face when that face is not installed; null when none.
const char* StandInFamily(const std::string& lowercaseName) {
    for (const StandIn& standIn : StandIns) {
        if (lowercaseName == standIn.Face) {
            return standIn.Family;
        }
    }
    return nullptr;
}

// The generic family that stands in when the named face is not installed.
const char* GenericFamily(BYTE pitchAndFamily) {
    const BYTE family = pitchAndFamily & 0xF0u;
    if ((pitchAndFamily & 0x03u) == FIXED_PITCH || family == FF_MODERN) {
        return "monospace";
    }
    return family == FF_ROMAN ? "serif" : "sans-serif";
}

// Fontconfig keeps weights either as integers or as doubles, depending on the face.
double NumberOf(FcPattern* pattern, const char* property, double fallback) {
    int integer = 0;
    if (FcPatternGetInteger(pattern, property, 0, &integer) == FcResultMatch) {
        return integer;
    }
    double real = 0;
    if (FcPatternGetDouble(pattern, property, 0, &real) == FcResultMatch) {
        return real;
    }
    return fallback;
}

// Fontconfig ranks a family's Type 1 file and its OpenType twin alike. FreeType hints Type 1
// outlines weakly, so their stems blur at interface sizes; the best-ranked family is drawn
// from another of its files when one is installed.
FcPattern* PreferredOutline(const FcFontSet* ranked) {
    if (ranked->nfont == 0) {
        return nullptr;
    }
    FcPattern* best = ranked->fonts[0];
    FcChar8* bestFamily = nullptr;
    if (FcPatternGetString(best, FC_FAMILY, 0, &bestFamily) != FcResultMatch) {
        return best;
    }
    for (int i = 0; i < ranked->nfont; ++i) {
        FcPattern* candidate = ranked->fonts[i];
        FcChar8* family = nullptr;
        FcChar8* format = nullptr;
        if (FcPatternGetString(candidate, FC_FAMILY, 0, &family) != FcResultMatch ||
            FcStrCmp(family, bestFamily) != 0) {
            break;
        }
        if (FcPatternGetString(candidate, FC_FONTFORMAT, 0, &format) != FcResultMatch ||
            FcStrCmp(format, reinterpret_cast<const FcChar8*>("Type 1")) != 0) {
            return candidate;
        }
    }
    return best;
}

std::optional<FontMatch> MatchOf(FcPattern* found, LONG weight, bool italic) {
    FcChar8* file = nullptr;
    if (FcPatternGetString(found, FC_FILE, 0, &file) != FcResultMatch) {
        return std::nullopt;
    }
    FontMatch match;
    match.File = reinterpret_cast<const char*>(file);
    match.Index = static_cast<int>(NumberOf(found, FC_INDEX, 0));
    FcChar8* family = nullptr;
    if (FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch) {
        match.Family = reinterpret_cast<const char*>(family);
    }
    const double foundWeight = NumberOf(found, FC_WEIGHT, FC_WEIGHT_REGULAR);
    const double foundSlant = NumberOf(found, FC_SLANT, FC_SLANT_ROMAN);
    match.Embolden = weight >= FW_SEMIBOLD && foundWeight < FC_WEIGHT_DEMIBOLD;
    match.Oblique = italic && foundSlant == FC_SLANT_ROMAN;
    return match;
}

// Fontconfig is released at exit, so that leak checkers see only real leaks.
bool FontconfigReady() {
    static const bool ready = [] {
        if (FcInit() != FcTrue) {
            return false;
        }
        std::atexit(FcFini);
        return true;
    }();
    return ready;
}

FaceDesign DesignOf(FT_Face face) {
    FaceDesign design;
    if (face->units_per_EM == 0) {
        return design;
    }
    design.UnitsPerEm = face->units_per_EM;
    design.LineAscent = face->ascender;
    design.LineDescent = -face->descender;
    design.LineGap = std::max(0, face->height - face->ascender + face->descender);
    design.WinAscent = design.LineAscent;
    design.WinDescent = design.LineDescent;
    design.MaximumAdvance = face->max_advance_width;
    design.UnderlinePosition = face->underline_position;
    design.UnderlineThickness = face->underline_thickness;
    design.FixedPitch = FT_IS_FIXED_WIDTH(face);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 != nullptr && os2->version != 0xFFFFu) {
        if (os2->usWinAscent + os2->usWinDescent > 0) {
            design.WinAscent = os2->usWinAscent;
            design.WinDescent = os2->usWinDescent;
        }
        design.AverageWidth = std::max(0, int{os2->xAvgCharWidth});
        design.StrikeoutPosition = std::max(0, int{os2->yStrikeoutPosition});
        design.StrikeoutThickness = std::max(0, int{os2->yStrikeoutSize});
    }
    if (design.WinAscent + design.WinDescent <= 0) {
        design.WinAscent = design.UnitsPerEm * 4 / 5;
        design.WinDescent = design.UnitsPerEm - design.WinAscent;
    }
    return design;
}

} // namespace

std::shared_ptr<FontLibrary> FontLibrary::Instance() {
    static const std::shared_ptr<FontLibrary> instance = []() -> std::shared_ptr<FontLibrary> {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            return nullptr;
        }
        return std::shared_ptr<FontLibrary>(new FontLibrary(library));
    }();
    return instance;
}

FontLibrary::~FontLibrary() {
    FT_Done_FreeType(library_);
}

std::optional<FontMatch> FontLibrary::Match(const LOGFONTA& font) {
    const LONG weight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    const MatchKey key{Lowercase(FaceName(font)), weight, font.lfItalic != 0,
                       font.lfPitchAndFamily};
    const auto known = matches_.find(key);
    if (known != matches_.end()) {
        return known->second;
    }
    std::optional<FontMatch> match = QueryFontconfig(key);
    matches_.emplace(key, match);
    return match;
}

std::optional<FontMatch> FontLibrary::QueryFontconfig(const MatchKey& key) {
    if (!FontconfigReady()) {
        return std::nullopt;
    }
    const auto& [name, weight, italic, pitchAndFamily] = key;
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) {
        return std::nullopt;
    }
    if (!name.empty()) {
        const std::string utf8 = TextToUtf8(name);
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8.c_str()));
    }
    if (const char* standIn = StandInFamily(name)) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(standIn));
    }
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(GenericFamily(pitchAndFamily)));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(std::clamp(weight, 1, 1000)));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* ranked = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    FcPatternDestroy(pattern);
    if (ranked == nullptr) {
        return std::nullopt;
    }
    std::optional<FontMatch> match;
    if (FcPattern* found = PreferredOutline(ranked)) {
        match = MatchOf(found, weight, italic);
    }
    FcFontSetDestroy(ranked);
    return match;
}

FaceDesign FontLibrary::Design(const std::string& file, int index) {
    const auto key = std::make_pair(file, index);
    const auto known = designs_.find(key);
    if (known != designs_.end()) {
        return known->second;
    }
    FaceDesign design;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) == 0) {
        design = DesignOf(face);
        FT_Done_Face(face);
    }
    designs_.emplace(key, design);
    return design;
}

std::shared_ptr<FontFace> FontLibrary::Face(const std::string& file, int index, long size) {
    const FaceKey key{file, index, size};
    const auto known = faces_.find(key);
    if (known != faces_.end()) {
        if (std::shared_ptr<FontFace> face = known->second.lock()) {
            return face;
        }
    }
    std::erase_if(faces_, [](const auto& entry) { return entry.second.expired(); });
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) != 0) {
        return nullptr;
    }
    if (FT_Set_Char_Size(face, 0, size, 72, 72) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    auto shared = std::make_shared<FontFace>(shared_from_this(), face);
    faces_[key] = shared;
    return shared;
}

} // namespace posix::gdi
