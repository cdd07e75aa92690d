#include "toolkit/TGraphicTool.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t FontFieldOffset(std::size_t offsetInLogFont) {
    return FontSettingsOffset + offsetInLogFont;
}
constexpr std::size_t FontWeightOffset = FontFieldOffset(offsetof(LOGFONTA, lfWeight));
constexpr std::size_t FontItalicOffset = FontFieldOffset(offsetof(LOGFONTA, lfItalic));
constexpr std::size_t FontUnderlineOffset = FontFieldOffset(offsetof(LOGFONTA, lfUnderline));
constexpr std::size_t FontStrikeOutOffset = FontFieldOffset(offsetof(LOGFONTA, lfStrikeOut));
constexpr std::size_t FontCharsetOffset = FontFieldOffset(offsetof(LOGFONTA, lfCharSet));
constexpr std::size_t FontFaceOffset = FontFieldOffset(offsetof(LOGFONTA, lfFaceName));
constexpr std::size_t FontFaceLimit = LF_FACESIZE - 1;
static_assert(FontSettingsOffset + sizeof(LOGFONTA) == sizeof(TToolData::Bytes));

constexpr const char* DefaultFontFace = "MS Sans Serif";

// Brush tools alive now. ControlBrush answers brush tools while any exist.
std::int32_t liveBrushTools = 0;

bool FitsInBlock(std::size_t offset, std::size_t size) {
    return offset <= sizeof(TToolData::Bytes) && size <= sizeof(TToolData::Bytes) - offset;
}

std::uint32_t ReadWord(const TToolData& data, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, data.Bytes.data() + offset, sizeof value);
    return value;
}

void WriteWord(TToolData& data, std::size_t offset, std::uint32_t value) {
    std::memcpy(data.Bytes.data() + offset, &value, sizeof value);
}

// Stores the byte and reports whether it changed.
bool StoreByte(TToolData& data, std::size_t offset, std::uint8_t value) {
    if (data.Bytes[offset] == value) {
        return false;
    }
    data.Bytes[offset] = value;
    return true;
}

void MakeFontHandle(TGraphicTool* tool) {
    const LOGFONTA font = tool->FontSettings();
    tool->Handle = CreateFontIndirectA(&font);
}

LOGBRUSH BrushRecord(const TGraphicTool* tool) {
    const std::uint32_t bitmap = tool->Field(BrushBitmapOffset);
    const std::uint8_t style = tool->ToolData.Bytes[BrushStyleOffset];
    if (bitmap != 0) {
        return {BS_PATTERN, 0, bitmap};
    }
    if (style == BrushStyleSolid) {
        return {BS_SOLID, ResolveColor(tool->Color()), 0};
    }
    if (style == BrushStyleClear) {
        return {BS_NULL, 0, 0};
    }
    return {BS_HATCHED, ResolveColor(tool->Field(BrushLineColorOffset)),
            static_cast<ULONG_PTR>(style - BrushStyleFirstHatch)};
}

void MakeBrushHandle(TGraphicTool* tool) {
    const LOGBRUSH brush = BrushRecord(tool);
    tool->Handle = CreateBrushIndirect(&brush);
}

} // namespace

TGraphicTool::~TGraphicTool() {
    if (Kind == KindBrush) {
        --liveBrushTools;
    }
    if (Handle != nullptr) {
        DeleteObject(Handle);
    }
}

TColor TGraphicTool::Color() const {
    return ReadWord(ToolData, ToolColorOffset);
}

LOGFONTA TGraphicTool::FontSettings() const {
    LOGFONTA font;
    std::memcpy(&font, ToolData.Bytes.data() + FontSettingsOffset, sizeof font);
    return font;
}

std::uint32_t TGraphicTool::Field(std::size_t offset) const {
    return FitsInBlock(offset, sizeof(std::uint32_t)) ? ReadWord(ToolData, offset) : 0;
}

TGraphicTool* MakeFontTool() {
    TGraphicTool* tool = TGraphicTool::Created(new TGraphicTool);
    tool->Kind = TGraphicTool::KindFont;
    tool->CreateSimilar = &MakeFontTool;
    tool->MakeHandle = &MakeFontHandle;
    WriteWord(tool->ToolData, ToolColorOffset, ColorWindowText);
    tool->ToolData.Bytes[FontCharsetOffset] = DEFAULT_CHARSET;
    std::memcpy(tool->ToolData.Bytes.data() + FontFaceOffset, DefaultFontFace,
                std::strlen(DefaultFontFace));
    return tool;
}

TGraphicTool* MakeBrushTool() {
    TGraphicTool* tool = TGraphicTool::Created(new TGraphicTool);
    tool->Kind = TGraphicTool::KindBrush;
    tool->CreateSimilar = &MakeBrushTool;
    tool->MakeHandle = &MakeBrushHandle;
    WriteWord(tool->ToolData, ToolColorOffset, ColorButtonFace);
    ++liveBrushTools;
    return tool;
}

