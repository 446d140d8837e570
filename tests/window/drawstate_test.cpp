// The drawing state: colours of the three setter forms, one pen, brush and font alive,
// the LOGFONT that SetFont builds, and what the draw styles put into the context.
#include "support.h"

#include "drawing/fontdesc.h"

#include <cstring>

namespace {

TEST_F(WindowTest, SettersReturnThePreviousColourAndConvertDoubles)
{
    auto w = OpenQuiet();
    EXPECT_TRUE(Same(w->SetBrush(1.0, 0.5, 0.0), WHITE)); // the constructor's white
    EXPECT_TRUE(Same(w->SetBrush(-0.5, 0.999, 1.0 / 255.0), color(255, 127, 0)));
    EXPECT_TRUE(Same(w->SetBrush(BLACK), color(129, 254, 1)));
    EXPECT_TRUE(Same(w->SetBrush(static_cast<unsigned char>(1), 2, 3), BLACK));
    EXPECT_TRUE(Same(w->SetBrush(RED), color(1, 2, 3)));

    EXPECT_TRUE(Same(w->SetPen(1.5, 0.0, 0.0, 1), WHITE));
    EXPECT_EQ(WindowInspector::PenWidth(*w), 1);
    EXPECT_TRUE(Same(w->SetPen(BLUE, 5), color(126, 0, 0)));
    EXPECT_EQ(WindowInspector::PenWidth(*w), 5);
    EXPECT_TRUE(Same(w->SetPen(static_cast<unsigned char>(9), 8, 7, 0), BLUE));
    // The pen colour is the text colour of the active context.
    EXPECT_EQ(SetTextColor(WindowInspector::Active(*w), RGB(0, 0, 0)), RGB(9, 8, 7));
}

TEST_F(WindowTest, AtMostOnePenBrushAndFontAreAlive)
{
    const int before = hooks::LiveObjectCount();
    auto w = OpenQuiet();
    const int opened = hooks::LiveObjectCount();
    EXPECT_GE(opened, before + 3);
    for (int i = 0; i < 3; ++i) {
        w->SetPen(RED, i);
        w->SetBrush(BLUE);
        w->SetFont(12 + i, FONT_ITALIC, FAMILY_ROMAN, "Times New Roman");
        EXPECT_EQ(hooks::LiveObjectCount(), opened);
    }
    EXPECT_NE(WindowInspector::Pen(*w), nullptr);
    EXPECT_NE(WindowInspector::Brush(*w), nullptr);
    EXPECT_NE(WindowInspector::Font(*w), nullptr);
    w.reset();
    EXPECT_EQ(hooks::LiveObjectCount(), before);
}

TEST_F(WindowTest, AFailedDeletionIsReportedAndTheNewObjectMadeAllTheSame)
{
    auto w = OpenQuiet();
    const std::string printed = Printed([&] {
        hooks::FailNextCall("DeleteObject");
        w->SetBrush(RED);
        hooks::FailNextCall("DeleteObject");
        w->SetPen(RED, 1);
        hooks::FailNextCall("DeleteObject");
        w->SetFont(20, FONT_BOLD, 0, "Arial");
    });
    EXPECT_EQ(printed, "Fatal Error: Failed to delete brshObject in SetBrush!\n"
                       "Fatal Error: Failed to delete penObject in SetPen!\n"
                       "Fatal Error: Failed to delete fontObject in SetFont!\n");
    EXPECT_NE(WindowInspector::Pen(*w), nullptr);
    EXPECT_NE(WindowInspector::Brush(*w), nullptr);
    EXPECT_NE(WindowInspector::Font(*w), nullptr);
    EXPECT_TRUE(Same(w->SetBrush(BLACK), RED));
}

TEST_F(WindowTest, SettersPumpThenReplaceTheirObject)
{
    auto w = OpenQuiet();
    const std::string pump = "PeekMessageA(out," + Hex(WindowInspector::Handle(*w)) + ",0,0,1)";
    const std::string dc = Hex(WindowInspector::Active(*w));

    std::string old = Hex(WindowInspector::Pen(*w));
    hooks::StartCallLog();
    w->SetPen(BLUE, 5);
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()),
              (std::vector<std::string>{pump, "DeleteObject(" + old + ")",
                                        "SetTextColor(" + dc + ",0xFF0000)", "CreatePen(6,5,0xFF0000)"}));

    old = Hex(WindowInspector::Brush(*w));
    hooks::StartCallLog();
    w->SetBrush(RED);
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()),
              (std::vector<std::string>{pump, "DeleteObject(" + old + ")", "CreateSolidBrush(0xFF)"}));

    // The game's status font.
    old = Hex(WindowInspector::Font(*w));
    hooks::StartCallLog();
    w->SetFont(20, FONT_BOLD, 0, "Arial");
    EXPECT_EQ(LibraryCalls(hooks::StopCallLog()),
              (std::vector<std::string>{pump, "DeleteObject(" + old + ")",
                                        "CreateFontIndirectA({20,0,0,0,700,0,0,0,1,0,0,0,0x0,Arial})"}));
}

bool AllZeroFrom(const LOGFONTA &font, size_t offset)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(&font);
    for (size_t i = offset; i < sizeof font; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    return true;
}

