// scene.h - conformance scenes: small drawings in plain Win32 GDI, each run on a fresh
// memory DC over a known background. The same sources record goldens on real GDI (Windows
// build under Wine) and are checked against them on the stand-in.
#ifndef QG_CONFORMANCE_SCENE_H
#define QG_CONFORMANCE_SCENE_H

#include "divergences.h"
#include "pixels.h"
#include "win32api.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace scene {

// Return values a case chooses to keep; they are compared along with the pixels.
class Results {
public:
    long long operator()(long long value)
    {
        values_.push_back(value);
        return value;
    }
    const std::vector<long long> &Values() const { return values_; }

private:
    std::vector<long long> values_;
};

// What the surface holds before a case draws. Marker shows stray writes; Pattern gives
// every pixel its own colour, so an inversion or a blit from the wrong place shows too.
enum class Background { Marker, Pattern };

constexpr COLORREF kMarker = RGB(40, 110, 90);
constexpr COLORREF kPen = RGB(20, 30, 200);
constexpr COLORREF kBrush = RGB(240, 190, 40);
constexpr COLORREF kPen2 = RGB(210, 20, 60);

using Draw = std::function<void(HDC dc, Results &r)>;

struct Case {
    std::string name;
    Draw draw;
    Background background = Background::Marker;
};

// A group of cases of one size; one golden image holds all of them, tiled.
struct Group {
    std::string name;
    int cellWidth = 32;
    int cellHeight = 32;
    std::vector<Case> cases;

    void Add(std::string caseName, Draw draw, Background bg = Background::Marker)
    {
        cases.push_back({std::move(caseName), std::move(draw), bg});
    }
};

// Every group, in a fixed order (the order is that of the golden files' contents).
std::vector<Group> AllGroups();

// The groups by theme, one source file each.
void AddHarnessGroups(std::vector<Group> &out);
void AddLineGroups(std::vector<Group> &out);
void AddRectangleGroups(std::vector<Group> &out);
void AddEllipseGroups(std::vector<Group> &out);
void AddRoundRectGroups(std::vector<Group> &out);
void AddArcGroups(std::vector<Group> &out);
void AddPolygonGroups(std::vector<Group> &out);
void AddBezierGroups(std::vector<Group> &out);
void AddRegionGroups(std::vector<Group> &out);
void AddBlitGroups(std::vector<Group> &out);
void AddSequenceGroups(std::vector<Group> &out);
void AddExtremeGroups(std::vector<Group> &out);
void AddTextGroups(std::vector<Group> &out);

// ---- running a case ----

// Pixels come back as GetDIBits gives them for a 32-bit top-down DIB, with the unused top
// byte cleared (inversions flip it on some devices).
struct Outcome {
    Pixels pixels;
    std::vector<long long> results;
    std::string failure; // non-empty when the harness itself could not run the case
};

// Runs one case on a fresh memory DC holding a screen-compatible bitmap of the group's
// cell size, filled with the case's background.
Outcome Run(const Group &group, const Case &c);

// The background a case starts from (also used by cases that build their own bitmaps).
Pixels MakeBackground(Background bg, int width, int height);

// ---- a sheet: all cells of a group tiled into one image ----

constexpr int kSheetGap = 2;
constexpr uint32_t kSheetGapColour = 0x202020;

struct SheetLayout {
    int columns = 1;
    int width = 0;
    int height = 0;
    int CellX(size_t index, int cellWidth) const { return kSheetGap + static_cast<int>(index % columns) * (cellWidth + kSheetGap); }
    int CellY(size_t index, int cellHeight) const { return kSheetGap + static_cast<int>(index / columns) * (cellHeight + kSheetGap); }
};

SheetLayout LayoutFor(const Group &group);
void PlaceCell(Pixels &sheet, const SheetLayout &layout, const Group &group, size_t index, const Pixels &cell);
Pixels CutCell(const Pixels &sheet, const SheetLayout &layout, const Group &group, size_t index);

// One line per case: "<name>\t<v1> <v2> ..." - the results text kept beside each golden.
std::string ResultsLine(const std::string &caseName, const std::vector<long long> &values);

// ---- helpers for writing cases (plain GDI underneath) ----

// Selects a pen and a brush (either may be null to keep the DC's) and a mix mode, runs the
// drawing, then puts the DC's objects back and deletes what it created.
struct Style {
    int penStyle = PS_INSIDEFRAME;
    int penWidth = 1;
    COLORREF penColour = kPen;
    enum class Brush { Solid, Null, StockBlack, StockWhite } brush = Brush::Solid;
    COLORREF brushColour = kBrush;
    int rop = R2_COPYPEN;
    bool stockBlackPen = false;
};

Style Filled(int width, int penStyle = PS_INSIDEFRAME);
Style Frame(int width, int penStyle = PS_INSIDEFRAME);
Style InvertedByRop(); // stock black pen and brush under R2_NOT

void WithStyle(HDC dc, const Style &style, const std::function<void()> &draw);

// Creates the region, inverts it on dc, deletes it; records InvertRgn's result.
void InvertRegion(HDC dc, HRGN rgn, Results &r);

std::string Format(const char *fmt, ...);

} // namespace scene

#endif // QG_CONFORMANCE_SCENE_H
