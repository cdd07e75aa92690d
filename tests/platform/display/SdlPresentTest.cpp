#include "platform/posix/display/sdl_present.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using SurfacePointer = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

SurfacePointer NativeSurface(int width, int height, std::uint32_t format) {
    return SurfacePointer(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format),
                          &SDL_FreeSurface);
}

std::uint32_t NativePixel(const SDL_Surface& surface, int x, int y) {
    const auto* row = static_cast<const std::uint8_t*>(surface.pixels) + y * surface.pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

class SdlPresent : public testing::Test {
protected:
    SdlPresent() : pixels_(8 * 6, 0x00336699u) {
        window_ = posix::gdi::Surface{pixels_.data(), 8, 6, 8};
    }

    std::vector<std::uint32_t> pixels_;
    posix::gdi::Surface window_;
};

TEST_F(SdlPresent, OnlyAnAreaWhosePixelsChangedNeedsShowing) {
    const SurfacePointer native = NativeSurface(8, 6, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(native, nullptr);
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{0, 0, 8, 6}));
    EXPECT_EQ(NativePixel(*native, 7, 5) & 0xFFFFFFu, 0x336699u);
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{0, 0, 8, 6}))
        << "the same pixels painted again";
    window_.At(3, 2) = 0x00FF0000u;
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{4, 0, 4, 6}))
        << "the change lies outside the area";
    EXPECT_NE(NativePixel(*native, 3, 2) & 0xFFFFFFu, 0xFF0000u) << "nor is it copied";
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{2, 2, 2, 1}));
    EXPECT_EQ(NativePixel(*native, 3, 2) & 0xFFFFFFu, 0xFF0000u);
}

TEST_F(SdlPresent, PixelsAreConvertedToTheNativeFormatAndAreasClipped) {
    const SurfacePointer native = NativeSurface(4, 4, SDL_PIXELFORMAT_BGR888);
    ASSERT_NE(native, nullptr);
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{-3, -3, 100, 100}));
    EXPECT_EQ(NativePixel(*native, 3, 3) & 0xFFFFFFu, 0x996633u) << "blue and red swapped";
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{-3, -3, 100, 100}));
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{5, 0, 3, 3}))
        << "an area beyond the native surface";
}

TEST_F(SdlPresent, AtAScaleEachPixelBecomesABlockAndOnlyItsAreaIsTouched) {
    constexpr int kScale = 3;
    const SurfacePointer native = NativeSurface(8 * kScale, 6 * kScale, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(native, nullptr);
    SDL_FillRect(native.get(), nullptr, 0);
    window_.At(2, 1) = 0x00FF0000u;
    window_.At(3, 1) = 0x0000FF00u;
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{2, 1, 2, 1}, kScale));
    for (int y = 0; y < 6 * kScale; ++y) {
        for (int x = 0; x < 8 * kScale; ++x) {
            const bool inArea = y / kScale == 1 && (x / kScale == 2 || x / kScale == 3);
            const std::uint32_t expected = !inArea ? 0u : (x / kScale == 2 ? 0xFF0000u : 0x00FF00u);
            ASSERT_EQ(NativePixel(*native, x, y) & 0xFFFFFFu, expected) << x << ", " << y;
        }
    }
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{2, 1, 2, 1}, kScale))
        << "the same pixels painted again";
    const SDL_Rect shown = posix::ScaledArea(SDL_Rect{2, 1, 2, 1}, kScale);
    EXPECT_EQ(shown.x, 6);
    EXPECT_EQ(shown.y, 3);
    EXPECT_EQ(shown.w, 6);
    EXPECT_EQ(shown.h, 3);
}

TEST_F(SdlPresent, ADetailedPictureOfTheScaleIsShownAsItIs) {
    constexpr int kScale = 2;
    std::vector<std::uint32_t> detail(pixels_.size() * kScale * kScale, 0x00336699u);
    window_.DetailPixels = detail.data();
    window_.Detail = kScale;
    window_.DetailAt(5, 3) = 0x00FF0000u; // one quarter of the block of pixel (2, 1)
    const SurfacePointer native = NativeSurface(8 * kScale, 6 * kScale, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(native, nullptr);
    SDL_FillRect(native.get(), nullptr, 0);
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{2, 1, 1, 1}, kScale));
    EXPECT_EQ(NativePixel(*native, 5, 3) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(NativePixel(*native, 4, 2) & 0xFFFFFFu, 0x336699u);
    EXPECT_EQ(NativePixel(*native, 6, 3) & 0xFFFFFFu, 0u) << "outside the area";
    EXPECT_FALSE(posix::CopyChangedPixels(window_, *native, SDL_Rect{2, 1, 1, 1}, kScale));

    const SurfacePointer tripled = NativeSurface(8 * 3, 6 * 3, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(tripled, nullptr);
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *tripled, SDL_Rect{2, 1, 1, 1}, 3));
    EXPECT_EQ(NativePixel(*tripled, 8, 5) & 0xFFFFFFu, 0x336699u)
        << "a picture of another fineness is not used";
}

TEST_F(SdlPresent, AtAScaleANativeSurfaceTooSmallForWholeBlocksIsClipped) {
    const SurfacePointer native = NativeSurface(5, 5, SDL_PIXELFORMAT_RGB888);
    ASSERT_NE(native, nullptr);
    SDL_FillRect(native.get(), nullptr, 0);
    EXPECT_TRUE(posix::CopyChangedPixels(window_, *native, SDL_Rect{0, 0, 8, 6}, 2));
    EXPECT_EQ(NativePixel(*native, 3, 3) & 0xFFFFFFu, 0x336699u);
    EXPECT_EQ(NativePixel(*native, 4, 4) & 0xFFFFFFu, 0u) << "no half block at the edge";
}

} // namespace
