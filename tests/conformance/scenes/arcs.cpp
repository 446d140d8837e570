// arcs.cpp (scenes) - Arc and Pie as the library uses them (Arc framed, Pie filled, Pie
// under R2_NOT): radials in every quadrant and on the axes, short and nearly full turns,
// equal start and end, radials through the centre, tiny and reversed boxes, wide pens.
#include "../scene.h"

namespace scene {

namespace {

// A radial given as a direction from the box centre; only the direction matters to GDI.
struct Dir {
    const char *name;
    int dx, dy;
};

const Dir E{"e", 1, 0}, NE{"ne", 1, -1}, N{"n", 0, -1}, NW{"nw", -1, -1}, W{"w", -1, 0}, SW{"sw", -1, 1},
    S{"s", 0, 1}, SE{"se", 1, 1}, C{"c", 0, 0}, ENE{"ene", 4, -1}, NNW{"nnw", -1, -3}, WSW{"wsw", -3, 1},
    SSE{"sse", 1, 3}, ESE{"ese", 3, 2};

struct Pair {
    Dir start, end;
};

const Pair kPairs[] = {{E, N},   {N, W},   {W, S},     {S, E},   {E, W},    {W, E},     {N, S},   {S, N},
                       {NE, NW}, {NW, SE}, {SE, NE},   {E, ENE}, {ENE, E},  {E, E},     {NE, NE}, {SSE, SSE},
                       {C, N},   {N, C},   {C, C},     {NNW, SSE}, {WSW, ESE}, {SW, NE}};

enum Look { kArc, kPieFill, kPieNot, kPieFrame };

void Draw(HDC dc, Results &r, Look look, int width, const int box[4], Dir s, Dir e)
{
    const int cx = box[0] + (box[2] - box[0]) / 2, cy = box[1] + (box[3] - box[1]) / 2;
    const int k = 4; // keeps every radial point inside the box
    const int xs = cx + s.dx * k, ys = cy + s.dy * k, xe = cx + e.dx * k, ye = cy + e.dy * k;
    switch (look) {
    case kArc: WithStyle(dc, Frame(width), [&] { r(Arc(dc, box[0], box[1], box[2], box[3], xs, ys, xe, ye)); }); break;
    case kPieFill: WithStyle(dc, Filled(width), [&] { r(Pie(dc, box[0], box[1], box[2], box[3], xs, ys, xe, ye)); }); break;
    case kPieFrame: WithStyle(dc, Frame(width), [&] { r(Pie(dc, box[0], box[1], box[2], box[3], xs, ys, xe, ye)); }); break;
    case kPieNot: WithStyle(dc, InvertedByRop(), [&] { r(Pie(dc, box[0], box[1], box[2], box[3], xs, ys, xe, ye)); }); break;
    }
}

const char *LookName(Look look)
{
    static const char *names[] = {"arc", "pie", "pienot", "pieframe"};
    return names[look];
}

void AddQuadrants(std::vector<Group> &out)
{
    static const int circle[4] = {2, 2, 26, 26};
    static const int ellipse[4] = {1, 6, 27, 21};
    for (int b = 0; b < 2; ++b) {
        Group g{b ? "arcs-ellipse" : "arcs-circle", 28, 28, {}};
        const int *box = b ? ellipse : circle;
        for (Look look : {kArc, kPieFill, kPieNot})
            for (const Pair &p : kPairs)
                g.Add(Format("%s-%s-%s", LookName(look), p.start.name, p.end.name),
                      [=](HDC dc, Results &r) { Draw(dc, r, look, 1, box, p.start, p.end); },
                      look == kPieNot ? Background::Pattern : Background::Marker);
        for (const Pair &p : {kPairs[0], kPairs[9], kPairs[13]})
            g.Add(Format("pieframe-%s-%s", p.start.name, p.end.name),
                  [=](HDC dc, Results &r) { Draw(dc, r, kPieFrame, 1, box, p.start, p.end); });
        out.push_back(std::move(g));
    }
}

void AddSmallAndReversed(std::vector<Group> &out)
{
    Group g{"arcs-small", 16, 16, {}};
    const int sizes[] = {0, 1, 2, 3, 4, 5, 7};
    for (Look look : {kArc, kPieFill, kPieNot})
        for (int s : sizes) {
            const int box[4] = {4, 4, 4 + s, 4 + s};
            g.Add(Format("%s-%dx%d", LookName(look), s, s), [=](HDC dc, Results &r) { Draw(dc, r, look, 1, box, E, N); },
                  look == kPieNot ? Background::Pattern : Background::Marker);
            g.Add(Format("%s-%dx%d-full", LookName(look), s, s), [=](HDC dc, Results &r) { Draw(dc, r, look, 1, box, E, E); },
                  look == kPieNot ? Background::Pattern : Background::Marker);
        }
    // Reversed boxes are normalised first.
    for (Look look : {kArc, kPieFill}) {
        const int rev[4] = {14, 14, 2, 2};
        g.Add(Format("%s-reversed", LookName(look)), [=](HDC dc, Results &r) { Draw(dc, r, look, 1, rev, E, N); });
    }
    out.push_back(std::move(g));
}

void AddPens(std::vector<Group> &out)
{
    Group g{"arcs-pens", 28, 28, {}};
    static const int box[4] = {2, 2, 26, 26};
    for (int w : {0, 2, 3, 5, 10})
        for (Look look : {kArc, kPieFill})
            for (const Pair &p : {kPairs[0], kPairs[4], kPairs[10], kPairs[13]})
                g.Add(Format("%s-w%d-%s-%s", LookName(look), w, p.start.name, p.end.name),
                      [=](HDC dc, Results &r) { Draw(dc, r, look, w, box, p.start, p.end); });
    for (int w : {3, 5})
        g.Add(Format("arc-solid-w%d-e-n", w), [=](HDC dc, Results &r) {
            WithStyle(dc, Frame(w, PS_SOLID), [&] { r(Arc(dc, 2, 2, 26, 26, 18, 14, 14, 10)); });
        });
    out.push_back(std::move(g));
}

} // namespace

void AddArcGroups(std::vector<Group> &out)
{
    AddQuadrants(out);
    AddSmallAndReversed(out);
    AddPens(out);
}

} // namespace scene
