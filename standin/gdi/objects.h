// objects.h - GDI drawing objects (pens, brushes, fonts, bitmaps) and the one table that
// holds them with the DCs. Other stand-in parts look objects up here by handle; a lookup
// gives null for a null, stale or wrong-kind handle, and the caller then fails the call.
#ifndef STANDIN_GDI_OBJECTS_H
#define STANDIN_GDI_OBJECTS_H

#include "common/handles.h"
#include "gdi/surface.h"

#include <standin/win32.h>

#include <memory>

namespace standin::gdi {

// Base of everything in the GDI table (also DCs, see dc.h; regions join later).
struct Object {
    explicit Object(HandleKind k) : kind(k) {}
    virtual ~Object() = default;

    HandleKind kind;
    void *handle = nullptr; // filled in by the table
    bool stock = false;     // stock objects are never deleted
    int selections = 0;     // DCs that have it selected
    bool deletePending = false; // DeleteObject came while selected: goes when deselected
};

struct Pen : Object {
    Pen() : Object(HandleKind::Pen) {}
    int style = PS_SOLID;
    int width = 0; // as GDI stores it: never negative
    COLORREF color = 0;
};

struct Brush : Object {
    Brush() : Object(HandleKind::Brush) {}
    UINT style = BS_SOLID; // BS_SOLID or BS_NULL
    COLORREF color = 0;
};

struct Font : Object {
    Font() : Object(HandleKind::Font) {}
    LOGFONTA logfont{}; // face name always terminated within LF_FACESIZE
};

struct Bitmap : Object {
    Bitmap() : Object(HandleKind::Bitmap) {}
    Surface surface;
    int bitsPerPixel = 32;     // 1 for the stock 1x1 monochrome bitmap of a fresh memory DC
    HDC selectedInto = nullptr; // a bitmap lives in at most one DC (stock one excepted)
};

using ObjectTable = HandleTable<Object>;
// Inline: every drawing call looks a few handles up, so the lookup should cost a load or
// two, not a call. Never destroyed: a DC torn down at exit would let go of its objects in
// a table that is itself being destroyed; what is left at exit goes with the process.
inline ObjectTable &Objects()
{
    static ObjectTable &table = *new ObjectTable;
    return table;
}

// Adds an object to the table and returns its handle.
void *Register(std::unique_ptr<Object> object);

template <class T>
T *Find(const void *handle, HandleKind kind)
{
    return static_cast<T *>(Objects().Find(handle, kind));
}
inline Pen *FindPen(const void *h) { return Find<Pen>(h, HandleKind::Pen); }
inline Brush *FindBrush(const void *h) { return Find<Brush>(h, HandleKind::Brush); }
inline Font *FindFont(const void *h) { return Find<Font>(h, HandleKind::Font); }
inline Bitmap *FindBitmap(const void *h) { return Find<Bitmap>(h, HandleKind::Bitmap); }

// A stock object by GetStockObject's index, without the call's logging; null for none.
void *StockObject(int index);

// The bitmap a fresh memory DC holds (1x1, monochrome); never reachable by GetStockObject.
HBITMAP DefaultBitmap();

// Selection bookkeeping for DCs: count a selection, drop one (an object whose deletion
// was deferred goes when its last selection does).
void AddSelection(Object &object);
void DropSelection(void *handle);

// Deletes a non-stock object now, or defers it while selected. False for stock objects,
// which are never deleted.
void DeleteOrDefer(Object &object);

// Objects (DCs included) made by the program and not deleted yet; stock ones excluded.
int LiveObjectCount();

} // namespace standin::gdi

#endif // STANDIN_GDI_OBJECTS_H
