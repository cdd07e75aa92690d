#include "platform/posix/gdi32/Region.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <utility>

namespace posix::gdi {

namespace {

using Span = std::pair<LONG, LONG>;

struct Band {
    LONG Top;
    LONG Bottom;
    std::vector<Span> Spans;
};

// The horizontal spans of the rectangles that cover row y, from left to right.
std::vector<Span> SpansAt(const std::vector<RECT>& rects, LONG y) {
    std::vector<Span> spans;
    for (const RECT& rect : rects) {
        if (rect.top <= y && y < rect.bottom) {
            spans.emplace_back(rect.left, rect.right);
        }
    }
    return spans;
}

bool Covers(const std::vector<Span>& spans, LONG x) {
    return std::any_of(spans.begin(), spans.end(),
                       [x](const Span& span) { return span.first <= x && x < span.second; });
}

bool Keeps(Region::Operation operation, bool inFirst, bool inSecond) {
    switch (operation) {
    case Region::Operation::And:
        return inFirst && inSecond;
    case Region::Operation::Or:
        return inFirst || inSecond;
    case Region::Operation::Xor:
        return inFirst != inSecond;
    case Region::Operation::Diff:
        return inFirst && !inSecond;
    }
    return false;
}

void SortUnique(std::vector<LONG>& values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
}

std::vector<Span> CombineSpans(const std::vector<Span>& first, const std::vector<Span>& second,
                               Region::Operation operation) {
    std::vector<LONG> xs;
    for (const std::vector<Span>* spans : {&first, &second}) {
        for (const Span& span : *spans) {
            xs.push_back(span.first);
            xs.push_back(span.second);
        }
    }
    SortUnique(xs);
    std::vector<Span> result;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        if (!Keeps(operation, Covers(first, xs[i]), Covers(second, xs[i]))) {
            continue;
        }
        if (!result.empty() && result.back().second == xs[i]) {
            result.back().second = xs[i + 1];
        } else {
            result.emplace_back(xs[i], xs[i + 1]);
        }
    }
    return result;
}

LONG SaturatingAdd(LONG value, int delta) {
    const std::int64_t sum = std::int64_t{value} + delta;
    return static_cast<LONG>(std::clamp<std::int64_t>(sum, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

} // namespace

bool IsEmptyRect(const RECT& rect) {
    return rect.left >= rect.right || rect.top >= rect.bottom;
}

RECT IntersectRects(const RECT& a, const RECT& b) {
    const RECT result{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                      std::min(a.bottom, b.bottom)};
    return IsEmptyRect(result) ? RECT{0, 0, 0, 0} : result;
}

bool Covers(const RECT& outer, const RECT& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

Region::Region(const RECT& rect) {
    if (!IsEmptyRect(rect)) {
        rects_.push_back(rect);
    }
}

Region Region::FromRects(std::span<const RECT> rects) {
    Region result;
    for (const RECT& rect : rects) {
        result = result.Combined(Region(rect), Operation::Or);
    }
    return result;
}

int Region::Complexity() const {
    if (rects_.empty()) {
        return NULLREGION;
    }
    return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT Region::Bounds() const {
    if (rects_.empty()) {
        return RECT{0, 0, 0, 0};
    }
    RECT bounds = rects_.front();
    for (const RECT& rect : rects_) {
        bounds.left = std::min(bounds.left, rect.left);
        bounds.right = std::max(bounds.right, rect.right);
        bounds.bottom = std::max(bounds.bottom, rect.bottom);
    }
    return bounds;
}

bool Region::Contains(int x, int y) const {
    return std::any_of(rects_.begin(), rects_.end(), [x, y](const RECT& rect) {
        return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
    });
}

void Region::Offset(int dx, int dy) {
    std::vector<RECT> moved;
    moved.reserve(rects_.size());
    bool clamped = false;
    for (const RECT& rect : rects_) {
        const RECT shifted{SaturatingAdd(rect.left, dx), SaturatingAdd(rect.top, dy),
                           SaturatingAdd(rect.right, dx), SaturatingAdd(rect.bottom, dy)};
        clamped = clamped || shifted.right - shifted.left != rect.right - rect.left ||
                  shifted.bottom - shifted.top != rect.bottom - rect.top;
        moved.push_back(shifted);
    }
    // Clamping can squash rectangles together, so the canonical form is rebuilt.
    rects_ = clamped ? FromRects(moved).rects_ : std::move(moved);
}

// The result of combining two regions when it is one of them or empty, found from their
// bounds alone; none when the bands have to be worked out. Windows clip one another mostly
// by rectangles that lie apart or inside each other, and this spares those the allocations.
std::optional<Region> Region::Shortcut(const Region& other, Operation operation) const {
    if (other.IsEmpty()) {
        return operation == Operation::And ? Region() : *this;
    }
    if (IsEmpty()) {
        return operation == Operation::Or || operation == Operation::Xor ? other : Region();
    }
    const RECT bounds = Bounds();
    const RECT otherBounds = other.Bounds();
    if (IsEmptyRect(IntersectRects(bounds, otherBounds))) {
        if (operation == Operation::And) {
            return Region();
        }
        if (operation == Operation::Diff) {
            return *this;
        }
        return std::nullopt;
    }
    if (operation == Operation::And || operation == Operation::Diff) {
        const bool coversThis = other.rects_.size() == 1 && Covers(otherBounds, bounds);
        if (coversThis) {
            return operation == Operation::And ? *this : Region();
        }
        if (operation == Operation::And && rects_.size() == 1 && Covers(bounds, otherBounds)) {
            return other;
        }
    }
    return std::nullopt;
}

Region Region::Combined(const Region& other, Operation operation) const {
    if (std::optional<Region> result = Shortcut(other, operation)) {
        return std::move(*result);
    }
    std::vector<LONG> ys;
    for (const std::vector<RECT>* rects : {&rects_, &other.rects_}) {
        for (const RECT& rect : *rects) {
            ys.push_back(rect.top);
            ys.push_back(rect.bottom);
        }
    }
    SortUnique(ys);
    std::vector<Band> bands;
    for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
        std::vector<Span> spans =
            CombineSpans(SpansAt(rects_, ys[i]), SpansAt(other.rects_, ys[i]), operation);
        if (spans.empty()) {
            continue;
        }
        if (!bands.empty() && bands.back().Bottom == ys[i] && bands.back().Spans == spans) {
            bands.back().Bottom = ys[i + 1];
        } else {
            bands.push_back(Band{ys[i], ys[i + 1], std::move(spans)});
        }
    }
    Region result;
    for (const Band& band : bands) {
        for (const Span& span : band.Spans) {
            result.rects_.push_back(RECT{span.first, band.Top, span.second, band.Bottom});
        }
    }
    return result;
}

bool Region::operator==(const Region& other) const {
    return std::equal(rects_.begin(), rects_.end(), other.rects_.begin(), other.rects_.end(),
                      [](const RECT& a, const RECT& b) {
                          return a.left == b.left && a.top == b.top && a.right == b.right &&
                                 a.bottom == b.bottom;
                      });
}

} // namespace posix::gdi
