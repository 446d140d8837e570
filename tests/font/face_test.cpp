// Which file a LOGFONT resolves to: Windows face names, styles, families, fallbacks; and
// heights no real program asks for still give a usable font.
#include "font/face.h"
#include "font_test_util.h"

#include <gtest/gtest.h>

#include <climits>

using fonttest::BaseName;
using fonttest::Logfont;
using standin::font::ChooseFace;
using standin::font::FaceChoice;
using standin::font::Realize;

namespace {

std::string FileFor(const LOGFONTA &lf)
{
    std::optional<FaceChoice> choice = ChooseFace(lf);
    return choice ? BaseName(choice->file) : std::string("<none>");
}

TEST(FaceChoice, WindowsCoreFacesResolveToTheirMetricTwins)
{
    EXPECT_EQ(FileFor(Logfont("Arial", 20)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont("Helvetica", 20)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont("Times New Roman", 20)), "LiberationSerif-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont("Courier New", 20)), "LiberationMono-Regular.ttf");
    // Face names match whatever their case.
    EXPECT_EQ(FileFor(Logfont("aRIAL", 20)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont("COURIER NEW", 20)), "LiberationMono-Regular.ttf");
    // An installed family is used under its own name too.
    EXPECT_EQ(FileFor(Logfont("Liberation Serif", 20)), "LiberationSerif-Regular.ttf");
}

TEST(FaceChoice, WeightAndItalicPickTheRealStyledFiles)
{
    EXPECT_EQ(FileFor(Logfont("Arial", 20, FW_BOLD)), "LiberationSans-Bold.ttf");
    EXPECT_EQ(FileFor(Logfont("Arial", 20, FW_NORMAL, true)), "LiberationSans-Italic.ttf");
    EXPECT_EQ(FileFor(Logfont("Arial", 20, FW_BOLD, true)), "LiberationSans-BoldItalic.ttf");
    EXPECT_EQ(FileFor(Logfont("Times New Roman", 20, FW_BOLD)), "LiberationSerif-Bold.ttf");
    EXPECT_EQ(FileFor(Logfont("Courier New", 20, FW_BOLD, true)), "LiberationMono-BoldItalic.ttf");
    // FW_DONTCARE is normal weight; a semibold request still rounds to the bold face.
    EXPECT_EQ(FileFor(Logfont("Arial", 20, FW_DONTCARE)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont("Arial", 20, 600)), "LiberationSans-Bold.ttf");

    std::optional<FaceChoice> bold = ChooseFace(Logfont("Arial", 20, FW_BOLD, true));
    ASSERT_TRUE(bold);
    EXPECT_FALSE(bold->syntheticBold);
    EXPECT_FALSE(bold->syntheticItalic);
    EXPECT_EQ(bold->weight, 700);
    EXPECT_TRUE(bold->italic);
}

TEST(FaceChoice, NoFaceNameFallsBackByFamilyAndPitch)
{
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FF_SWISS)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FF_ROMAN)), "LiberationSerif-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FF_MODERN)), "LiberationMono-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FF_DONTCARE)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FF_DECORATIVE)), "LiberationSans-Regular.ttf");
    EXPECT_EQ(FileFor(Logfont(nullptr, 10, FW_NORMAL, false, FIXED_PITCH | FF_SWISS)),
              "LiberationMono-Regular.ttf");
    // An unknown name is no better than none.
    EXPECT_EQ(FileFor(Logfont("No Such Face Anywhere", 10, FW_BOLD, false, FF_ROMAN)),
              "LiberationSerif-Bold.ttf");
}

TEST(FaceChoice, ScriptFamilyUsesAHandwritingFaceOnlyWhenOneIsInstalled)
{
    std::optional<FaceChoice> script = ChooseFace(Logfont(nullptr, 20, FW_NORMAL, false, FF_SCRIPT));
    ASSERT_TRUE(script);
    // Whatever is installed, the result is a real family and never a generic alias.
    EXPECT_FALSE(script->family.empty());
    if (script->family.rfind("Liberation", 0) == 0) {
        EXPECT_EQ(script->family, "Liberation Sans");
    }
}

TEST(FaceChoice, AFaceNameFillingTheWholeFieldIsReadWithinIt)
{
    LOGFONTA lf = Logfont(nullptr, 20, FW_NORMAL, false, FF_ROMAN);
    std::memset(lf.lfFaceName, 'A', LF_FACESIZE); // no terminator at all
    EXPECT_EQ(standin::font::FamilyFor(lf), "Liberation Serif");
}

TEST(FaceChoice, AFamilyWithoutBoldOrItalicFacesGetsSyntheticStyles)
{
    // Any installed family with a single upright regular file will do.
    const char *candidates[] = {"DejaVu Math TeX Gyre", "Liberation Sans Narrow"};
    for (const char *family : candidates) {
        std::optional<FaceChoice> regular = ChooseFace(Logfont(family, 20));
        if (!regular || regular->family != family) continue;
        std::optional<FaceChoice> bold = ChooseFace(Logfont(family, 20, FW_BOLD));
        ASSERT_TRUE(bold);
        if (bold->weight >= 600) continue; // it has a bold face after all
        EXPECT_TRUE(bold->syntheticBold);
        EXPECT_FALSE(bold->syntheticItalic);
        EXPECT_EQ(bold->file, regular->file);
        std::optional<FaceChoice> italic = ChooseFace(Logfont(family, 20, FW_NORMAL, true));
        ASSERT_TRUE(italic);
        EXPECT_EQ(italic->syntheticItalic, !italic->italic);
        return;
    }
    GTEST_SKIP() << "no installed family lacks a bold face";
}

TEST(FontMetrics, ExtremeHeightsGiveUsableFonts)
{
    for (LONG h : {LONG(INT_MIN), LONG(-100000), LONG(-1), LONG(1), LONG(100000), LONG(INT_MAX)}) {
        SCOPED_TRACE(h);
        auto font = Realize(Logfont("Arial", h));
        ASSERT_TRUE(font);
        EXPECT_GE(font->PixelsPerEm(), 1);
        EXPECT_GE(font->GetMetrics().height, 1);
        EXPECT_GE(font->Extent("Wide", 4).cx, 0);
    }
}

} // namespace
