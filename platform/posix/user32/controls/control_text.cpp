// Text measurement on a screen context with the control's font selected.

#include "platform/posix/user32/controls/control_text.h"

#include <algorithm>
#include <limits>

namespace posix {
namespace {

// A screen context with a font selected, for measuring only.
class MeasuringContext {
public:
    explicit MeasuringContext(HFONT font) : dc_(GetDC(nullptr)), font_(dc_, FontOrDefault(font)) {}
    ~MeasuringContext() { ReleaseDC(nullptr, dc_); }
    MeasuringContext(const MeasuringContext&) = delete;
    MeasuringContext& operator=(const MeasuringContext&) = delete;

    HDC Dc() const { return dc_; }

private:
    HDC dc_;
    SelectedFont font_;
};

int LengthOf(std::string_view text) {
    return static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
}

} // namespace

HFONT FontOrDefault(HFONT font) {
    LOGFONTA description{};
    if (font != nullptr &&
        GetObjectA(font, sizeof description, &description) == sizeof description) {
        return font;
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

TEXTMETRICA MetricsOf(HFONT font) {
    const MeasuringContext context(font);
    TEXTMETRICA metrics{};
    GetTextMetricsA(context.Dc(), &metrics);
    return metrics;
}

int LineHeightOf(HFONT font) {
    return std::max(1, static_cast<int>(MetricsOf(font).tmHeight));
}

SIZE ExtentOf(HFONT font, std::string_view text) {
    const MeasuringContext context(font);
    SIZE size{};
    GetTextExtentPoint32A(context.Dc(), text.data(), LengthOf(text), &size);
    return size;
}

SIZE FormattedExtentOf(HFONT font, std::string_view text, int width, UINT format) {
    const MeasuringContext context(font);
    RECT rect{0, 0, width, 0};
    DrawTextA(context.Dc(), text.data(), LengthOf(text), &rect, format | DT_CALCRECT);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

SelectedFont::SelectedFont(HDC dc, HFONT font) : dc_(dc), previous_(SelectObject(dc, font)) {}

SelectedFont::~SelectedFont() {
    if (previous_ != nullptr) {
        SelectObject(dc_, previous_);
    }
}

} // namespace posix
