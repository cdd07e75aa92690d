// Reads arbitrary bytes as a text drawing call: the text, its place (near the surface or
// anywhere in the 32-bit range), a font height and style, a clip rectangle, given advances,
// the background mode, ExtTextOutA or DrawTextA, and the detail of a surface on a scaled
// display. The text is drawn on a plain surface and on one with that detail.
//
// Checked: both surfaces end with the same pixels of their own (what the program reads back
// does not depend on the display's scale); the sanitizers check every pixel write stays in
// its picture.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 24;

struct Call {
    int Detail = 2;
    LONG FontHeight = 0;
    BYTE Style = 0;
    int X = 0;
    int Y = 0;
    UINT Options = 0;
    bool Transparent = false;
    bool WithAdvances = false;
    bool UseDrawText = false;
    UINT DrawFormat = 0;
    RECT Clip{};
    std::vector<char> Text;
};

// Takes bytes from the front of the input, zeros once it is used up.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t Int32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | Byte();
        }
        std::int32_t result = 0;
        std::memcpy(&result, &value, sizeof result);
        return result;
    }
    std::int8_t Small() { return static_cast<std::int8_t>(Byte()); }
    std::vector<char> Rest() {
        std::vector<char> rest(data_ + at_, data_ + size_);
        at_ = size_;
        return rest;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

Call ReadCall(Reader& in) {
    Call call;
    call.Detail = in.Byte() % 3 + 2;
    call.FontHeight = static_cast<LONG>(in.Byte() % 160) - 80;
    call.Style = in.Byte();
    const std::uint8_t flags = in.Byte();
    const bool anywhere = (flags & 1) != 0;
    call.X = anywhere ? in.Int32() : in.Small();
    call.Y = anywhere ? in.Int32() : in.Small();
    call.Options = ((flags & 2) != 0 ? ETO_CLIPPED : 0) | ((flags & 4) != 0 ? ETO_OPAQUE : 0);
    call.Transparent = (flags & 8) != 0;
    call.WithAdvances = (flags & 16) != 0;
    call.UseDrawText = (flags & 32) != 0;
    call.DrawFormat = (flags & 64) != 0 ? DT_WORDBREAK | DT_EXPANDTABS : DT_SINGLELINE;
    call.Clip = RECT{in.Small(), in.Small(), in.Small(), in.Small()};
    call.Text = in.Rest();
    return call;
}

HFONT MakeFont(const Call& call) {
    LOGFONTA description{};
    description.lfHeight = call.FontHeight;
    description.lfWeight = (call.Style & 1) != 0 ? FW_BOLD : FW_NORMAL;
    description.lfItalic = (call.Style & 2) != 0 ? 1 : 0;
    description.lfUnderline = (call.Style & 4) != 0 ? 1 : 0;
    description.lfStrikeOut = (call.Style & 8) != 0 ? 1 : 0;
    std::strncpy(description.lfFaceName, "MS Sans Serif", LF_FACESIZE - 1);
    return CreateFontIndirectA(&description);
}

// The surface's own pixels after the call, drawn at the given detail.
std::vector<std::uint32_t> Draw(const Call& call, HFONT font, int detail) {
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0x00FFFFFFu);
    std::vector<std::uint32_t> detailPixels(pixels.size() * detail * detail, 0x00FFFFFFu);
    const posix::gdi::Surface surface{
        pixels.data(), kWidth, kHeight, kWidth, detail > 1 ? detailPixels.data() : nullptr, detail};
    const HDC dc =
        posix::gdi::CreateSurfaceDC(surface, POINT{0, 0}, posix::gdi::Region(surface.Bounds()));
    SelectObject(dc, font);
    SetBkMode(dc, call.Transparent ? TRANSPARENT : OPAQUE);
    const int length = static_cast<int>(call.Text.size());
    if (call.UseDrawText) {
        RECT area = call.Clip;
        DrawTextA(dc, call.Text.data(), length, &area, call.DrawFormat);
    } else {
        std::vector<int> advances;
        for (const char byte : call.Text) {
            advances.push_back(static_cast<signed char>(byte));
        }
        ExtTextOutA(dc, call.X, call.Y, call.Options, &call.Clip, call.Text.data(),
                    static_cast<UINT>(length), call.WithAdvances ? advances.data() : nullptr);
    }
    DeleteDC(dc);
    return pixels;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    const Call call = ReadCall(in);
    const HFONT font = MakeFont(call);
    if (Draw(call, font, 1) != Draw(call, font, call.Detail)) {
        std::fprintf(stderr, "the surface's own pixels depend on its detail\n");
        std::abort();
    }
    DeleteObject(font);
    return 0;
}
