// shapes.cpp - the shape primitives: lines, rectangles, triangles, polygons, circles,
// ellipses, arcs, Bezier curves and single pixels. Each hands its coordinates to one GDI
// figure call on dcActive, or inverts a region of the same figure.
#include "../window/report.h"
#include "../graphics.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <new>

namespace {

// GDI counts the vertices of one polygon in 16 bits.
const int maxPolygonVertices = 65535;

const char invalidStyle[] = "Fatal Error: You have tried to use an invalid or unimplemented drawstyle!";

// The error lines of one figure, a line per style.
struct StyleMessages {
    const char *filled;
    const char *frame;
    const char *inverted;

    const char *For(drawstyle style) const
    {
        return style == STYLE_FILLED ? filled : style == STYLE_FRAME ? frame : inverted;
    }
};

const StyleMessages rectangleMessages = {
    "Fatal Error: Failed to draw filled style in DrawRectangle!",
    "Fatal Error: Failed to draw frame style in DrawRectangle!",
    "Fatal Error: Failed to draw inverted style in DrawRectangle!",
};
const StyleMessages roundedMessages = {
    "Fatal Error: Failed to draw filled style in DrawRectangle (rounded)!",
    "Fatal Error: Failed to draw frame style in DrawRectangle (rounded)!",
    "Fatal Error: Failed to draw inverted style in DrawRectangle (rounded)!",
};
const StyleMessages triangleMessages = {
    "Fatal Error: Failed to draw filled style in DrawTriangle!",
    "Fatal Error: Failed to draw frame style in DrawTriangle!",
    "Fatal Error: Failed to draw inverted style in DrawTriangle!",
};
const StyleMessages polygonMessages = {
    "Fatal Error: Failed to draw filled style in DrawPolygon!",
    "Fatal Error: Failed to draw frame style in DrawPolygon!",
    "Fatal Error: Failed to draw inverted style in DrawPolygon!",
};
const StyleMessages circleMessages = {
    "Fatal Error: Failed to draw filled style in DrawCircle!",
    "Fatal Error: Failed to draw frame style in DrawCircle!",
    "Fatal Error: Failed to draw inverted style in DrawCircle!",
};
const StyleMessages ellipseMessages = {
    "Fatal Error: Failed to draw filled style in DrawEllipse!",
    "Fatal Error: Failed to draw frame style in DrawEllipse!",
    "Fatal Error: Failed to draw inverted style in DrawEllipse!",
};
const StyleMessages arcMessages = {
    "Fatal Error: Failed to draw filled style in DrawArc!",
    "Fatal Error: Failed to draw frame style in DrawArc!",
    "Fatal Error: Failed to draw inverted style in DrawArc!",
};

bool Drawable(drawstyle style)
{
    return style == STYLE_FILLED || style == STYLE_FRAME || style == STYLE_INVERTED;
}

// GDI takes 32-bit coordinates; a sum beyond them is pinned to the edge of the range
// rather than wrapped to the far side of the surface.
int Pinned(int64_t value)
{
    return static_cast<int>(value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value);
}

// The two radial points of an arc: where the rays from the box centre at the start and
// end angles leave the ellipse.
struct ArcEnds {
    int xStart, yStart, xEnd, yEnd;
};

ArcEnds ArcRadialPoints(int x1, int y1, int x2, int y2, double start, double end, int unit)
{
    // In 64 bits the halves cannot overflow, and centre plus half-axis stays within the
    // box, so every point fits GDI's 32 bits again.
    const int64_t a = (int64_t{x2} - x1) / 2;
    const int64_t b = (int64_t{y2} - y1) / 2;
    const int64_t cx = (int64_t{x1} + x2) / 2;
    const int64_t cy = (int64_t{y1} + y2) / 2;
    if (unit != 1) {
        const double pi = 3.141592653589793;
        start = (pi / 180) * start;
        end = (pi / 180) * end;
    }
    // An angle that is no number (NaN, infinity) points at the centre, which GDI takes
    // as 3 o'clock, instead of making an undefined conversion.
    auto offset = [](int64_t halfAxis, double trig) -> int64_t {
        const double product = static_cast<double>(halfAxis) * trig;
        return std::isfinite(product) ? static_cast<int64_t>(std::trunc(product)) : 0;
    };
    // y grows downward, so the sine is subtracted: angles run counter-clockwise on screen.
    return ArcEnds{Pinned(cx + offset(a, std::cos(start))), Pinned(cy - offset(b, std::sin(start))),
                   Pinned(cx + offset(a, std::cos(end))), Pinned(cy - offset(b, std::sin(end)))};
}

} // namespace

template <typename Figure>
void window::DrawSelected(drawstyle style, const char *message, Figure figure)
{
    SelectDrawStyle(style);
    if (figure() != 1)
        ReportError(message);
    RestoreDrawStyle();
}

void window::InvertRegion(HRGN region, const char *message)
{
    if (InvertRgn(dcActive, region) != 1)
        ReportError(message);
    DeleteObject(region);
}

void window::DrawLine(int x1, int y1, int x2, int y2, drawstyle style)
{
    PumpMessages();
    if (style != STYLE_FRAME) {
        ReportError(invalidStyle);
        return;
    }
    SelectDrawStyle(STYLE_FRAME);
    if (MoveToEx(dcActive, x1, y1, nullptr) != 1)
        ReportError("Fatal Error: Failed to MoveToEx in DrawLine!");
    if (LineTo(dcActive, x2, y2) != 1)
        ReportError("Fatal Error: Failed to draw in DrawLine!");
    RestoreDrawStyle();
}

