// text.cpp (scenes) - TextOutA and GetTextExtentPoint32A as the library uses them
// (TA_UPDATECP from MoveToEx, transparent background, the pen colour) and around them:
// the three faces in three styles, every alignment, an opaque background, Windows-1252.
// Fonts ask for NONANTIALIASED_QUALITY, the aliased look the stand-in always draws;
// default quality agrees with it only below 18 pixels per em, where the fonts' gasp
// table turns smoothing off.
#include "../scene.h"

#include <cstring>

namespace scene {

namespace {

constexpr COLORREF kText = RGB(20, 30, 200);

struct FontSpec {
    const char *face;
    LONG height;
    LONG weight;
    bool italic;
    bool underline;
    bool strikeOut;
    BYTE quality;
};

HFONT MakeFont(const FontSpec &f)
{
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = f.height;
    lf.lfWeight = f.weight;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfStrikeOut = f.strikeOut;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = f.quality;
    std::strncpy(lf.lfFaceName, f.face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

// Selects the font, runs the drawing, puts the DC's font back and deletes this one.
void WithFont(HDC dc, const FontSpec &f, const std::function<void()> &draw)
{
    HFONT font = MakeFont(f);
    HGDIOBJ old = SelectObject(dc, font);
    draw();
    SelectObject(dc, old);
    DeleteObject(font);
}

// The library's DrawString: transparent, TA_UPDATECP from (x, y), then where the current
// position went (MoveToEx hands back the old one) and what the text measures.
void LibraryDraw(HDC dc, Results &r, int x, int y, const char *text)
{
    const int length = static_cast<int>(std::strlen(text));
    SetTextColor(dc, kText);
    r(SetBkMode(dc, TRANSPARENT));
    r(static_cast<long long>(SetTextAlign(dc, TA_UPDATECP)));
    r(MoveToEx(dc, x, y, nullptr));
    r(TextOutA(dc, 999, 999, text, length));
    POINT cp{};
    MoveToEx(dc, 0, 0, &cp);
    r(cp.x);
    r(cp.y);
    SIZE size{};
    r(GetTextExtentPoint32A(dc, text, length, &size));
    r(size.cx);
    r(size.cy);
}

void AddFaces(std::vector<Group> &out)
{
    Group g{"text-faces", 220, 34, {}};
    const char *faces[] = {"Arial", "Times New Roman", "Courier New"};
    struct Look {
        const char *name;
        LONG weight;
        bool italic, underline;
    };
    const Look looks[] = {{"plain", FW_NORMAL, false, false},
                            {"bold", FW_BOLD, false, false},
                            {"italic-underlined", FW_NORMAL, true, true}};
    for (const char *face : faces)
        for (const Look &s : looks)
            for (LONG height : {12, 20, -24})
                g.Add(Format("%s-%s-%ld", face, s.name, static_cast<long>(height)), [=](HDC dc, Results &r) {
                    FontSpec f{face, height, s.weight, s.italic, s.underline, false, NONANTIALIASED_QUALITY};
                    WithFont(dc, f, [&] { LibraryDraw(dc, r, 3, 2, "MISSLE COUNT: 17 \xE9\x80"); });
                });
    out.push_back(std::move(g));
}

void AddStatusLine(std::vector<Group> &out)
{
    Group g{"text-status", 460, 28, {}};
    const char *items[] = {"ESC - EXIT      R - REFRESH      V - VOLLEYS", "MISSLE COUNT:", "SHIPS SUNK:",
                           "VOLLEYS LEFT:", "X", "-42", "2.500000"};
    int i = 0;
    for (const char *text : items) {
        g.Add(Format("item-%d", i++), [=](HDC dc, Results &r) {
            FontSpec f{"Arial", 20, FW_BOLD, false, false, false, NONANTIALIASED_QUALITY};
            WithFont(dc, f, [&] { LibraryDraw(dc, r, 9, 3, text); });
        });
    }
    // The window's first font (size 10, swiss, no face) at default quality: small enough
    // that GDI draws it aliased too.
    g.Add("default-size-10", [](HDC dc, Results &r) {
        LOGFONTA lf;
        std::memset(&lf, 0, sizeof lf);
        lf.lfHeight = 10;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfPitchAndFamily = FF_SWISS;
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, font);
        LibraryDraw(dc, r, 4, 4, "Click mouse 0123456789 \xC9t\xE9");
        SelectObject(dc, old);
        DeleteObject(font);
    });
    out.push_back(std::move(g));
}

void AddAlignments(std::vector<Group> &out)
{
    Group g{"text-align", 120, 60, {}};
    const UINT horizontal[] = {TA_LEFT, TA_CENTER, TA_RIGHT};
    const UINT vertical[] = {TA_TOP, TA_BASELINE, TA_BOTTOM};
    for (UINT h : horizontal)
        for (UINT v : vertical)
            for (UINT cp : {0u, static_cast<UINT>(TA_UPDATECP)})
                g.Add(Format("align-%u-%u-%u", h, v, cp), [=](HDC dc, Results &r) {
                    FontSpec f{"Times New Roman", 20, FW_NORMAL, false, false, false, NONANTIALIASED_QUALITY};
                    WithFont(dc, f, [&] {
                        SetTextColor(dc, kText);
                        SetBkMode(dc, TRANSPARENT);
                        r(static_cast<long long>(SetTextAlign(dc, h | v | cp)));
                        MoveToEx(dc, 60, 30, nullptr);
                        r(TextOutA(dc, 60, 30, "Ag", 2));
                        r(TextOutA(dc, 60, 30, "y", 1)); // a second call shows where CP went
                        POINT pos{};
                        MoveToEx(dc, 0, 0, &pos);
                        r(pos.x);
                        r(pos.y);
                    });
                });
    out.push_back(std::move(g));
}

void AddBackgrounds(std::vector<Group> &out)
{
    Group g{"text-background", 100, 30, {}};
    for (int mode : {OPAQUE, TRANSPARENT})
        g.Add(mode == OPAQUE ? "opaque" : "transparent", [=](HDC dc, Results &r) {
            FontSpec f{"Courier New", 16, FW_BOLD, false, false, true, NONANTIALIASED_QUALITY};
            WithFont(dc, f, [&] {
                SetTextColor(dc, kText);
                r(SetBkMode(dc, mode));
                r(TextOutA(dc, 4, 6, "Mg \xFC\x97", 5));
                r(TextOutA(dc, 4, 6, "", 0)); // draws nothing, not even the opaque box
            });
        }, Background::Pattern);
    out.push_back(std::move(g));
}

} // namespace

void AddTextGroups(std::vector<Group> &out)
{
    AddFaces(out);
    AddStatusLine(out);
    AddAlignments(out);
    AddBackgrounds(out);
}

} // namespace scene
