// canvas.h - a drawing frame for the game's pictures: a rectangle of the window in which
// shapes are given in local coordinates, optionally turned a quarter (for vertical ships).
#ifndef ZARN_ART_CANVAS_H
#define ZARN_ART_CANVAS_H

#include "graphics.h"

#include <initializer_list>
#include <utility>
#include <vector>

namespace art {

// Local (u, v) -> window (x, y). Along a ship u runs bow to stern and v across it; a
// turned canvas maps u downwards and v rightwards, so one drawing serves both ships.
class Canvas {
public:
    Canvas(window &win, int x, int y, bool turned = false) : win_(win), x_(x), y_(y), turned_(turned) {}

    window &Win() { return win_; }

    void Pen(const color &c, int width = 1) { win_.SetPen(c, width); }
    void Brush(const color &c) { win_.SetBrush(c); }

    void Rect(int u1, int v1, int u2, int v2, drawstyle style = STYLE_FILLED)
    {
        auto [x1, y1] = Map(u1, v1);
        auto [x2, y2] = Map(u2, v2);
        win_.DrawRectangle(x1, y1, x2, y2, style, 0, 0);
    }
    void Ellipse(int u1, int v1, int u2, int v2, drawstyle style = STYLE_FILLED)
    {
        auto [x1, y1] = Map(u1, v1);
        auto [x2, y2] = Map(u2, v2);
        win_.DrawEllipse(x1, y1, x2, y2, style);
    }
    void Circle(int u, int v, int r, drawstyle style = STYLE_FILLED)
    {
        auto [x, y] = Map(u, v);
        win_.DrawCircle(x, y, r, style);
    }
    void Line(int u1, int v1, int u2, int v2)
    {
        auto [x1, y1] = Map(u1, v1);
        auto [x2, y2] = Map(u2, v2);
        win_.DrawLine(x1, y1, x2, y2, STYLE_FRAME);
    }
    void Pixel(int u, int v)
    {
        auto [x, y] = Map(u, v);
        win_.DrawPixel(x, y);
    }
    void Polygon(std::initializer_list<std::pair<int, int>> points, drawstyle style = STYLE_FILLED)
    {
        std::vector<int> xs, ys;
        for (auto [u, v] : points) {
            auto [x, y] = Map(u, v);
            xs.push_back(x);
            ys.push_back(y);
        }
        win_.DrawPolygon(xs.data(), ys.data(), static_cast<int>(xs.size()), style);
    }

private:
    std::pair<int, int> Map(int u, int v) const
    {
        return turned_ ? std::pair{x_ + v, y_ + u} : std::pair{x_ + u, y_ + v};
    }

    window &win_;
    int x_, y_;
    bool turned_;
};

} // namespace art

#endif // ZARN_ART_CANVAS_H
