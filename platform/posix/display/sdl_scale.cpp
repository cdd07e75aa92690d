#include "platform/posix/display/sdl_scale.h"

#include <X11/Xlib.h>
#include <X11/Xresource.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace posix {

namespace {

constexpr double kBaseDpi = 96.0;

std::optional<double> NumberFrom(const char* text, std::size_t length) {
    double value = 0;
    const char* end = text + length;
    const auto [stop, error] = std::from_chars(text, end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The value of Xft.dpi in the resource text, or nothing.
std::optional<double> XftDpi(const char* resources) {
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (database == nullptr) {
        return std::nullopt;
    }
    char* type = nullptr;
    XrmValue value{};
    std::optional<double> dpi;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) == True &&
        value.addr != nullptr) {
        dpi = NumberFrom(value.addr, std::strlen(value.addr));
    }
    XrmDestroyDatabase(database);
    return dpi;
}

// The resource database the desktop keeps on the X server, read through a short connection
// of its own: SDL exposes its connection only through a window, and the scale must be known
// before the first one is made.
std::string ServerResources() {
    ::Display* x = XOpenDisplay(nullptr);
    if (x == nullptr) {
        return {};
    }
    const char* resources = XResourceManagerString(x);
    std::string text = resources != nullptr ? resources : "";
    XCloseDisplay(x);
    return text;
}

} // namespace

std::optional<int> ScaleFromText(const char* text) {
    if (text == nullptr) {
        return std::nullopt;
    }
    int scale = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, scale);
    if (error != std::errc{} || stop != end || scale < 1 || scale > kLargestScale) {
        return std::nullopt;
    }
    return scale;
}

std::optional<int> ScaleFromResources(const char* resources) {
    if (resources == nullptr) {
        return std::nullopt;
    }
    const std::optional<double> dpi = XftDpi(resources);
    if (!dpi || *dpi <= 0) {
        return std::nullopt;
    }
    const double steps = std::round(*dpi / kBaseDpi);
    return static_cast<int>(std::clamp(steps, 1.0, static_cast<double>(kLargestScale)));
}

int ChooseScale(const char* kestrinScale, const char* resources, const char* gdkScale) {
    if (const std::optional<int> scale = ScaleFromText(kestrinScale)) {
        return *scale;
    }
    if (const std::optional<int> scale = ScaleFromResources(resources)) {
        return *scale;
    }
    return ScaleFromText(gdkScale).value_or(1);
}

int DesktopScale() {
    const char* kestrinScale = std::getenv("KESTRIN_SCALE");
    if (const std::optional<int> scale = ScaleFromText(kestrinScale)) {
        return *scale;
    }
    return ChooseScale(nullptr, ServerResources().c_str(), std::getenv("GDK_SCALE"));
}

} // namespace posix
