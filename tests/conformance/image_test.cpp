// image_test.cpp - the comparison every conformance verdict rests on: PNG round trips
// keep every channel exactly, and a single differing pixel anywhere is found.
#include "image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace scene {
namespace {

Pixels Sample(int w, int h)
{
    Pixels p;
    p.width = w;
    p.height = h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.data.push_back(static_cast<uint32_t>((x * 37 + y) & 0xFF) << 16 | static_cast<uint32_t>((y * 53) & 0xFF) << 8 |
                             static_cast<uint32_t>((x ^ y) * 11 & 0xFF));
    return p;
}

TEST(ConformanceImage, PngRoundTripKeepsEveryChannelAndSize)
{
    const std::string path = (std::filesystem::temp_directory_path() / "qg-image-test.png").string();
    Pixels a = Sample(13, 7); // odd width: no row padding may leak into the pixels
    a.data[0] = 0xFF0000;
    a.data[1] = 0x00FF00;
    a.data[2] = 0x0000FF;
    std::string error;
    ASSERT_TRUE(WritePng(path, a, error)) << error;
    Pixels b;
    ASSERT_TRUE(ReadPng(path, b, error)) << error;
    std::remove(path.c_str());
    EXPECT_EQ(b.width, 13);
    EXPECT_EQ(b.height, 7);
    EXPECT_EQ(b.data, a.data);
}

TEST(ConformanceImage, ReadingAMissingOrBrokenFileFailsWithAReason)
{
    Pixels p;
    std::string error;
    EXPECT_FALSE(ReadPng("/nonexistent/qg.png", p, error));
    EXPECT_NE(error.find("/nonexistent/qg.png"), std::string::npos);

    const std::string path = (std::filesystem::temp_directory_path() / "qg-broken.png").string();
    FILE *f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("\x89PNG\r\n\x1a\n truncated", f);
    std::fclose(f);
    error.clear();
    EXPECT_FALSE(ReadPng(path, p, error));
    EXPECT_FALSE(error.empty());
    std::remove(path.c_str());
}

TEST(ConformanceImage, CompareFindsOneDifferingPixelInEachChannelAndCorner)
{
    const Pixels base = Sample(9, 6);
    EXPECT_EQ(Compare(base, base).count, 0);
    const int spots[][2] = {{0, 0}, {8, 0}, {0, 5}, {8, 5}, {4, 3}};
    for (const auto &s : spots)
        for (uint32_t bit : {0x010000u, 0x000100u, 0x000001u}) {
            Pixels other = base;
            other.data[static_cast<size_t>(s[1]) * 9 + s[0]] ^= bit;
            Difference d = Compare(other, base);
            EXPECT_EQ(d.count, 1) << s[0] << "," << s[1] << " bit " << bit;
            EXPECT_EQ(d.firstX, s[0]);
            EXPECT_EQ(d.firstY, s[1]);
        }
}

TEST(ConformanceImage, CompareIgnoresTheUnusedTopByteButNotSizes)
{
    Pixels a = Sample(4, 4);
    Pixels b = a;
    for (uint32_t &px : b.data)
        px |= 0xFF000000; // an inversion flips the byte GDI leaves unused
    EXPECT_EQ(Compare(a, b).count, 0);

    Pixels wide = Sample(5, 4);
    Difference d = Compare(wide, a);
    EXPECT_TRUE(d.sizesDiffer);
    EXPECT_GT(d.count, 0);
}

TEST(ConformanceImage, DiffImageMarksExactlyTheDifferingPixels)
{
    Pixels e = Sample(6, 5);
    Pixels a = e;
    a.data[7] = 0x000000;  // darker than expected
    a.data[20] = 0xFFFFFF; // lighter
    Pixels d = DiffImage(a, e);
    ASSERT_EQ(d.data.size(), e.data.size());
    for (size_t i = 0; i < d.data.size(); ++i) {
        if (i == 7)
            EXPECT_EQ(d.data[i], 0xFF0000u);
        else if (i == 20)
            EXPECT_EQ(d.data[i], 0x00FF00u);
        else
            EXPECT_EQ((d.data[i] >> 16) & 0xFF, d.data[i] & 0xFF) << "matching pixel " << i << " is grey";
    }
}

} // namespace
} // namespace scene
