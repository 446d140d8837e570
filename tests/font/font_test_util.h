// font_test_util.h - small helpers shared by the font tests: building LOGFONTs and
// looking at drawn pixels.
#ifndef TESTS_FONT_FONT_TEST_UTIL_H
#define TESTS_FONT_FONT_TEST_UTIL_H

#include "font/font.h"

#include <cstdint>
#include <cstring>
#include <string>

namespace fonttest {

inline LOGFONTA Logfont(const char *face, LONG height, LONG weight = FW_NORMAL, bool italic = false,
                        BYTE pitchAndFamily = 0)
{
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (face) std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return lf;
}

inline std::string BaseName(const std::string &path) { return path.substr(path.find_last_of('/') + 1); }

// The smallest box holding every pixel that differs from `background`; empty (right <=
// left) when there is none.
inline RECT InkBox(const standin::gdi::Surface &s, standin::gdi::Pixel background)
{
    RECT box{s.width, s.height, 0, 0};
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x)
            if (s.Row(y)[x] != background) {
                if (x < box.left) box.left = x;
                if (y < box.top) box.top = y;
                if (x + 1 > box.right) box.right = x + 1;
                if (y + 1 > box.bottom) box.bottom = y + 1;
            }
    return box;
}

} // namespace fonttest

#endif // TESTS_FONT_FONT_TEST_UTIL_H
