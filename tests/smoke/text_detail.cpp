// Compares a window's picture at a display scale with its picture at scale 1 enlarged by
// repeating each pixel as a block. Outside the given text areas the two must be identical;
// inside them the scaled picture must show text at least as dark as the enlarged one and
// with no larger share of partly inked pixels (the grey fringes that make letters soft), and
// it must differ from the enlarged one somewhere (otherwise no finer text was drawn).
// Prints the figures, exits 0 when every condition holds, 1 when one does not, 2 on bad input.
// Pictures are binary PPM files (P6, 8 bits a channel).
// Usage: text_detail SCALE ONE.ppm SCALED.ppm LEFT,TOP,RIGHT,BOTTOM...
//        (text areas in scale-1 pixels, right and bottom exclusive)

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Picture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Rgb;

    // The pixel's brightness, 0 to 255.
    int Grey(int x, int y) const {
        const std::size_t at = (static_cast<std::size_t>(y) * Width + x) * 3;
        return (Rgb[at] * 299 + Rgb[at + 1] * 587 + Rgb[at + 2] * 114 + 500) / 1000;
    }
    bool SameColour(int x, int y, const Picture& other, int ox, int oy) const {
        const std::size_t a = (static_cast<std::size_t>(y) * Width + x) * 3;
        const std::size_t b = (static_cast<std::size_t>(oy) * other.Width + ox) * 3;
        return Rgb[a] == other.Rgb[b] && Rgb[a + 1] == other.Rgb[b + 1] &&
               Rgb[a + 2] == other.Rgb[b + 2];
    }
};

struct Area {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

// The next header number of a PPM file, past white space and comments.
std::optional<int> HeaderNumber(std::istream& in) {
    for (int c = in.peek(); c == '#' || std::isspace(c) != 0; c = in.peek()) {
        if (c == '#') {
            std::string comment;
            std::getline(in, comment);
        } else {
            in.get();
        }
    }
    int value = 0;
    if (!(in >> value) || value <= 0 || value > 65535) {
        return std::nullopt;
    }
    return value;
}

std::optional<Picture> ReadPpm(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic(2, '\0');
    if (!in.read(magic.data(), 2) || magic != "P6") {
        return std::nullopt;
    }
    const std::optional<int> width = HeaderNumber(in);
    const std::optional<int> height = HeaderNumber(in);
    const std::optional<int> maximum = HeaderNumber(in);
    if (!width || !height || maximum != 255) {
        return std::nullopt;
    }
    in.get();
    Picture picture{*width, *height, {}};
    picture.Rgb.resize(static_cast<std::size_t>(*width) * *height * 3);
    if (!in.read(reinterpret_cast<char*>(picture.Rgb.data()),
                 static_cast<std::streamsize>(picture.Rgb.size()))) {
        return std::nullopt;
    }
    return picture;
}

std::optional<Area> ParseArea(const char* text) {
    Area area;
    char end = '\0';
    if (std::sscanf(text, "%d,%d,%d,%d%c", &area.Left, &area.Top, &area.Right, &area.Bottom,
                    &end) != 4 ||
        area.Left >= area.Right || area.Top >= area.Bottom) {
        return std::nullopt;
    }
    return area;
}

// Inked pixels of text areas: any darker than the face by more than a trace, and of those
// the fully inked ones (the text is dark on a light face).
struct Ink {
    long Inked = 0;
    long Full = 0;
    int Darkest = 255;

    void Add(int grey, int face) {
        if (grey >= face - 8) {
            return;
        }
        ++Inked;
        Full += grey <= face / 8 ? 1 : 0;
        Darkest = std::min(Darkest, grey);
    }
    double PartlyInkedShare() const {
        return Inked == 0 ? 0.0 : 1.0 - static_cast<double>(Full) / static_cast<double>(Inked);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::cerr << "usage: text_detail SCALE ONE.ppm SCALED.ppm LEFT,TOP,RIGHT,BOTTOM...\n";
        return 2;
    }
    const int scale = std::atoi(argv[1]);
    const std::optional<Picture> one = ReadPpm(argv[2]);
    const std::optional<Picture> scaled = ReadPpm(argv[3]);
    std::vector<Area> areas;
    for (int i = 4; i < argc; ++i) {
        const std::optional<Area> area = ParseArea(argv[i]);
        if (!area) {
            std::cerr << "text_detail: not an area: " << argv[i] << "\n";
            return 2;
        }
        areas.push_back(*area);
    }
    if (scale < 2 || !one || !scaled || scaled->Width != one->Width * scale ||
        scaled->Height != one->Height * scale) {
        std::cerr << "text_detail: the pictures are unreadable or not of sizes 1 : SCALE\n";
        return 2;
    }
    const int face = one->Grey(one->Width - 1, one->Height - 1);
    long outside = 0;
    long outsideDiffering = 0;
    long insideDiffering = 0;
    Ink enlarged;
    Ink detailed;
    for (int y = 0; y < scaled->Height; ++y) {
        for (int x = 0; x < scaled->Width; ++x) {
            const int ox = x / scale;
            const int oy = y / scale;
            const bool same = scaled->SameColour(x, y, *one, ox, oy);
            bool inText = false;
            for (const Area& area : areas) {
                inText = inText || area.Contains(ox, oy);
            }
            if (!inText) {
                ++outside;
                outsideDiffering += same ? 0 : 1;
                continue;
            }
            insideDiffering += same ? 0 : 1;
            enlarged.Add(one->Grey(ox, oy), face);
            detailed.Add(scaled->Grey(x, y), face);
        }
    }
    std::printf("outside text: %ld of %ld pixels differ from the enlarged picture\n",
                outsideDiffering, outside);
    std::printf("text: %ld pixels differ; darkest %d (enlarged %d); inked %ld, fully %ld "
                "(enlarged %ld, fully %ld); partly inked %.1f %% (enlarged %.1f %%)\n",
                insideDiffering, detailed.Darkest, enlarged.Darkest, detailed.Inked, detailed.Full,
                enlarged.Inked, enlarged.Full, 100.0 * detailed.PartlyInkedShare(),
                100.0 * enlarged.PartlyInkedShare());
    const bool holds = outsideDiffering == 0 && insideDiffering > 0 &&
                       detailed.Darkest <= enlarged.Darkest &&
                       detailed.PartlyInkedShare() <= enlarged.PartlyInkedShare();
    return holds ? 0 : 1;
}
