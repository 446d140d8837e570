// The colour type: its starting value, the double conversions and the named constants.
#include "graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Named {
    std::string name;
    color value;
};

const std::vector<Named> &AllNamed()
{
#define QG_COLOR(name, red, green, blue) {#name, name},
    static const std::vector<Named> all = {
#include "colors.def"
    };
#undef QG_COLOR
    return all;
}

bool Same(const color &a, const color &b)
{
    return a.ucRed == b.ucRed && a.ucGreen == b.ucGreen && a.ucBlue == b.ucBlue;
}

TEST(Color, StartsBlackAndKeepsItsComponentsInOrder)
{
    const color black;
    EXPECT_TRUE(Same(black, color(0, 0, 0)));
    const color c(1, 2, 3);
    EXPECT_EQ(c.ucRed, 1);
    EXPECT_EQ(c.ucGreen, 2);
    EXPECT_EQ(c.ucBlue, 3);
    static_assert(sizeof(color) == 3, "three bytes, red first");
}

TEST(Color, DoubleComponentsTruncateAndWrapWithoutClamping)
{
    EXPECT_EQ(ColorComponentFromDouble(1.0), 255);
    EXPECT_EQ(ColorComponentFromDouble(0.5), 127);
    EXPECT_EQ(ColorComponentFromDouble(0.999), 254);
    EXPECT_EQ(ColorComponentFromDouble(0.0), 0);
    EXPECT_EQ(ColorComponentFromDouble(1.5), 126);   // 382 & 0xFF
    EXPECT_EQ(ColorComponentFromDouble(-0.5), 129);  // -127 & 0xFF
    EXPECT_EQ(ColorComponentFromDouble(-0.001), 0);  // -0.255 truncates to 0
    EXPECT_EQ(ColorComponentFromDouble(2.0), 254);   // 510 & 0xFF
    // Beyond any integer (and NaN): the low byte of x86's "integer indefinite", 0.
    EXPECT_EQ(ColorComponentFromDouble(1e300), 0);
    EXPECT_EQ(ColorComponentFromDouble(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(ColorComponentFromDouble(std::nan("")), 0);
}

TEST(Color, ComponentsGoOutAsTheirShareOf255)
{
    EXPECT_EQ(ColorComponentToDouble(0), 0.0);
    EXPECT_EQ(ColorComponentToDouble(255), 1.0);
    EXPECT_DOUBLE_EQ(ColorComponentToDouble(51), 0.2);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(ColorComponentFromDouble(ColorComponentToDouble(static_cast<unsigned char>(v))), v)
            << "round trip of " << v;
}

TEST(NamedColors, ThereAre144InTheDatabaseOrder)
{
    const auto &all = AllNamed();
    ASSERT_EQ(all.size(), 144u);
    EXPECT_EQ(all.front().name, "SNOW");
    EXPECT_EQ(all[1].name, "GHOSTWHITE");
    EXPECT_EQ(all[2].name, "WHITESMOKE"); // "white smoke" and "WhiteSmoke" count once
    EXPECT_EQ(all.back().name, "LIGHTGREEN");
    for (const Named &n : all)
        EXPECT_EQ(n.name.find_first_of("0123456789"), std::string::npos) << n.name;
}

TEST(NamedColors, GrayEqualsGreyAndIndianRedComesTwice)
{
    EXPECT_TRUE(Same(GRAY, GREY));
    EXPECT_TRUE(Same(GRAY, color(190, 190, 190)));
    EXPECT_TRUE(Same(DARKSLATEGRAY, DARKSLATEGREY));
    const auto &all = AllNamed();
    for (size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i].name == "INDIANRED") {
            EXPECT_EQ(all[i + 1].name, "INDIAN_RED");
            EXPECT_TRUE(Same(all[i + 1].value, color(205, 92, 92)));
        }
    EXPECT_TRUE(Same(INDIANRED, INDIAN_RED));
}

TEST(NamedColors, TheFourTheGameReads)
{
    EXPECT_TRUE(Same(WHITE, color(255, 255, 255)));
    EXPECT_TRUE(Same(BLACK, color(0, 0, 0)));
    EXPECT_TRUE(Same(BLUE, color(0, 0, 255)));
    EXPECT_TRUE(Same(RED, color(255, 0, 0)));
}

} // namespace
