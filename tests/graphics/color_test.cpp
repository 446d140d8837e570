// The conversions between a colour component and its double form, at the ends of their
// ranges (the setters' tests take the everyday values).
#include "graphics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Color, DoubleComponentsTruncateAndWrapWithoutClamping)
{
    const struct {
        double in;
        int out;
    } cases[] = {{0.0, 0}, {1.0, 255}, {-0.001, 0} /* -0.255 truncates to 0 */, {2.0, 254} /* 510 & 0xFF */,
                 // Beyond any integer (and NaN): the low byte of x86's "integer indefinite", 0.
                 {1e300, 0}, {-std::numeric_limits<double>::infinity(), 0}, {std::nan(""), 0}};
    for (const auto &c : cases)
        EXPECT_EQ(ColorComponentFromDouble(c.in), c.out) << c.in;
}

TEST(Color, ComponentsGoOutAsTheirShareOf255AndComeBackWhole)
{
    EXPECT_DOUBLE_EQ(ColorComponentToDouble(51), 0.2);
    for (int v = 0; v < 256; ++v)
        EXPECT_EQ(ColorComponentFromDouble(ColorComponentToDouble(static_cast<unsigned char>(v))), v) << v;
}

} // namespace
