// Device contexts: creation and deletion, SelectObject with GDI's per-kind rules, and the
// simple state setters.
#include "gdi/dc.h"

#include "common/trace.h"

#include <algorithm>

namespace standin::gdi {

namespace {

void InitDefaults(DC &dc)
{
    dc.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    dc.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    dc.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
    AddSelection(*Objects().FindAny(dc.pen));
    AddSelection(*Objects().FindAny(dc.brush));
    AddSelection(*Objects().FindAny(dc.font));
    if (dc.type == DCType::Memory) {
        dc.bitmap = DefaultBitmap();
        AddSelection(*Objects().FindAny(dc.bitmap));
    }
}

// Puts `object` into `slot`, returning what was there.
template <class H>
H Swap(H &slot, Object &object)
{
    H previous = slot;
    AddSelection(object);
    slot = static_cast<H>(object.handle);
    DropSelection(previous);
    return previous;
}

} // namespace

DC::~DC()
{
    // Let go of everything selected, so deferred deletions happen now.
    for (void *h : {static_cast<void *>(pen), static_cast<void *>(brush), static_cast<void *>(font),
                    static_cast<void *>(bitmap)}) {
        if (!h)
            continue;
        if (Bitmap *b = FindBitmap(h); b && b->selectedInto == handle)
            b->selectedInto = nullptr;
        DropSelection(h);
    }
}

Surface *TargetSurface(DC &dc)
{
    if (dc.type != DCType::Memory)
        return &dc.client->surface;
    return &FindBitmap(dc.bitmap)->surface;
}

void NoteDrawn(DC &dc, const RECT &area)
{
    if (dc.type != DCType::Window)
        return;
    ClientArea &c = *dc.client;
    RECT r{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, c.surface.width),
           std::min<LONG>(area.bottom, c.surface.height)};
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    if (!c.IsDirty()) {
        c.dirty = r;
        return;
    }
    c.dirty.left = std::min(c.dirty.left, r.left);
    c.dirty.top = std::min(c.dirty.top, r.top);
    c.dirty.right = std::max(c.dirty.right, r.right);
    c.dirty.bottom = std::max(c.dirty.bottom, r.bottom);
}

HDC CreatePrinterDC(std::shared_ptr<ClientArea> page, std::shared_ptr<void> device)
{
    auto dc = std::make_unique<DC>();
    dc->type = DCType::Printer;
    dc->client = std::move(page);
    dc->device = std::move(device);
    InitDefaults(*dc);
    return static_cast<HDC>(Register(std::move(dc)));
}

HDC CreateWindowDC(HWND window, std::shared_ptr<ClientArea> client)
{
    auto dc = std::make_unique<DC>();
    dc->type = DCType::Window;
    dc->window = window;
    dc->client = std::move(client);
    InitDefaults(*dc);
    return static_cast<HDC>(Register(std::move(dc)));
}

bool ReleaseWindowDC(HDC hdc)
{
    DC *dc = FindDC(hdc);
    if (!dc || dc->type != DCType::Window)
        return false;
    return Objects().Remove(hdc);
}

void ReleaseWindowDCs(HWND window)
{
    std::vector<void *> doomed;
    Objects().ForEach([&](const Object &o) {
        if (o.kind == HandleKind::DC) {
            const DC &dc = static_cast<const DC &>(o);
            if (dc.type == DCType::Window && dc.window == window)
                doomed.push_back(dc.handle);
        }
    });
    for (void *h : doomed)
        Objects().Remove(h);
}

} // namespace standin::gdi

using namespace standin;
using namespace standin::gdi;

extern "C" HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    if (trace::Enter("CreateCompatibleDC", hdc))
        return nullptr;
    // NULL means "compatible with the screen"; anything else must be a live DC.
    if (hdc && !FindDC(hdc))
        return nullptr;
    auto dc = std::make_unique<DC>();
    dc->type = DCType::Memory;
    InitDefaults(*dc);
    return static_cast<HDC>(Register(std::move(dc)));
}

extern "C" BOOL WINAPI DeleteDC(HDC hdc)
{
    if (trace::Enter("DeleteDC", hdc))
        return FALSE;
    DC *dc = FindDC(hdc);
    // A DC from GetDC belongs to its window and goes back with ReleaseDC.
    if (!dc || dc->type == DCType::Window)
        return FALSE;
    Objects().Remove(hdc);
    return TRUE;
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    if (trace::Enter("SelectObject", hdc, h))
        return nullptr;
    DC *dc = FindDC(hdc);
    Object *object = Objects().FindAny(h);
    if (!dc || !object)
        return nullptr;
    switch (object->kind) {
    case HandleKind::Pen:
        return Swap(dc->pen, *object);
    case HandleKind::Brush:
        return Swap(dc->brush, *object);
    case HandleKind::Font:
        return Swap(dc->font, *object);
    case HandleKind::Bitmap: {
        // Bitmaps go into memory DCs only, and into one DC at a time.
        auto *bitmap = static_cast<Bitmap *>(object);
        if (dc->type != DCType::Memory)
            return nullptr;
        if (!bitmap->stock && bitmap->selectedInto && bitmap->selectedInto != hdc)
            return nullptr;
        HBITMAP previous = dc->bitmap;
        if (Bitmap *old = FindBitmap(previous); old && old->selectedInto == hdc)
            old->selectedInto = nullptr;
        if (!bitmap->stock)
            bitmap->selectedInto = hdc;
        return Swap(dc->bitmap, *object);
    }
    default:
        // Regions select as a clip region, which the clipping code provides.
        return nullptr;
    }
}

extern "C" int WINAPI SetROP2(HDC hdc, int rop2)
{
    if (trace::Enter("SetROP2", hdc, rop2))
        return 0;
    DC *dc = FindDC(hdc);
    if (!dc || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    int previous = dc->rop2;
    dc->rop2 = rop2;
    return previous;
}

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color)
{
    if (trace::Enter("SetTextColor", hdc, color))
        return CLR_INVALID;
    DC *dc = FindDC(hdc);
    if (!dc)
        return CLR_INVALID;
    COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}
