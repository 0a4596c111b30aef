// Checks the checked-in artwork files are laid out the way icon and bitmap
// readers expect: ico directories, DIB headers and masks, BMP headers, PNG sizes.
// Reads the files as bytes so a broken regeneration fails here, not in a viewer.

#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#ifndef VELMORA_ASSETS_DIR
#error "VELMORA_ASSETS_DIR must name the assets directory"
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::string& name) {
    const std::string path = std::string(VELMORA_ASSETS_DIR) + "/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// vector::at throws on a short file, which GoogleTest reports as a failure.
std::uint32_t le16(const Bytes& b, std::size_t at) { return b.at(at) | (b.at(at + 1) << 8); }
std::uint32_t le32(const Bytes& b, std::size_t at) { return le16(b, at) | (le16(b, at + 2) << 16); }
std::int32_t le32s(const Bytes& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}
std::uint32_t be32(const Bytes& b, std::size_t at) {
    return (std::uint32_t{b.at(at)} << 24) | (b.at(at + 1) << 16) | (b.at(at + 2) << 8) |
           b.at(at + 3);
}

std::size_t stride(std::size_t width, std::size_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

bool isPngAt(const Bytes& b, std::size_t at) {
    static const std::uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0d, 0x0a, 0x1a, 0x0a};
    for (std::size_t i = 0; i < 8; ++i) {
        if (at + i >= b.size() || b[at + i] != sig[i])
            return false;
    }
    return true;
}

struct PngHeader {
    std::uint32_t width, height;
    int bitDepth, colourType;
};

PngHeader readIhdr(const Bytes& b, std::size_t at) {
    EXPECT_TRUE(isPngAt(b, at)) << "no PNG signature";
    EXPECT_EQ(be32(b, at + 8), 13u) << "IHDR length";
    EXPECT_EQ(std::string(b.begin() + at + 12, b.begin() + at + 16), "IHDR");
    return {be32(b, at + 16), be32(b, at + 20), b.at(at + 24), b.at(at + 25)};
}

struct IcoEntry {
    int size;  // directory width; 0 there means 256
    int bitCount;
    std::uint32_t bytes, offset;
};

std::vector<IcoEntry> readIcoDirectory(const Bytes& b) {
    EXPECT_EQ(le16(b, 0), 0u) << "reserved";
    EXPECT_EQ(le16(b, 2), 1u) << "type must be icon";
    std::vector<IcoEntry> out;
    const std::size_t count = le16(b, 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16 * i;
        const int w = b.at(e) ? b.at(e) : 256;
        const int h = b.at(e + 1) ? b.at(e + 1) : 256;
        EXPECT_EQ(w, h) << "entry " << i << " not square";
        EXPECT_EQ(le16(b, e + 4), 1u) << "entry " << i << " planes";
        out.push_back({w, static_cast<int>(le16(b, e + 6)), le32(b, e + 8), le32(b, e + 12)});
        EXPECT_LE(std::size_t{out.back().offset} + out.back().bytes, b.size())
            << "entry " << i << " runs past the end of the file";
    }
    return out;
}

// A DIB inside an ico: header, optional palette, XOR image, then the AND mask.
struct Dib {
    const Bytes* file;
    std::size_t at, paletteAt, pixelsAt, maskAt;
    int size, bitCount;

    bool masked(int x, int y) const {  // rows are stored bottom-up
        const std::size_t row = maskAt + stride(size, 1) * (size - 1 - y);
        return (file->at(row + x / 8) >> (7 - x % 8)) & 1;
    }
    // Red+green+blue of the XOR colour; zero means black.
    int colourSum(int x, int y) const {
        const std::size_t row = pixelsAt + stride(size, bitCount) * (size - 1 - y);
        if (bitCount == 8) {
            const std::size_t p = paletteAt + 4 * file->at(row + x);
            return file->at(p) + file->at(p + 1) + file->at(p + 2);
        }
        const std::size_t p = row + x * (bitCount / 8);
        return file->at(p) + file->at(p + 1) + file->at(p + 2);
    }
    int alpha(int x, int y) const {
        return file->at(pixelsAt + stride(size, 32) * (size - 1 - y) + 4 * x + 3);
    }
};

Dib readDib(const Bytes& b, const IcoEntry& e) {
    const std::size_t h = e.offset;
    EXPECT_EQ(le32(b, h), 40u) << "BITMAPINFOHEADER size";
    EXPECT_EQ(le32s(b, h + 4), e.size) << "DIB width";
    EXPECT_EQ(le32s(b, h + 8), 2 * e.size) << "DIB height must count the mask too";
    EXPECT_EQ(le16(b, h + 12), 1u) << "planes";
    EXPECT_EQ(static_cast<int>(le16(b, h + 14)), e.bitCount)
        << "DIB and directory bit counts differ";
    EXPECT_EQ(le32(b, h + 16), 0u) << "DIB must be uncompressed";

    std::size_t colours = 0;
    if (e.bitCount <= 8) {
        colours = le32(b, h + 32) ? le32(b, h + 32) : (std::size_t{1} << e.bitCount);
    }
    Dib d{&b, h, h + 40, h + 40 + 4 * colours, 0, e.size, e.bitCount};
    d.maskAt = d.pixelsAt + stride(e.size, e.bitCount) * e.size;
    EXPECT_EQ(d.maskAt + stride(e.size, 1) * e.size, h + e.bytes)
        << "entry size does not match header, palette, image and mask";
    if (e.bitCount == 8) {
        EXPECT_EQ(colours, 256u) << "8-bit entry needs a 256-colour palette";
    }
    return d;
}

// The artwork leaves the top-left corner empty and fills the centre, so a
// missing or inverted mask shows here.
void expectMaskShape(const Dib& d) {
    EXPECT_TRUE(d.masked(0, 0)) << d.size << " px: top-left corner should be transparent";
    EXPECT_FALSE(d.masked(d.size / 2, d.size / 2)) << d.size << " px: centre should be opaque";
}

// Where the AND mask lets the screen through, the XOR colour must be black,
// or it tints whatever is behind the icon.
void expectBlackUnderMask(const Dib& d) {
    int stray = 0;
    for (int y = 0; y < d.size; ++y) {
        for (int x = 0; x < d.size; ++x) {
            if (d.masked(x, y) && d.colourSum(x, y) != 0)
                ++stray;
        }
    }
    EXPECT_EQ(stray, 0) << d.size << " px at " << d.bitCount
                        << " bpp: coloured pixels under the mask";
}

struct Expected {
    int size, bitCount;
};

TEST(ProgramIcon, DirectoryListsElevenImagesInOrder) {
    const Bytes ico = readFile("velmora.ico");
    const std::vector<IcoEntry> entries = readIcoDirectory(ico);
    const Expected want[] = {{48, 8},  {32, 8},  {24, 8},  {16, 8},  {256, 32}, {128, 32},
                             {64, 32}, {48, 32}, {32, 32}, {24, 32}, {16, 32}};
    ASSERT_EQ(entries.size(), std::size(want));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].size, want[i].size) << "entry " << i;
        EXPECT_EQ(entries[i].bitCount, want[i].bitCount) << "entry " << i;
    }
}

