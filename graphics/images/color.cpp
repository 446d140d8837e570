// color.cpp - the conversions between a colour component and its double form.
#include "../graphics.h"

#include <cmath>
#include <cstdint>

unsigned char ColorComponentFromDouble(double value)
{
    const double scaled = std::trunc(value * 255.0);
    // Out of the 32-bit range (and NaN) the x86 conversion yields 0x80000000, whose low
    // byte is 0; give the same answer without the undefined conversion.
    if (!(scaled >= -2147483648.0 && scaled <= 2147483647.0))
        return 0;
    return static_cast<unsigned char>(static_cast<int64_t>(scaled) & 0xFF);
}

double ColorComponentToDouble(unsigned char value)
{
    return value / 255.0;
}
