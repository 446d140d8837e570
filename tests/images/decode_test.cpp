// Decoding JPEG files into images: row order, channel order, the colour layouts a file can
// have, the codings, extreme sizes and damaged data.
#include "graphics.h"
#include "files.h"
#include "jpeg.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace {

using Pixel = std::array<int, 4>; // blue, green, red, fourth byte

Pixel At(const image &img, int x, int y)
{
    const unsigned char *p = img.ucpPixels + (std::size_t(y) * img.usWidth + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

class Decoding : public testing::Test {
protected:
    std::string Save(const std::string &name, const JpegRecipe &recipe)
    {
        return folder.Write(name, EncodeJpeg(recipe));
    }

    // Every pixel equals libjpeg's own decode of the same file in B, G, R, and has 0 last.
    void ExpectSameAsDecoder(const image &img, const Bytes &file)
    {
        int components = 0;
        const Bytes bgrx = DecodeReference(file, JCS_EXT_BGRX, &components);
        ASSERT_EQ(components, 4);
        ASSERT_EQ(bgrx.size(), std::size_t(img.usWidth) * img.usHeight * 4);
        int wrong = 0;
        for (std::size_t i = 0; i < bgrx.size(); i += 4) {
            const unsigned char *p = img.ucpPixels + i;
            if (p[0] != bgrx[i] || p[1] != bgrx[i + 1] || p[2] != bgrx[i + 2] || p[3] != 0)
                ++wrong;
        }
        EXPECT_EQ(wrong, 0) << "pixels differing from the decoder's own output";
    }

    ScratchFolder folder;
};

TEST_F(Decoding, GrayscaleRepeatsTheLevelInBlueGreenAndRed)
{
    const image flat(Save("flat.jpg", FlatBlocks(Layout::Gray, {{0}, {77}, {200}, {255}})),
                     IMAGE_JPEG);
    ASSERT_EQ(flat.usWidth, 32);
    ASSERT_EQ(flat.usHeight, 8);
    for (int y : {0, 7})
        for (auto [x, level] : {std::pair{0, 0}, {15, 77}, {16, 200}, {31, 255}})
            EXPECT_EQ(At(flat, x, y), (Pixel{level, level, level, 0})) << x << ", " << y;

    JpegRecipe gray = FlatBlocks(Layout::Gray, {{0}});
    gray.width = 21;
    gray.height = 9;
    gray.samples.clear();
    for (int i = 0; i < 21 * 9; ++i)
        gray.samples.push_back(static_cast<unsigned char>(i * 37));
    gray.quality = 75;
    const Bytes file = EncodeJpeg(gray);
    ExpectSameAsDecoder(image(folder.Write("gray.jpg", file), IMAGE_JPEG), file);
}

TEST_F(Decoding, InkFilesBecomeTheColoursTheirInksMake)
{
    // Files with an Adobe marker store inks inverted (255 = no ink), as Photoshop does.
    const std::vector<Bytes> inverted = {
        {255, 0, 0, 255},   // magenta and yellow: red
        {0, 255, 255, 255}, // cyan: (0, 255, 255)
        {255, 255, 255, 0}, // black ink only: black
        {255, 255, 255, 255}, // no ink: white
        {255, 128, 0, 200}, // half magenta, full yellow, some black
    };
    const std::vector<Pixel> expected = {
        {0, 0, 255, 0}, {255, 255, 0, 0}, {0, 0, 0, 0}, {255, 255, 255, 0}, {0, 100, 200, 0},
    };

    const image cmyk(Save("cmyk.jpg", FlatBlocks(Layout::Cmyk, inverted)), IMAGE_JPEG);
    ASSERT_EQ(cmyk.usWidth, 40);
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(At(cmyk, int(i) * 8 + 3, 4), expected[i]) << "CMYK block " << i;

    // YCCK goes through the decoder's colour transform: exact up to its rounding.
    JpegRecipe ycck = FlatBlocks(Layout::Cmyk, inverted);
    ycck.layout = Layout::Ycck;
    const image fromYcck(Save("ycck.jpg", ycck), IMAGE_JPEG);
    for (std::size_t i = 0; i < expected.size(); ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(At(fromYcck, int(i) * 8 + 3, 4)[c], expected[i][c], 2)
                << "YCCK block " << i << " channel " << c;

    // Without the marker the inks count up: 255 = full ink.
    JpegRecipe plain = FlatBlocks(Layout::Cmyk, {{0, 255, 255, 0}, {0, 0, 0, 255}, {0, 127, 255, 55}});
    plain.adobe = false;
    const image fromPlain(Save("plain-cmyk.jpg", plain), IMAGE_JPEG);
    EXPECT_EQ(At(fromPlain, 0, 0), (Pixel{0, 0, 255, 0}));
    EXPECT_EQ(At(fromPlain, 8, 0), (Pixel{0, 0, 0, 0}));
    EXPECT_EQ(At(fromPlain, 16, 0), (Pixel{0, 100, 200, 0}));
}

TEST_F(Decoding, OtherComponentCountsShowTheFirstComponentAsGray)
{
    const image img(Save("two.jpg", FlatBlocks(Layout::Other, {{10, 200}, {250, 3}})), IMAGE_JPEG);
    ASSERT_EQ(img.usWidth, 16);
    EXPECT_EQ(At(img, 0, 0), (Pixel{10, 10, 10, 0}));
    EXPECT_EQ(At(img, 15, 7), (Pixel{250, 250, 250, 0}));
}

} // namespace