TEST(DescribeFont, StyleBitsAndFamilies)
{
    const LOGFONTA all = DescribeFont(10, FONT_BOLD | FONT_ITALIC | FONT_UNDERLINED, FAMILY_SWISS, nullptr);
    EXPECT_EQ(all.lfWeight, FW_BOLD);
    EXPECT_EQ(all.lfItalic, 1);
    EXPECT_EQ(all.lfUnderline, 1);
    EXPECT_EQ(all.lfStrikeOut, 0);
    EXPECT_EQ(all.lfPitchAndFamily, FF_SWISS);
    EXPECT_TRUE(AllZeroFrom(all, offsetof(LOGFONTA, lfFaceName)));

    const LOGFONTA plain = DescribeFont(10, 0, 7, nullptr);
    EXPECT_EQ(plain.lfWeight, FW_NORMAL);
    EXPECT_EQ(plain.lfItalic, 0);
    EXPECT_EQ(plain.lfUnderline, 0);
    EXPECT_EQ(plain.lfPitchAndFamily, FF_DONTCARE);

    // Strike-out has no style name; bit 8 (or any bit beyond the three) changes nothing.
    const LOGFONTA struck = DescribeFont(10, 8 | 0x10000, 0, nullptr);
    EXPECT_EQ(std::memcmp(&struck, &plain, sizeof plain), 0);

    const struct {
        int family;
        BYTE bits;
    } families[] = {{FAMILY_MODERN, FF_MODERN}, {FAMILY_ROMAN, FF_ROMAN}, {FAMILY_SCRIPT, FF_SCRIPT},
                    {FAMILY_SWISS, FF_SWISS},   {0, FF_DONTCARE},         {-1, FF_DONTCARE}};
    for (const auto &entry : families)
        EXPECT_EQ(DescribeFont(10, 0, entry.family, nullptr).lfPitchAndFamily, entry.bits) << entry.family;
}

TEST(DescribeFont, ALongFaceIsCutTo31Characters)
{
    const std::string face(40, 'F');
    // Room behind the description shows whether the copy ran past its 32 bytes.
    struct {
        LOGFONTA font;
        char guard[16];
    } padded;
    std::memset(padded.guard, 'G', sizeof padded.guard);
    padded.font = DescribeFont(10, 0, 0, face.c_str());
    EXPECT_EQ(std::string(padded.font.lfFaceName), face.substr(0, 31));
    EXPECT_EQ(std::string(padded.guard, sizeof padded.guard), std::string(16, 'G'));
    EXPECT_STREQ(DescribeFont(10, 0, 0, std::string(31, 'x').c_str()).lfFaceName,
                 std::string(31, 'x').c_str());
}

TEST_F(WindowTest, DrawStylesSelectTheirObjectsAndMixModeUntilRestored)
{
    auto w = OpenQuiet();
    const HDC dc = WindowInspector::Active(*w);
    const HGDIOBJ stockPen = GetStockObject(BLACK_PEN);
    const HGDIOBJ nullBrush = GetStockObject(NULL_BRUSH);

    // What the context holds is read back by swapping something in and out again.
    auto selectedPen = [&] {
        HGDIOBJ held = SelectObject(dc, GetStockObject(WHITE_PEN));
        SelectObject(dc, held);
        return held;
    };
    auto selectedBrush = [&] {
        HGDIOBJ held = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        SelectObject(dc, held);
        return held;
    };
    auto mixMode = [&] {
        const int held = SetROP2(dc, R2_BLACK);
        SetROP2(dc, held);
        return held;
    };
    const HGDIOBJ ownPen = selectedPen();
    const HGDIOBJ ownBrush = selectedBrush();

    WindowInspector::SelectDrawStyle(*w, STYLE_FILLED);
    EXPECT_EQ(selectedPen(), WindowInspector::Pen(*w));
    EXPECT_EQ(selectedBrush(), WindowInspector::Brush(*w));
    EXPECT_EQ(mixMode(), R2_COPYPEN);
    WindowInspector::RestoreDrawStyle(*w);
    EXPECT_EQ(selectedPen(), ownPen);
    EXPECT_EQ(selectedBrush(), ownBrush);

    WindowInspector::SelectDrawStyle(*w, STYLE_FRAME);
    EXPECT_EQ(selectedPen(), WindowInspector::Pen(*w));
    EXPECT_EQ(selectedBrush(), nullBrush);
    EXPECT_EQ(mixMode(), R2_COPYPEN);
    WindowInspector::RestoreDrawStyle(*w);

    WindowInspector::SelectDrawStyle(*w, STYLE_INVERTED);
    EXPECT_EQ(selectedPen(), stockPen);
    EXPECT_EQ(selectedBrush(), GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(mixMode(), R2_NOT);
    WindowInspector::RestoreDrawStyle(*w);
    EXPECT_EQ(mixMode(), R2_NOT); // left as it was: the next selection sets it again
    WindowInspector::SelectDrawStyle(*w, STYLE_FILLED);
    EXPECT_EQ(mixMode(), R2_COPYPEN);
    WindowInspector::RestoreDrawStyle(*w);
    EXPECT_EQ(selectedPen(), ownPen);

    WindowInspector::SelectFontObject(*w);
    HGDIOBJ held = SelectObject(dc, WindowInspector::Font(*w));
    EXPECT_EQ(held, WindowInspector::Font(*w));
    WindowInspector::RestoreFontObject(*w);
    EXPECT_NE(SelectObject(dc, held), WindowInspector::Font(*w));
}

TEST_F(WindowTest, AnInvalidDrawStyleIsReportedAndSelectsNothing)
{
    auto w = OpenQuiet();
    hooks::StartCallLog();
    const std::string printed =
        Printed([&] { WindowInspector::SelectDrawStyle(*w, static_cast<drawstyle>(4)); });
    EXPECT_TRUE(hooks::StopCallLog().empty());
    EXPECT_EQ(printed, "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!\n");
}

} // namespace
