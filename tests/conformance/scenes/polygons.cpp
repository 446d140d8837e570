// polygons.cpp (scenes) - Polygon (ALTERNATE, the DC default) filled, framed and under
// R2_NOT, and CreatePolygonRgn WINDING inverted, as the library draws triangles and
// polygons: orientations, slivers, concave and self-crossing outlines, point counts 0-3,
// collinear and repeated points, wide pens.
#include "../scene.h"

namespace scene {

namespace {

struct Shape {
    const char *name;
    std::vector<POINT> points;
};

std::vector<Shape> Shapes()
{
    return {
        {"tri-ccw", {{3, 3}, {4, 19}, {20, 12}}},
        {"tri-cw", {{3, 3}, {20, 12}, {4, 19}}},
        {"tri-flat-top", {{2, 4}, {21, 4}, {11, 20}}},
        {"tri-flat-bottom", {{11, 2}, {21, 19}, {2, 19}}},
        {"tri-right", {{3, 3}, {3, 20}, {20, 20}}},
        {"tri-sliver", {{1, 2}, {22, 6}, {2, 4}}},
        {"tri-tall-sliver", {{10, 1}, {12, 22}, {11, 2}}},
        {"tri-tiny", {{5, 5}, {7, 5}, {5, 7}}},
        {"tri-3px", {{5, 5}, {6, 6}, {5, 6}}},
        {"tri-half-pixel", {{4, 4}, {19, 9}, {6, 15}}},
        {"square", {{4, 4}, {18, 4}, {18, 16}, {4, 16}}},
        {"diamond", {{11, 2}, {20, 11}, {11, 20}, {2, 11}}},
        {"chevron", {{2, 2}, {20, 11}, {2, 20}, {9, 11}}},
        {"bowtie", {{2, 3}, {20, 19}, {20, 3}, {2, 19}}},
        {"star5", {{12, 1}, {19, 20}, {2, 7}, {22, 7}, {5, 20}}},
        {"star7", {{12, 1}, {17, 21}, {3, 6}, {22, 13}, {2, 13}, {21, 6}, {7, 21}}},
        {"square-twice", {{4, 4}, {18, 4}, {18, 16}, {4, 16}, {4, 4}, {18, 4}, {18, 16}, {4, 16}}},
        {"nested-reverse", {{2, 2}, {21, 2}, {21, 21}, {2, 21}, {2, 2}, {6, 6}, {6, 17}, {17, 17}, {17, 6}, {6, 6}}},
        {"collinear", {{2, 3}, {11, 9}, {20, 15}}},
        {"collinear-back", {{2, 3}, {20, 15}, {11, 9}}},
        {"horizontal", {{3, 10}, {20, 10}, {9, 10}}},
        {"vertical", {{10, 3}, {10, 20}, {10, 9}}},
        {"repeated", {{4, 4}, {4, 4}, {19, 8}, {19, 8}, {8, 19}}},
        {"collinear-mid", {{3, 3}, {11, 3}, {19, 3}, {19, 19}, {3, 19}}},
        {"two-points", {{3, 4}, {19, 15}}},
        {"one-point", {{8, 8}}},
        {"spiky", {{2, 20}, {5, 2}, {8, 20}, {11, 2}, {14, 20}, {17, 2}, {20, 20}}},
    };
}

const char *LookName(int look)
{
    static const char *names[] = {"fill", "frame", "rgn", "not"};
    return names[look];
}

void Draw(HDC dc, Results &r, int look, const std::vector<POINT> &p)
{
    const int n = static_cast<int>(p.size());
    switch (look) {
    case 0: WithStyle(dc, Filled(1), [&] { r(Polygon(dc, p.data(), n)); }); break;
    case 1: WithStyle(dc, Frame(1), [&] { r(Polygon(dc, p.data(), n)); }); break;
    case 2: InvertRegion(dc, CreatePolygonRgn(p.data(), n, WINDING), r); break;
    default: WithStyle(dc, InvertedByRop(), [&] { r(Polygon(dc, p.data(), n)); }); break;
    }
}

void AddShapes(std::vector<Group> &out)
{
    Group g{"polygons", 24, 24, {}};
    for (int look = 0; look < 4; ++look)
        for (const Shape &s : Shapes())
            g.Add(Format("%s-%s", LookName(look), s.name), [=, pts = s.points](HDC dc, Results &r) { Draw(dc, r, look, pts); },
                  look >= 2 ? Background::Pattern : Background::Marker);
    // No points at all: refused by Polygon; an empty region.
    for (int look = 0; look < 4; ++look)
        g.Add(Format("%s-no-points", LookName(look)), [=](HDC dc, Results &r) {
            POINT p[1] = {{5, 5}};
            switch (look) {
            case 0: WithStyle(dc, Filled(1), [&] { r(Polygon(dc, p, 0)); }); break;
            case 1: WithStyle(dc, Frame(1), [&] { r(Polygon(dc, p, 0)); }); break;
            case 2: {
                HRGN rgn = CreatePolygonRgn(p, 0, WINDING);
                r(rgn != nullptr);
                if (rgn)
                    InvertRegion(dc, rgn, r);
                break;
            }
            default: WithStyle(dc, InvertedByRop(), [&] { r(Polygon(dc, p, 0)); }); break;
            }
        }, look >= 2 ? Background::Pattern : Background::Marker);
    out.push_back(std::move(g));
}

void AddPens(std::vector<Group> &out)
{
    Group g{"polygon-pens", 30, 30, {}};
    const std::vector<POINT> tri = {{5, 4}, {25, 12}, {9, 26}};
    const std::vector<POINT> star = {{15, 2}, {23, 26}, {3, 10}, {27, 10}, {7, 26}};
    const std::vector<POINT> line = {{5, 6}, {24, 22}};
    for (int w : {0, 2, 3, 4, 5, 7, 10})
        for (int filled = 1; filled >= 0; --filled) {
            g.Add(Format("tri-%s-w%d", filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                WithStyle(dc, filled ? Filled(w) : Frame(w), [&] { r(Polygon(dc, tri.data(), 3)); });
            });
            g.Add(Format("star-%s-w%d", filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                WithStyle(dc, filled ? Filled(w) : Frame(w), [&] { r(Polygon(dc, star.data(), 5)); });
            });
        }
    for (int w : {3, 5})
        g.Add(Format("two-points-w%d", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(w), [&] { r(Polygon(dc, line.data(), 2)); });
        });
    for (int w : {3, 5})
        g.Add(Format("star-solid-fill-w%d", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(w, PS_SOLID), [&] { r(Polygon(dc, star.data(), 5)); });
        });
    for (int w : {2, 5})
        g.Add(Format("star-inside-not-w%d", w), [=](HDC dc, Results &r) {
            Style s = Filled(w);
            s.rop = R2_NOT;
            WithStyle(dc, s, [&] { r(Polygon(dc, star.data(), 5)); });
        }, Background::Pattern);
    out.push_back(std::move(g));
}

} // namespace

void AddPolygonGroups(std::vector<Group> &out)
{
    AddShapes(out);
    AddPens(out);
}

} // namespace scene