TEST(ProgramIcon, ImagesMatchTheirDirectoryEntries) {
    const Bytes ico = readFile("velmora.ico");
    const std::vector<IcoEntry> entries = readIcoDirectory(ico);
    ASSERT_FALSE(entries.empty());
    std::size_t end = 6 + 16 * entries.size();
    for (const IcoEntry& e : entries) {
        SCOPED_TRACE(std::to_string(e.size) + " px, " + std::to_string(e.bitCount) + " bpp");
        EXPECT_GE(e.offset, end) << "image overlaps the directory or the previous image";
        end = std::size_t{e.offset} + e.bytes;
        if (isPngAt(ico, e.offset)) {
            EXPECT_EQ(e.bitCount, 32) << "only 32-bit images may be PNG";
            const PngHeader png = readIhdr(ico, e.offset);
            EXPECT_EQ(png.width, static_cast<std::uint32_t>(e.size));
            EXPECT_EQ(png.height, static_cast<std::uint32_t>(e.size));
            EXPECT_EQ(png.colourType, 6) << "PNG entry must be RGBA";
            continue;
        }
        const Dib d = readDib(ico, e);
        expectMaskShape(d);
        if (e.bitCount == 8)
            expectBlackUnderMask(d);
        if (e.bitCount == 32) {
            EXPECT_EQ(d.alpha(0, 0), 0) << "corner alpha";
            EXPECT_EQ(d.alpha(e.size / 2, e.size / 2), 255) << "centre alpha";
        }
    }
}

TEST(AboutIcon, SingleMasked24BitImage) {
    const Bytes ico = readFile("about.ico");
    const std::vector<IcoEntry> entries = readIcoDirectory(ico);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].size, 96);
    EXPECT_EQ(entries[0].bitCount, 24);
    ASSERT_FALSE(isPngAt(ico, entries[0].offset)) << "must be stored as a DIB";
    const Dib d = readDib(ico, entries[0]);
    expectMaskShape(d);
    expectBlackUnderMask(d);
}