void window::DrawRectangle(int x1, int y1, int x2, int y2, drawstyle style, int width, int height)
{
    PumpMessages();
    if (!Drawable(style)) {
        ReportError(invalidStyle);
        return;
    }
    if (width == 0 && height == 0) {
        // Square corners invert through the R2_NOT mix mode like the other styles.
        DrawSelected(style, rectangleMessages.For(style), [&] { return Rectangle(dcActive, x1, y1, x2, y2); });
    } else if (style == STYLE_INVERTED) {
        InvertRegion(CreateRoundRectRgn(x1, y1, x2, y2, width, height), roundedMessages.inverted);
    } else {
        DrawSelected(style, roundedMessages.For(style),
                     [&] { return RoundRect(dcActive, x1, y1, x2, y2, width, height); });
    }
}

void window::DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, drawstyle style)
{
    PumpMessages();
    const POINT corners[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
    if (!Drawable(style)) {
        ReportError(invalidStyle);
    } else if (style == STYLE_INVERTED) {
        InvertRegion(CreatePolygonRgn(corners, 3, WINDING), triangleMessages.inverted);
    } else {
        DrawSelected(style, triangleMessages.For(style), [&] { return Polygon(dcActive, corners, 3); });
    }
}

void window::DrawPolygon(const int *xs, const int *ys, int count, drawstyle style)
{
    // A count GDI cannot take, or points that are not there, would be read as far as the
    // count says: such a polygon is refused whole.
    if (count < 0 || count > maxPolygonVertices || (count > 0 && (!xs || !ys))) {
        PumpMessages();
        ReportError("Fatal Error: Invalid vertex count in DrawPolygon!");
        return;
    }
    std::unique_ptr<POINT[]> points(new (std::nothrow) POINT[static_cast<size_t>(count)]);
    if (!points)
        throw ERROR_OUT_OF_MEMORY;
    for (int i = 0; i < count; ++i)
        points[i] = POINT{xs[i], ys[i]};

    PumpMessages();
    if (!Drawable(style)) {
        ReportError(invalidStyle);
    } else if (style == STYLE_INVERTED) {
        InvertRegion(CreatePolygonRgn(points.get(), count, WINDING), polygonMessages.inverted);
    } else {
        DrawSelected(style, polygonMessages.For(style), [&] { return Polygon(dcActive, points.get(), count); });
    }
}

void window::DrawCircle(int x, int y, int radius, drawstyle style)
{
    PumpMessages();
    const int left = Pinned(int64_t{x} - radius);
    const int top = Pinned(int64_t{y} - radius);
    const int right = Pinned(int64_t{x} + radius);
    const int bottom = Pinned(int64_t{y} + radius);
    if (!Drawable(style)) {
        ReportError(invalidStyle);
    } else if (style == STYLE_INVERTED) {
        InvertRegion(CreateEllipticRgn(left, top, right, bottom), circleMessages.inverted);
    } else {
        DrawSelected(style, circleMessages.For(style), [&] { return Ellipse(dcActive, left, top, right, bottom); });
    }
}

void window::DrawEllipse(int x1, int y1, int x2, int y2, drawstyle style)
{
    PumpMessages();
    if (!Drawable(style)) {
        ReportError(invalidStyle);
    } else if (style == STYLE_INVERTED) {
        InvertRegion(CreateEllipticRgn(x1, y1, x2, y2), ellipseMessages.inverted);
    } else {
        DrawSelected(style, ellipseMessages.For(style), [&] { return Ellipse(dcActive, x1, y1, x2, y2); });
    }
}

void window::DrawArc(int x1, int y1, int x2, int y2, double start, double end, drawstyle style, int unit)
{
    PumpMessages();
    const ArcEnds ends = ArcRadialPoints(x1, y1, x2, y2, start, end, unit);
    switch (style) {
    case STYLE_FILLED:
    case STYLE_INVERTED:
        // Inverted is the same wedge drawn under the R2_NOT mix mode.
        DrawSelected(style, arcMessages.For(style), [&] {
            return Pie(dcActive, x1, y1, x2, y2, ends.xStart, ends.yStart, ends.xEnd, ends.yEnd);
        });
        break;
    case STYLE_FRAME:
        DrawSelected(style, arcMessages.frame, [&] {
            return Arc(dcActive, x1, y1, x2, y2, ends.xStart, ends.yStart, ends.xEnd, ends.yEnd);
        });
        break;
    default:
        ReportError(invalidStyle);
        break;
    }
}

void window::DrawBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, drawstyle style)
{
    PumpMessages();
    if (style != STYLE_FRAME) {
        ReportError(invalidStyle);
        return;
    }
    const POINT points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    DrawSelected(STYLE_FRAME, "Fatal Error: Failed to draw in DrawBezier!",
                 [&] { return PolyBezier(dcActive, points, 4); });
}

void window::DrawPixel(int x, int y)
{
    // A one-pixel line in a thin pen of the current colour; the pen the program chose,
    // of whatever width, is put aside meanwhile and comes back unchanged.
    const HPEN kept = penObject;
    penObject = CreatePen(PS_INSIDEFRAME, 1, RGB(penColor.ucRed, penColor.ucGreen, penColor.ucBlue));
    // A line leaves out its end point. At the edge of the coordinate range the end is
    // pinned instead of wrapped; no surface reaches that far.
    DrawLine(x, y, Pinned(int64_t{x} + 1), Pinned(int64_t{y} + 1), STYLE_FRAME);
    if (penObject) {
        if (DeleteObject(penObject) != 1)
            ReportError("Fatal Error: Failed to delete penObject in SetPen!");
        penObject = nullptr;
    }
    penObject = kept;
}
