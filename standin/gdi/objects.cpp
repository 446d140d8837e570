// Pens, brushes, fonts and bitmaps: creation, the stock objects, and deletion with GDI's
// rules (stock objects survive DeleteObject; a selected object goes when deselected).
#include "gdi/objects.h"

#include "common/trace.h"
#include "gdi/dc.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace standin::gdi {

void *Register(std::unique_ptr<Object> object) { return Objects().Add(std::move(object)); }

namespace {

constexpr int kStockCount = 20; // WHITE_BRUSH (0) .. DC_PEN (19)

template <class T>
void *MakeStock(std::unique_ptr<T> object)
{
    object->stock = true;
    return Register(std::move(object));
}

void *StockBrush(UINT style, COLORREF color)
{
    auto b = std::make_unique<Brush>();
    b->style = style;
    b->color = color;
    return MakeStock(std::move(b));
}

void *StockPen(int style, COLORREF color)
{
    auto p = std::make_unique<Pen>();
    p->style = style;
    p->color = color;
    return MakeStock(std::move(p));
}

void *StockFont(LONG height, LONG width, LONG weight, BYTE charset, BYTE pitchAndFamily, const char *face)
{
    auto f = std::make_unique<Font>();
    f->logfont.lfHeight = height;
    f->logfont.lfWidth = width;
    f->logfont.lfWeight = weight;
    f->logfont.lfCharSet = charset;
    f->logfont.lfQuality = DEFAULT_QUALITY;
    f->logfont.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(f->logfont.lfFaceName, face, LF_FACESIZE - 1);
    return MakeStock(std::move(f));
}

// Contents as GDI's own stock objects have them (classic metrics, Western code page).
struct StockObjects {
    std::array<void *, kStockCount> objects{};
    void *defaultBitmap = nullptr;

    StockObjects()
    {
        objects[WHITE_BRUSH] = StockBrush(BS_SOLID, RGB(255, 255, 255));
        objects[LTGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(192, 192, 192));
        objects[GRAY_BRUSH] = StockBrush(BS_SOLID, RGB(128, 128, 128));
        objects[DKGRAY_BRUSH] = StockBrush(BS_SOLID, RGB(64, 64, 64));
        objects[BLACK_BRUSH] = StockBrush(BS_SOLID, RGB(0, 0, 0));
        objects[NULL_BRUSH] = StockBrush(BS_NULL, 0);
        objects[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        objects[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
        objects[NULL_PEN] = StockPen(PS_NULL, 0);
        objects[OEM_FIXED_FONT] = StockFont(12, 0, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, "");
        objects[ANSI_FIXED_FONT] = StockFont(12, 0, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Courier");
        objects[ANSI_VAR_FONT] =
            StockFont(12, 0, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
        objects[SYSTEM_FONT] = StockFont(16, 7, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System");
        objects[DEVICE_DEFAULT_FONT] =
            StockFont(16, 0, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "System");
        objects[SYSTEM_FIXED_FONT] =
            StockFont(16, 0, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, "Courier");
        objects[DEFAULT_GUI_FONT] =
            StockFont(-11, 0, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg");
        // 9 is unused by GDI; palettes (15) and the DC pen and brush (18, 19) are not
        // provided here: GetStockObject gives NULL for them.

        auto bmp = std::make_unique<Bitmap>();
        bmp->surface = Surface(1, 1, 0);
        bmp->bitsPerPixel = 1;
        defaultBitmap = MakeStock(std::move(bmp));
    }
};

StockObjects &Stock()
{
    static StockObjects stock;
    return stock;
}

void Destroy(Object &object) { Objects().Remove(object.handle); }

} // namespace

void *StockObject(int index)
{
    return index >= 0 && index < kStockCount ? Stock().objects[static_cast<size_t>(index)] : nullptr;
}

HBITMAP DefaultBitmap() { return static_cast<HBITMAP>(Stock().defaultBitmap); }

void AddSelection(Object &object) { ++object.selections; }

void DropSelection(void *handle)
{
    Object *object = Objects().FindAny(handle);
    if (!object)
        return;
    if (object->selections > 0)
        --object->selections;
    if (object->selections == 0 && object->deletePending)
        Destroy(*object);
}

void DeleteOrDefer(Object &object)
{
    if (object.stock)
        return;
    if (object.selections > 0)
        object.deletePending = true;
    else
        Destroy(object);
}

int LiveObjectCount()
{
    int count = 0;
    Objects().ForEach([&](const Object &o) {
        if (!o.stock)
            ++count;
    });
    return count;
}

} // namespace standin::gdi

using namespace standin;
using namespace standin::gdi;

extern "C" HGDIOBJ WINAPI GetStockObject(int i)
{
    if (trace::Enter("GetStockObject", i))
        return nullptr;
    return StockObject(i);
}

extern "C" HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color)
{
    if (trace::Enter("CreatePen", iStyle, cWidth, color))
        return nullptr;
    // GDI hands out its stock null pen for PS_NULL and draws unknown styles solid.
    if (iStyle == PS_NULL)
        return static_cast<HPEN>(Stock().objects[NULL_PEN]);
    auto pen = std::make_unique<Pen>();
    pen->style = (iStyle >= PS_SOLID && iStyle <= PS_INSIDEFRAME) ? iStyle : PS_SOLID;
    // A negative width is kept as its size; the most negative has none in an int, and
    // is kept as the largest.
    pen->width = cWidth >= 0 ? cWidth : cWidth == INT_MIN ? INT_MAX : -cWidth;
    pen->color = color;
    return static_cast<HPEN>(Register(std::move(pen)));
}

extern "C" HBRUSH WINAPI CreateSolidBrush(COLORREF color)
{
    if (trace::Enter("CreateSolidBrush", color))
        return nullptr;
    auto brush = std::make_unique<Brush>();
    brush->style = BS_SOLID;
    brush->color = color;
    return static_cast<HBRUSH>(Register(std::move(brush)));
}

extern "C" HFONT WINAPI CreateFontIndirectA(const LOGFONTA *lplf)
{
    if (trace::Enter("CreateFontIndirectA", lplf))
        return nullptr;
    if (!lplf)
        return nullptr;
    auto font = std::make_unique<Font>();
    font->logfont = *lplf;
    // An unterminated face name is cut to the 31 characters that fit with the terminator.
    font->logfont.lfFaceName[LF_FACESIZE - 1] = '\0';
    return static_cast<HFONT>(Register(std::move(font)));
}

extern "C" BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    if (trace::Enter("DeleteObject", ho))
        return FALSE;
    Object *object = Objects().FindAny(ho);
    // DCs have their own deletion calls; DeleteObject only takes drawing objects.
    if (!object || object->kind == HandleKind::DC)
        return FALSE;
    // Stock objects: GDI reports success and keeps them. A selected object: success now,
    // deletion when the DC lets go of it (what programs that do this rely on).
    DeleteOrDefer(*object);
    return TRUE;
}