TEST(Logo, Uncompressed8BitBmp250x100) {
    const Bytes bmp = readFile("logo.bmp");
    ASSERT_GE(bmp.size(), 54u);
    EXPECT_EQ(bmp[0], 'B');
    EXPECT_EQ(bmp[1], 'M');
    EXPECT_EQ(le32(bmp, 2), bmp.size()) << "file size field";
    EXPECT_EQ(le32(bmp, 14), 40u) << "plain BITMAPINFOHEADER, readable everywhere";
    EXPECT_EQ(le32s(bmp, 18), 250);
    const std::int32_t height = le32s(bmp, 22);
    EXPECT_EQ(height < 0 ? -height : height, 100);
    EXPECT_EQ(le16(bmp, 26), 1u) << "planes";
    EXPECT_EQ(le16(bmp, 28), 8u) << "bits per pixel";
    EXPECT_EQ(le32(bmp, 30), 0u) << "must be uncompressed";

    const std::size_t used = le32(bmp, 46);
    const std::size_t colours = used ? used : 256;
    EXPECT_LE(colours, 256u);
    const std::size_t pixels = le32(bmp, 10);
    EXPECT_EQ(pixels, 14 + 40 + 4 * colours) << "pixel data must follow the palette";
    EXPECT_EQ(bmp.size(), pixels + stride(250, 8) * 100) << "pixel data size";

    // The ground is black; a palette or row-padding slip shows at the corners.
    for (auto [x, y] : {std::pair{0, 0}, {249, 0}, {0, 99}, {249, 99}}) {
        const std::size_t index = bmp.at(pixels + stride(250, 8) * y + x);
        ASSERT_LT(index, colours);
        const std::size_t p = 54 + 4 * index;
        EXPECT_EQ(bmp.at(p) + bmp.at(p + 1) + bmp.at(p + 2), 0) << "corner " << x << "," << y;
    }
}

struct PngCase {
    const char* file;
    std::uint32_t size;
};

void PrintTo(const PngCase& c, std::ostream* os) { *os << c.file; }

class PngSizes : public testing::TestWithParam<PngCase> {};

TEST_P(PngSizes, IsSquareRgbaOfItsSize) {
    const Bytes png = readFile(GetParam().file);
    const PngHeader h = readIhdr(png, 0);
    EXPECT_EQ(h.width, GetParam().size);
    EXPECT_EQ(h.height, GetParam().size);
    EXPECT_EQ(h.bitDepth, 8);
    EXPECT_EQ(h.colourType, 6) << "needs an alpha channel";
}

INSTANTIATE_TEST_SUITE_P(
    Assets, PngSizes,
    testing::Values(PngCase{"icons/velmora-16.png", 16}, PngCase{"icons/velmora-24.png", 24},
                    PngCase{"icons/velmora-32.png", 32}, PngCase{"icons/velmora-48.png", 48},
                    PngCase{"icons/velmora-64.png", 64}, PngCase{"icons/velmora-128.png", 128},
                    PngCase{"icons/velmora-256.png", 256}, PngCase{"about.png", 96}),
    [](const testing::TestParamInfo<PngCase>& info) {
        std::string name = info.param.file;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        }
        return name;
    });

// The page's pictures: palettes keep a first visit small, and the app icons
// must keep their transparent corners through it.
TEST(WebPictures, PalettePngsOfTheirSize) {
    struct Case {
        const char* file;
        std::uint32_t width, height;
        bool transparent;
    };
    for (const Case c :
         {Case{"web/velmora-192.png", 192, 192, true}, Case{"web/velmora-512.png", 512, 512, true},
          Case{"web/logo.png", 250, 100, false}, Case{"web/logo-2x.png", 500, 200, false},
          Case{"web/logo-window.png", 105, 30, false},
          Case{"web/logo-window-2x.png", 210, 60, false},
          Case{"web/logo-window-3x.png", 315, 90, false}}) {
        SCOPED_TRACE(c.file);
        const Bytes png = readFile(c.file);
        const PngHeader h = readIhdr(png, 0);
        EXPECT_EQ(h.width, c.width);
        EXPECT_EQ(h.height, c.height);
        EXPECT_EQ(h.colourType, 3) << "a palette image";
        const std::string text(png.begin(), png.end());
        EXPECT_EQ(text.find("tRNS") != std::string::npos, c.transparent);
    }
}

}  // namespace
