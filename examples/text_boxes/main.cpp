// text_boxes - the three font families in three styles, each inside the box that
// GetStringSize measures for it (red). Italic letters may lean out of their box, as they
// do on Windows. Close the window, or click it once it asks for a click.
#include "graphics.h"

#include <string>

int main()
{
    window w(720, 420, 40, 40);
    w.SetTitle("Quillgraph text: three families, three styles");

    const struct {
        int family;
        const char *face;
        const char *name;
    } families[] = {
        {FAMILY_SWISS, "Arial", "Arial"},
        {FAMILY_ROMAN, "Times New Roman", "Times New Roman"},
        {FAMILY_MODERN, "Courier New", "Courier New"},
    };
    const struct {
        int bits;
        const char *name;
    } styles[] = {{FONT_BOLD, "bold"}, {FONT_ITALIC, "italic"}, {FONT_UNDERLINED, "underlined"}};

    const int x = 24;
    int y = 16;
    for (const auto &family : families) {
        for (const auto &style : styles) {
            w.SetFont(24, style.bits, family.family, family.face);
            const std::string text = std::string(family.name) + ", " + style.name + ": Volleys 7 \xD7 18 \xE9";
            int width = 0, height = 0;
            w.GetStringSize(width, height, text);
            // A one-pixel frame just outside the measured box.
            w.SetPen(RED, 1);
            w.DrawRectangle(x - 1, y - 1, x + width + 1, y + height + 1, STYLE_FRAME);
            w.SetPen(BLACK, 1);
            w.DrawString(x, y, text);
            y += height + 20;
        }
    }
    return 0;
}
