// drawing.h - what the drawing tests share on top of the window tests' fixture: the
// surface read back as the window system shows it, and the calls that put a draw
// style into a context, as the call log prints them.
#ifndef QUILLGRAPH_TESTS_DRAWING_DRAWING_H
#define QUILLGRAPH_TESTS_DRAWING_DRAWING_H

#include "../window/support.h"

#include <cstdint>
#include <string>
#include <vector>

// A picture of the client surface, 0x00RRGGBB per pixel.
struct Screen {
    std::vector<uint32_t> pixels;
    int width = 0;
    int height = 0;

    explicit Screen(window &w) { pixels = hooks::ReadClientSurface(WindowInspector::Handle(w), &width, &height); }
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline uint32_t Rgb(const color &c)
{
    return uint32_t{c.ucRed} << 16 | uint32_t{c.ucGreen} << 8 | c.ucBlue;
}

class DrawingTest : public WindowTest {
protected:
    // What a context holds when nothing of the window's is selected into it.
    static std::pair<HGDIOBJ, HGDIOBJ> OwnPenAndBrush(HDC dc)
    {
        const HGDIOBJ pen = SelectObject(dc, GetStockObject(WHITE_PEN));
        SelectObject(dc, pen);
        const HGDIOBJ brush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        SelectObject(dc, brush);
        return {pen, brush};
    }

    // The calls of SelectDrawStyle for a valid style.
    static std::vector<std::string> SelectLines(window &w, drawstyle style)
    {
        const std::string dc = Hex(WindowInspector::Active(w));
        switch (style) {
        case STYLE_FILLED:
            return {"SelectObject(" + dc + "," + Hex(WindowInspector::Pen(w)) + ")",
                    "SelectObject(" + dc + "," + Hex(WindowInspector::Brush(w)) + ")", "SetROP2(" + dc + ",13)"};
        case STYLE_FRAME:
            return {"SelectObject(" + dc + "," + Hex(WindowInspector::Pen(w)) + ")", "GetStockObject(5)",
                    "SelectObject(" + dc + "," + Hex(GetStockObject(NULL_BRUSH)) + ")", "SetROP2(" + dc + ",13)"};
        default:
            return {"GetStockObject(7)", "SelectObject(" + dc + "," + Hex(GetStockObject(BLACK_PEN)) + ")",
                    "GetStockObject(4)", "SelectObject(" + dc + "," + Hex(GetStockObject(BLACK_BRUSH)) + ")",
                    "SetROP2(" + dc + ",6)"};
        }
    }

    // The calls of RestoreDrawStyle.
    static std::vector<std::string> RestoreLines(window &w)
    {
        const HDC dc = WindowInspector::Active(w);
        const auto own = OwnPenAndBrush(dc);
        return {"SelectObject(" + Hex(dc) + "," + Hex(own.first) + ")",
                "SelectObject(" + Hex(dc) + "," + Hex(own.second) + ")"};
    }

    static std::string PumpLine(window &w)
    {
        return "PeekMessageA(out," + Hex(WindowInspector::Handle(w)) + ",0,0,1)";
    }

    // pump, select, the figure call, restore.
    static std::vector<std::string> Selected(window &w, drawstyle style, const std::string &figure)
    {
        std::vector<std::string> lines = {PumpLine(w)};
        for (const std::string &line : SelectLines(w, style))
            lines.push_back(line);
        lines.push_back(figure);
        for (const std::string &line : RestoreLines(w))
            lines.push_back(line);
        return lines;
    }

    // Fills the whole client surface with one colour, pen and brush alike, and leaves
    // the pen and brush in that colour.
    static void Paint(window &w, const color &c)
    {
        w.SetPen(c, 1);
        w.SetBrush(c);
        w.DrawRectangle(-1, -1, w.GetWidth() + 10, w.GetHeight() + 10, STYLE_FILLED);
    }
};

#endif // QUILLGRAPH_TESTS_DRAWING_DRAWING_H
