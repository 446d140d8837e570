// regions.cpp (scenes) - InvertRgn with the three region kinds the library builds: small
// and thin elliptic regions, round-rect regions at the corner-size thresholds, double and
// overlapping inversions, empty regions, and regions reaching past the surface.
#include "../scene.h"

namespace scene {

namespace {

void AddElliptic(std::vector<Group> &out)
{
    Group g{"regions-elliptic", 16, 22, {}};
    // Widths 0..5 against a few heights: the thin and tiny end of the constructor.
    for (int w : {0, 1, 2, 3, 4, 5, 6})
        for (int h : {0, 1, 2, 3, 5, 8, 18}) {
            g.Add(Format("ellipse-%dx%d", w, h), [=](HDC dc, Results &r) {
                InvertRegion(dc, CreateEllipticRgn(3, 2, 3 + w, 2 + h), r);
            }, Background::Pattern);
        }
    out.push_back(std::move(g));
}

void AddRoundRect(std::vector<Group> &out)
{
    Group g{"regions-roundrect", 20, 20, {}};
    const int corners[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {2, 9}, {9, 2}, {3, 9}, {9, 3}, {15, 14}, {16, 15}, {17, 16}};
    for (const auto &c : corners)
        g.Add(Format("box16x15-c%dx%d", c[0], c[1]), [=](HDC dc, Results &r) {
            InvertRegion(dc, CreateRoundRectRgn(2, 2, 18, 17, c[0], c[1]), r);
        }, Background::Pattern);
    const int boxes[][2] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {3, 10}, {10, 3}};
    for (const auto &b : boxes)
        g.Add(Format("box%dx%d-c6x6", b[0], b[1]), [=](HDC dc, Results &r) {
            InvertRegion(dc, CreateRoundRectRgn(4, 4, 4 + b[0], 4 + b[1], 6, 6), r);
        }, Background::Pattern);
    g.Add("reversed", [](HDC dc, Results &r) { InvertRegion(dc, CreateRoundRectRgn(18, 17, 2, 2, 7, 5), r); },
          Background::Pattern);
    out.push_back(std::move(g));
}

void AddCombinations(std::vector<Group> &out)
{
    Group g{"regions-inversion", 24, 24, {}};
    g.Add("double-inversion-restores", [](HDC dc, Results &r) {
        HRGN rgn = CreateEllipticRgn(2, 3, 21, 20);
        r(InvertRgn(dc, rgn));
        r(InvertRgn(dc, rgn));
        DeleteObject(rgn);
    }, Background::Pattern);
    g.Add("overlapping-ellipse-and-roundrect", [](HDC dc, Results &r) {
        InvertRegion(dc, CreateEllipticRgn(2, 2, 16, 16), r);
        InvertRegion(dc, CreateRoundRectRgn(8, 8, 22, 22, 6, 6), r);
    }, Background::Pattern);
    g.Add("overlapping-triangles", [](HDC dc, Results &r) {
        const POINT a[] = {{2, 2}, {21, 4}, {6, 21}};
        const POINT b[] = {{21, 21}, {3, 12}, {16, 2}};
        InvertRegion(dc, CreatePolygonRgn(a, 3, WINDING), r);
        InvertRegion(dc, CreatePolygonRgn(b, 3, WINDING), r);
    }, Background::Pattern);
    g.Add("inversion-on-marker", [](HDC dc, Results &r) {
        InvertRegion(dc, CreateRoundRectRgn(3, 3, 21, 21, 8, 8), r);
    });
    g.Add("invert-over-drawing", [](HDC dc, Results &r) {
        WithStyle(dc, Filled(3), [&] { r(Rectangle(dc, 2, 2, 16, 16)); });
        InvertRegion(dc, CreateEllipticRgn(6, 6, 22, 22), r);
    });
    g.Add("empty-ellipse", [](HDC dc, Results &r) { InvertRegion(dc, CreateEllipticRgn(9, 9, 9, 9), r); }, Background::Pattern);
    g.Add("empty-roundrect", [](HDC dc, Results &r) { InvertRegion(dc, CreateRoundRectRgn(9, 9, 9, 15, 4, 4), r); },
          Background::Pattern);
    g.Add("polygon-two-points", [](HDC dc, Results &r) {
        const POINT p[] = {{3, 3}, {20, 20}};
        InvertRegion(dc, CreatePolygonRgn(p, 2, WINDING), r);
    }, Background::Pattern);
    g.Add("polygon-collinear", [](HDC dc, Results &r) {
        const POINT p[] = {{3, 3}, {10, 10}, {20, 20}};
        InvertRegion(dc, CreatePolygonRgn(p, 3, WINDING), r);
    }, Background::Pattern);
    // Regions reaching past each edge, and one wholly outside.
    const int boxes[][4] = {{-10, 4, 10, 18}, {14, 4, 34, 18}, {4, -10, 18, 10}, {4, 14, 18, 34},
                            {-20, -20, 44, 44}, {30, 30, 50, 50}, {-30, 2, -2, 20}};
    for (const auto &b : boxes) {
        g.Add(Format("ellipse-%d,%d,%d,%d", b[0], b[1], b[2], b[3]), [=](HDC dc, Results &r) {
            InvertRegion(dc, CreateEllipticRgn(b[0], b[1], b[2], b[3]), r);
        }, Background::Pattern);
        g.Add(Format("roundrect-%d,%d,%d,%d", b[0], b[1], b[2], b[3]), [=](HDC dc, Results &r) {
            InvertRegion(dc, CreateRoundRectRgn(b[0], b[1], b[2], b[3], 12, 12), r);
        }, Background::Pattern);
        g.Add(Format("triangle-%d,%d,%d,%d", b[0], b[1], b[2], b[3]), [=](HDC dc, Results &r) {
            const POINT p[] = {{b[0], b[1]}, {b[2], (b[1] + b[3]) / 2}, {(b[0] + b[2]) / 2, b[3]}};
            InvertRegion(dc, CreatePolygonRgn(p, 3, WINDING), r);
        }, Background::Pattern);
    }
    out.push_back(std::move(g));
}

} // namespace

void AddRegionGroups(std::vector<Group> &out)
{
    AddElliptic(out);
    AddRoundRect(out);
    AddCombinations(out);
}

} // namespace scene
