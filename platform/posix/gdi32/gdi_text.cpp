// Text output and measurement on one line.

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/GlyphRun.h"
#include "platform/posix/gdi32/Painter.h"
#include "platform/posix/gdi32/RealizedFont.h"
#include "platform/posix/gdi32/TextDecoding.h"
#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

using posix::gdi::DeviceContext;
using posix::gdi::ObjectTable;
using posix::gdi::RealizedFont;
using posix::gdi::RunLayout;

namespace {

DeviceContext* FindDC(HDC dc) {
    return ObjectTable::Instance().FindAs<DeviceContext>(dc);
}

// Explicit advances are given per byte; a character takes the sum of its bytes' advances.
std::vector<int> CharacterAdvances(std::string_view bytes, std::u32string_view text,
                                   const int* advances) {
    std::vector<int> result;
    result.reserve(text.size());
    const bool utf8 = posix::gdi::IsValidUtf8(bytes);
    std::size_t at = 0;
    for (const char32_t character : text) {
        const std::size_t length =
            utf8 ? posix::gdi::EncodeUtf8(std::u32string_view(&character, 1)).size() : 1;
        std::int64_t sum = 0;
        for (std::size_t i = 0; i < length && at < bytes.size(); ++i, ++at) {
            sum += advances[at];
        }
        result.push_back(static_cast<int>(std::clamp<std::int64_t>(sum, -65536, 65536)));
    }
    return result;
}

// Where the cell's left edge and top go for the context's text alignment.
POINT CellOrigin(const DeviceContext& context, RealizedFont& font, POINT reference, int width) {
    std::int64_t x = reference.x;
    std::int64_t y = reference.y;
    const UINT horizontal = context.TextAlign & TA_CENTER;
    if (horizontal == TA_RIGHT) {
        x -= width;
    } else if (horizontal == TA_CENTER) {
        x -= width / 2;
    }
    const UINT vertical = context.TextAlign & TA_BASELINE;
    if (vertical == TA_BASELINE) {
        y -= font.Metrics().Ascent;
    } else if (vertical == TA_BOTTOM) {
        y -= font.Height();
    }
    return POINT{static_cast<LONG>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX)),
                 static_cast<LONG>(std::clamp<std::int64_t>(y, INT32_MIN, INT32_MAX))};
}

// With TA_UPDATECP the text starts at the current position, which moves past it.
void AdvancePosition(DeviceContext& context, int width) {
    const UINT horizontal = context.TextAlign & TA_CENTER;
    std::int64_t x = context.Position.x;
    if (horizontal == TA_LEFT) {
        x += width;
    } else if (horizontal == TA_RIGHT) {
        x -= width;
    }
    context.Position.x = static_cast<LONG>(std::clamp<std::int64_t>(x, INT32_MIN, INT32_MAX));
}

} // namespace

BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text,
                        UINT length, const int* advances) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || (text == nullptr && length > 0) || length > INT32_MAX) {
        return FALSE;
    }
    if ((options & ETO_OPAQUE) != 0 && rect != nullptr) {
        posix::gdi::Painter(context->Target, context->Drawable())
            .FillSolid(context->ToSurface(*rect), posix::gdi::PixelFromColor(context->BkColor));
    }
    if (length == 0) {
        return TRUE;
    }
    const std::string_view bytes(text, length);
    const std::u32string decoded = posix::gdi::DecodeText(bytes);
    RealizedFont& font = context->Font();
    std::vector<int> given;
    if (advances != nullptr) {
        given = CharacterAdvances(bytes, decoded, advances);
    }
    const RunLayout layout =
        posix::gdi::LayOutRun(font, decoded, 0, advances != nullptr ? &given : nullptr);
    const bool updatePosition = (context->TextAlign & TA_UPDATECP) != 0;
    const POINT reference = updatePosition ? context->Position : POINT{x, y};
    const POINT cell = CellOrigin(*context, font, reference, layout.Width);
    std::optional<RECT> clip;
    if ((options & ETO_CLIPPED) != 0 && rect != nullptr) {
        clip = *rect;
    }
    posix::gdi::DrawRun(*context, font, decoded, layout, cell.x, cell.y, clip);
    if (updatePosition) {
        AdvancePosition(*context, layout.Width);
    }
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    if (length < 0) {
        return FALSE;
    }
    return ExtTextOutA(dc, x, y, 0, nullptr, text, static_cast<UINT>(length), nullptr);
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || size == nullptr || length < 0 || (text == nullptr && length > 0)) {
        return FALSE;
    }
    if (length == 0) {
        *size = SIZE{0, 0};
        return TRUE;
    }
    RealizedFont& font = context->Font();
    const std::u32string decoded =
        posix::gdi::DecodeText(std::string_view(text, static_cast<std::size_t>(length)));
    *size = SIZE{posix::gdi::LayOutRun(font, decoded, 0).Width, font.Height()};
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || metrics == nullptr) {
        return FALSE;
    }
    RealizedFont& font = context->Font();
    const posix::gdi::FontMetrics& m = font.Metrics();
    const LOGFONTA& description = font.Description();
    TEXTMETRICA result{};
    result.tmHeight = font.Height();
    result.tmAscent = m.Ascent;
    result.tmDescent = m.Descent;
    result.tmInternalLeading = m.InternalLeading;
    result.tmExternalLeading = m.ExternalLeading;
    result.tmAveCharWidth = m.AverageWidth;
    result.tmMaxCharWidth = m.MaximumWidth;
    result.tmWeight = description.lfWeight == FW_DONTCARE ? FW_NORMAL : description.lfWeight;
    result.tmDigitizedAspectX = 96;
    result.tmDigitizedAspectY = 96;
    result.tmFirstChar = 0x20;
    result.tmLastChar = 0xFF;
    result.tmDefaultChar = 0x1F;
    result.tmBreakChar = 0x20;
    result.tmItalic = description.lfItalic != 0 ? 1 : 0;
    result.tmUnderlined = description.lfUnderline != 0 ? 1 : 0;
    result.tmStruckOut = description.lfStrikeOut != 0 ? 1 : 0;
    // The TMPF_FIXED_PITCH bit is set for variable-pitch fonts, as Win32 reports it.
    result.tmPitchAndFamily =
        static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE | (m.FixedPitch ? 0 : TMPF_FIXED_PITCH) |
                          (description.lfPitchAndFamily & 0xF0u));
    result.tmCharSet = description.lfCharSet;
    *metrics = result;
    return TRUE;
}
