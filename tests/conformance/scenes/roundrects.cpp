// roundrects.cpp (scenes) - RoundRect and CreateRoundRectRgn: corner sizes from none to
// larger than the box (and negative), small boxes, and wide pens.
#include "../scene.h"

namespace scene {

namespace {

void Draw(HDC dc, Results &r, int look, int l, int t, int rr, int b, int ew, int eh)
{
    switch (look) {
    case 0: WithStyle(dc, Filled(1), [&] { r(RoundRect(dc, l, t, rr, b, ew, eh)); }); break;
    case 1: WithStyle(dc, Frame(1), [&] { r(RoundRect(dc, l, t, rr, b, ew, eh)); }); break;
    case 2: InvertRegion(dc, CreateRoundRectRgn(l, t, rr, b, ew, eh), r); break;
    default: WithStyle(dc, InvertedByRop(), [&] { r(RoundRect(dc, l, t, rr, b, ew, eh)); }); break;
    }
}

const char *LookName(int look)
{
    static const char *names[] = {"fill", "frame", "rgn", "not"};
    return names[look];
}

void AddCorners(std::vector<Group> &out)
{
    Group g{"roundrect-corners", 24, 20, {}};
    const int corners[][2] = {{0, 0}, {0, 5}, {5, 0},   {1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5},  {6, 4},
                              {4, 6}, {7, 7}, {8, 8},   {10, 10}, {1, 10},  {10, 1},  {19, 15}, {20, 16}, {21, 17},
                              {30, 30}, {40, 6}, {-6, -6}, {-4, 8}};
    for (int look = 0; look < 4; ++look)
        for (const auto &c : corners) {
            const int ew = c[0], eh = c[1];
            g.Add(Format("%s-c%dx%d", LookName(look), ew, eh), [=](HDC dc, Results &r) { Draw(dc, r, look, 2, 2, 22, 18, ew, eh); },
                  look >= 2 ? Background::Pattern : Background::Marker);
        }
    out.push_back(std::move(g));
}

void AddSmall(std::vector<Group> &out)
{
    Group g{"roundrect-small", 16, 16, {}};
    const int sizes[][2] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 3}, {3, 5}, {6, 6}, {7, 5}, {9, 12}};
    for (int look = 0; look < 4; ++look)
        for (const auto &s : sizes) {
            const int w = s[0], h = s[1];
            g.Add(Format("%s-%dx%d-c4x4", LookName(look), w, h), [=](HDC dc, Results &r) { Draw(dc, r, look, 3, 2, 3 + w, 2 + h, 4, 4); },
                  look >= 2 ? Background::Pattern : Background::Marker);
        }
    for (int look = 0; look < 4; ++look)
        g.Add(Format("%s-reversed", LookName(look)), [=](HDC dc, Results &r) { Draw(dc, r, look, 14, 13, 2, 2, 6, 5); },
              look >= 2 ? Background::Pattern : Background::Marker);
    out.push_back(std::move(g));
}

void AddPens(std::vector<Group> &out)
{
    Group g{"roundrect-pens", 30, 26, {}};
    const int corners[][2] = {{8, 8}, {12, 6}, {3, 3}};
    for (const auto &c : corners)
        for (int filled = 1; filled >= 0; --filled)
            for (int w : {0, 1, 2, 3, 4, 5, 7, 10}) {
                const int ew = c[0], eh = c[1];
                g.Add(Format("c%dx%d-inside-%s-w%d", ew, eh, filled ? "fill" : "frame", w), [=](HDC dc, Results &r) {
                    WithStyle(dc, filled ? Filled(w) : Frame(w), [&] { r(RoundRect(dc, 3, 3, 27, 23, ew, eh)); });
                });
            }
    for (int w : {3, 5})
        g.Add(Format("c8x8-solid-fill-w%d", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Filled(w, PS_SOLID), [&] { r(RoundRect(dc, 3, 3, 27, 23, 8, 8)); });
        });
    out.push_back(std::move(g));
}

} // namespace

void AddRoundRectGroups(std::vector<Group> &out)
{
    AddCorners(out);
    AddSmall(out);
    AddPens(out);
}

} // namespace scene
