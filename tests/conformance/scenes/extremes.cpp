// extremes.cpp (scenes) - figures reaching past the surface on each side, lying wholly
// outside it, and coordinates far out in the 32-bit range, where only the clipped part
// may cost anything.
#include "../scene.h"

#include <climits>

namespace scene {

namespace {

// Boxes relative to a 24 x 24 surface: past each edge, around it, and wholly outside.
const int kBoxes[][4] = {{-8, 4, 12, 18}, {12, 4, 32, 18}, {4, -8, 18, 12}, {4, 12, 18, 32},
                         {-6, -6, 10, 10}, {14, 14, 30, 30}, {-10, -10, 34, 34}, {30, 4, 50, 20},
                         {4, -30, 20, -2}, {-40, -40, -20, -20}};

void AddOffSurface(std::vector<Group> &out)
{
    Group g{"off-surface", 24, 24, {}};
    for (const auto &b : kBoxes) {
        const std::string where = Format("%d,%d,%d,%d", b[0], b[1], b[2], b[3]);
        g.Add("rect-" + where, [=](HDC dc, Results &r) { WithStyle(dc, Filled(3), [&] { r(Rectangle(dc, b[0], b[1], b[2], b[3])); }); });
        g.Add("ellipse-" + where, [=](HDC dc, Results &r) { WithStyle(dc, Filled(1), [&] { r(Ellipse(dc, b[0], b[1], b[2], b[3])); }); });
        g.Add("roundrect-" + where, [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(2), [&] { r(RoundRect(dc, b[0], b[1], b[2], b[3], 9, 7)); });
        });
        g.Add("pie-" + where, [=](HDC dc, Results &r) {
            const int cx = (b[0] + b[2]) / 2, cy = (b[1] + b[3]) / 2;
            WithStyle(dc, Filled(1), [&] { r(Pie(dc, b[0], b[1], b[2], b[3], b[2], cy, cx, b[3])); });
        });
        g.Add("arc-" + where, [=](HDC dc, Results &r) {
            const int cx = (b[0] + b[2]) / 2, cy = (b[1] + b[3]) / 2;
            WithStyle(dc, Frame(3), [&] { r(Arc(dc, b[0], b[1], b[2], b[3], b[2], cy, cx, b[1])); });
        });
        g.Add("triangle-" + where, [=](HDC dc, Results &r) {
            const POINT p[] = {{b[0], b[1]}, {b[2], (b[1] + b[3]) / 2}, {(b[0] + b[2]) / 2, b[3]}};
            WithStyle(dc, Filled(1), [&] { r(Polygon(dc, p, 3)); });
        });
        g.Add("not-rect-" + where, [=](HDC dc, Results &r) {
            WithStyle(dc, InvertedByRop(), [&] { r(Rectangle(dc, b[0], b[1], b[2], b[3])); });
        }, Background::Pattern);
    }
    const int lines[][4] = {{-10, 5, 30, 15}, {5, -10, 15, 30}, {-5, -5, 30, 30}, {30, 2, -8, 20},
                            {-20, -3, 40, -1}, {25, -10, 25, 40}, {-100, 12, 100, 12}, {-50, -40, 60, 70}};
    for (const auto &l : lines)
        for (int w : {1, 4})
            g.Add(Format("line-w%d-%d,%d-%d,%d", w, l[0], l[1], l[2], l[3]), [=](HDC dc, Results &r) {
                WithStyle(dc, Frame(w), [&] {
                    r(MoveToEx(dc, l[0], l[1], nullptr));
                    r(LineTo(dc, l[2], l[3]));
                });
            });
    g.Add("bezier-past-edges", [](HDC dc, Results &r) {
        const POINT p[] = {{-10, 20}, {0, -30}, {30, 50}, {34, 2}};
        WithStyle(dc, Frame(1), [&] { r(PolyBezier(dc, p, 4)); });
    });
    out.push_back(std::move(g));
}

void AddFarOut(std::vector<Group> &out)
{
    Group g{"far-coordinates", 24, 24, {}};
    const int big = 1000000;
    const int huge = INT_MAX / 2;
    // Real GDI fills polygons row by row over their whole height, out of the surface too
    // (about 17 s under Wine at 2^30), so polygons stay at ten million.
    const int distant = 10000000;
    const int maxv = INT_MAX, minv = INT_MIN;
    g.Add("rect-around-1e6", [=](HDC dc, Results &r) { WithStyle(dc, Filled(3), [&] { r(Rectangle(dc, -big, -big, big, big)); }); });
    g.Add("rect-edge-1e6", [=](HDC dc, Results &r) { WithStyle(dc, Filled(3), [&] { r(Rectangle(dc, -big, 6, 12, big)); }); });
    g.Add("rect-around-huge", [=](HDC dc, Results &r) { WithStyle(dc, Filled(1), [&] { r(Rectangle(dc, -huge, -huge, huge, huge)); }); });
    g.Add("rect-int-limits", [=](HDC dc, Results &r) { WithStyle(dc, Filled(1), [&] { r(Rectangle(dc, minv, minv, maxv, maxv)); }); });
    g.Add("not-rect-around-1e6", [=](HDC dc, Results &r) {
        WithStyle(dc, InvertedByRop(), [&] { r(Rectangle(dc, -big, 5, big, 15)); });
    }, Background::Pattern);
    g.Add("line-1e6", [=](HDC dc, Results &r) {
        WithStyle(dc, Frame(1), [&] {
            r(MoveToEx(dc, -big, -big + 3, nullptr));
            r(LineTo(dc, big, big + 3));
        });
    });
    g.Add("line-huge-horizontal", [=](HDC dc, Results &r) {
        WithStyle(dc, Frame(1), [&] {
            r(MoveToEx(dc, -huge, 9, nullptr));
            r(LineTo(dc, huge, 9));
        });
    });
    g.Add("line-huge-steep", [=](HDC dc, Results &r) {
        WithStyle(dc, Frame(1), [&] {
            r(MoveToEx(dc, 5, -huge, nullptr));
            r(LineTo(dc, 18, huge));
        });
    });
    g.Add("wide-line-1e6", [=](HDC dc, Results &r) {
        WithStyle(dc, Frame(5), [&] {
            r(MoveToEx(dc, -big, 12, nullptr));
            r(LineTo(dc, big, 12));
        });
    });
    g.Add("triangle-1e6", [=](HDC dc, Results &r) {
        const POINT p[] = {{-big, -big}, {big, 0}, {0, big}};
        WithStyle(dc, Filled(1), [&] { r(Polygon(dc, p, 3)); });
    });
    g.Add("triangle-1e7", [=](HDC dc, Results &r) {
        const POINT p[] = {{-distant, -distant}, {distant, 3}, {3, distant}};
        WithStyle(dc, Filled(1), [&] { r(Polygon(dc, p, 3)); });
    });
    g.Add("rgn-triangle-1e6", [=](HDC dc, Results &r) {
        const POINT p[] = {{-big, -big}, {big, 0}, {0, big}};
        InvertRegion(dc, CreatePolygonRgn(p, 3, WINDING), r);
    }, Background::Pattern);
    g.Add("ellipse-edge-2e4", [=](HDC dc, Results &r) {
        WithStyle(dc, Filled(1), [&] { r(Ellipse(dc, -20000, 4, 20, 20)); });
    });
    g.Add("ellipse-around-2e4", [=](HDC dc, Results &r) {
        WithStyle(dc, Filled(1), [&] { r(Ellipse(dc, -20000, -20000, 20024, 20024)); });
    });
    g.Add("rgn-ellipse-edge-2e4", [=](HDC dc, Results &r) {
        InvertRegion(dc, CreateEllipticRgn(-20000, 4, 20, 20), r);
    }, Background::Pattern);
    g.Add("rgn-roundrect-1e6", [=](HDC dc, Results &r) {
        InvertRegion(dc, CreateRoundRectRgn(-big, 3, 20, big, 30, 30), r);
    }, Background::Pattern);
    g.Add("roundrect-1e6", [=](HDC dc, Results &r) {
        WithStyle(dc, Filled(2), [&] { r(RoundRect(dc, -big, 3, 20, big, 30, 30)); });
    });
    g.Add("bitblt-far-source", [=](HDC dc, Results &r) { r(BitBlt(dc, 2, 2, 10, 10, dc, big, -big, SRCCOPY)); }, Background::Pattern);
    g.Add("bitblt-far-dest", [=](HDC dc, Results &r) { r(BitBlt(dc, -big, huge, 10, 10, dc, 0, 0, SRCCOPY)); }, Background::Pattern);
    out.push_back(std::move(g));
}

} // namespace

void AddExtremeGroups(std::vector<Group> &out)
{
    AddOffSurface(out);
    AddFarOut(out);
}

} // namespace scene
