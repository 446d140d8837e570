// dc.h - device contexts: what a DC holds (selected objects, mix mode, colours, text
// alignment, current position) and where its drawing lands. Drawing code looks a DC up
// with FindDC, draws into TargetSurface and reports the touched area with NoteDrawn, so
// the window system shows it.
#ifndef STANDIN_GDI_DC_H
#define STANDIN_GDI_DC_H

#include "gdi/objects.h"

#include <memory>

namespace standin::gdi {

// A window's client area: the pixels, and what changed since the window system last
// showed them. Owned by the window; its DCs share it.
struct ClientArea {
    Surface surface;
    RECT dirty{0, 0, 0, 0}; // empty when nothing is waiting to be shown

    bool IsDirty() const { return dirty.right > dirty.left && dirty.bottom > dirty.top; }
    void MarkAllDirty() { dirty = RECT{0, 0, surface.width, surface.height}; }
};

enum class DCType { Window, Memory, Printer };

struct DC : Object {
    DC() : Object(HandleKind::DC) {}
    ~DC() override;

    DCType type = DCType::Memory;
    HWND window = nullptr;              // window DCs: the window they were taken from
    std::shared_ptr<ClientArea> client; // window and printer DCs: where drawing lands
    std::shared_ptr<void> device;       // printer DCs: the print job (standin/print), ended with the DC

    // Selected objects (each always a live handle; defaults as a fresh DC has them).
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr; // memory DCs only

    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    UINT textAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    POINT position{0, 0}; // current position for MoveToEx / LineTo / TA_UPDATECP
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    int arcDirection = AD_COUNTERCLOCKWISE;
};

inline DC *FindDC(const void *hdc) { return Find<DC>(hdc, HandleKind::DC); }

// Where the DC's drawing goes: the client surface of its window, the page of a printer
// DC, or the bitmap selected into a memory DC. Never null for a live DC.
Surface *TargetSurface(DC &dc);

// Tells the window system that `area` (device coordinates, clipped here) has changed, so
// it is shown at the next pump or sleep. Drawing into a memory DC needs no notice.
void NoteDrawn(DC &dc, const RECT &area);

// Window DCs, for the window manager: GetDC makes one, ReleaseDC gives it back.
HDC CreateWindowDC(HWND window, std::shared_ptr<ClientArea> client);
bool ReleaseWindowDC(HDC hdc);
void ReleaseWindowDCs(HWND window); // a destroyed window's DCs die with it

// A printer DC drawing on `page`; `device` is the print module's job, kept with the DC.
HDC CreatePrinterDC(std::shared_ptr<ClientArea> page, std::shared_ptr<void> device);

} // namespace standin::gdi

#endif // STANDIN_GDI_DC_H