bool BrushToolsInUse() {
    return liveBrushTools > 0;
}

HGDIOBJ GetToolHandle(TGraphicTool* tool) {
    if (tool == nullptr) {
        return nullptr;
    }
    if (tool->Handle != nullptr && ResolveColor(tool->Color()) != tool->HandleColor) {
        ToolChanged(tool);
    }
    if (tool->Handle != nullptr) {
        return tool->Handle;
    }
    if (tool->ParentTool != nullptr && tool->ParentTool->ToolData == tool->ToolData) {
        return GetToolHandle(tool->ParentTool);
    }
    tool->HandleColor = ResolveColor(tool->Color());
    if (tool->MakeHandle != nullptr) {
        tool->MakeHandle(tool);
    }
    return tool->Handle;
}

void ToolChanged(TGraphicTool* tool) {
    if (tool->Handle != nullptr) {
        HGDIOBJ old = tool->Handle;
        tool->Handle = nullptr;
        tool->ChangeNotify.Call(tool);
        DeleteObject(old);
    }
    tool->ChangeNotify.Call(tool);
}

TGraphicTool* AssignTool(TGraphicTool* target, TGraphicTool* source) {
    if (source == nullptr) {
        Free(target);
        return nullptr;
    }
    if (target == nullptr) {
        target = source->CreateSimilar();
    }
    if (target == source || (target->Handle != nullptr && target->Handle == source->Handle)) {
        return target;
    }
    ToolChanged(target);
    target->ToolData = source->ToolData;
    ToolChanged(target);
    return target;
}

void SetToolField(TGraphicTool* tool, std::size_t offset, std::uint32_t value) {
    if (!FitsInBlock(offset, sizeof value) || ReadWord(tool->ToolData, offset) == value) {
        return;
    }
    WriteWord(tool->ToolData, offset, value);
    ToolChanged(tool);
}

void SetToolColor(TGraphicTool* tool, TColor color) {
    // HandleColor follows only a change: refreshing it for an unchanged system colour would
    // hide a change of the system colour from GetToolHandle and keep a stale object.
    if (tool->Color() == color) {
        return;
    }
    SetToolField(tool, ToolColorOffset, color);
    tool->HandleColor = ResolveColor(color);
}

void SetFontName(TGraphicTool* tool, std::string_view name) {
    name = name.substr(0, std::min(name.find('\0'), FontFaceLimit));
    char* face = reinterpret_cast<char*>(tool->ToolData.Bytes.data() + FontFaceOffset);
    const std::string_view current(
        face, static_cast<std::size_t>(std::find(face, face + LF_FACESIZE, '\0') - face));
    if (name == current) {
        return;
    }
    std::memset(face, 0, LF_FACESIZE);
    std::memcpy(face, name.data(), name.size());
    ToolChanged(tool);
}

void SetFontStyle(TGraphicTool* tool, std::uint8_t bits) {
    TToolData& data = tool->ToolData;
    const auto weight = static_cast<std::int32_t>(ReadWord(data, FontWeightOffset));
    std::int32_t newWeight = weight;
    if ((bits & FontStyleBold) != 0) {
        newWeight = weight < FW_BOLD ? FW_BOLD : weight;
    } else if (weight >= FW_BOLD) {
        newWeight = 0;
    }
    bool changed = newWeight != weight;
    WriteWord(data, FontWeightOffset, static_cast<std::uint32_t>(newWeight));
    changed |= StoreByte(data, FontItalicOffset, (bits & FontStyleItalic) != 0 ? 1 : 0);
    changed |= StoreByte(data, FontUnderlineOffset, (bits & FontStyleUnderline) != 0 ? 1 : 0);
    changed |= StoreByte(data, FontStrikeOutOffset, (bits & FontStyleStrikeOut) != 0 ? 1 : 0);
    if (changed) {
        ToolChanged(tool);
    }
}

std::uint8_t GetFontStyle(const TGraphicTool* tool) {
    const TToolData& data = tool->ToolData;
    std::uint8_t bits = 0;
    if (static_cast<std::int32_t>(ReadWord(data, FontWeightOffset)) >= FW_BOLD) {
        bits |= FontStyleBold;
    }
    if (data.Bytes[FontItalicOffset] != 0) {
        bits |= FontStyleItalic;
    }
    if (data.Bytes[FontUnderlineOffset] != 0) {
        bits |= FontStyleUnderline;
    }
    if (data.Bytes[FontStrikeOutOffset] != 0) {
        bits |= FontStyleStrikeOut;
    }
    return bits;
}

void SetFontCharset(TGraphicTool* tool, std::uint8_t charset) {
    if (StoreByte(tool->ToolData, FontCharsetOffset, charset)) {
        ToolChanged(tool);
    }
}

void SetBrushStyle(TGraphicTool* tool, std::uint8_t style) {
    if (StoreByte(tool->ToolData, BrushStyleOffset, style)) {
        ToolChanged(tool);
    }
}
