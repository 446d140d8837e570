/* standin/win32.h - the Win32 subset that Quillgraph calls, for systems without Win32.
 * Types have the sizes of 32-bit Windows (LONG and DWORD are 32 bits, handles are opaque
 * pointers). Functions are declared here only once the stand-in implements them. */
#ifndef STANDIN_WIN32_H
#define STANDIN_WIN32_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Calling conventions mean nothing off Windows; sources written for Win32 still spell them. */
#ifndef WINAPI
#define WINAPI
#define CALLBACK
#define APIENTRY
#endif

/* ---- base types ---- */
typedef int BOOL;                  /* TRUE / FALSE */
typedef unsigned char BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef short SHORT;
typedef unsigned short USHORT;
typedef char CHAR;
typedef uint16_t ATOM;
typedef DWORD COLORREF;            /* 0x00BBGGRR */
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void *LPVOID;
typedef const void *LPCVOID;
typedef char *LPSTR;
typedef const char *LPCSTR;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

/* ---- handles: distinct pointer types, so mixing them up fails to compile ---- */
#define STANDIN_HANDLE(name) typedef struct name##__ *name
typedef void *HANDLE;
STANDIN_HANDLE(HWND);
STANDIN_HANDLE(HINSTANCE);
STANDIN_HANDLE(HDC);
STANDIN_HANDLE(HICON);
STANDIN_HANDLE(HMENU);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void *HGDIOBJ;             /* any of the four below */
STANDIN_HANDLE(HPEN);
STANDIN_HANDLE(HBRUSH);
STANDIN_HANDLE(HFONT);
STANDIN_HANDLE(HBITMAP);
STANDIN_HANDLE(HRGN);
#undef STANDIN_HANDLE

/* ---- structures ---- */
typedef struct tagPOINT { LONG x; LONG y; } POINT, *LPPOINT;
typedef struct tagSIZE { LONG cx; LONG cy; } SIZE, *LPSIZE;
typedef struct tagRECT { LONG left; LONG top; LONG right; LONG bottom; } RECT, *LPRECT;

typedef LRESULT(CALLBACK *WNDPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagCREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTA;

typedef struct tagWNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
} WNDCLASSA;

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

#define LF_FACESIZE 32
typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA;

typedef struct tagBITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
} BITMAPINFOHEADER;

/* The print dialog's request and the print job's description. Win32 packs PRINTDLGA to
 * one byte on 32-bit Windows (66 bytes); elsewhere, as on 64-bit Windows, it has natural
 * alignment. PrintDlgA takes the size this header gives it. */
typedef HANDLE HGLOBAL;
typedef UINT_PTR(CALLBACK *LPPRINTHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef UINT_PTR(CALLBACK *LPSETUPHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(push, 1)
#endif
typedef struct tagPDA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    HDC hDC;                   /* out: the printer DC, with PD_RETURNDC */
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    LPPRINTHOOKPROC lpfnPrintHook;
    LPSETUPHOOKPROC lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
} PRINTDLGA, *LPPRINTDLGA, PRINTDLG, *LPPRINTDLG;
#if UINTPTR_MAX == 0xFFFFFFFFu
#pragma pack(pop)
#endif

typedef struct _DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;        /* the job's title; NULL for none */
    LPCSTR lpszOutput;         /* a file to print to instead of the printer; NULL for none */
    LPCSTR lpszDatatype;
    DWORD fwType;
} DOCINFOA, *LPDOCINFOA, DOCINFO, *LPDOCINFO;

typedef struct tagRGBQUAD { BYTE rgbBlue; BYTE rgbGreen; BYTE rgbRed; BYTE rgbReserved; } RGBQUAD;
typedef struct tagBITMAPINFO { BITMAPINFOHEADER bmiHeader; RGBQUAD bmiColors[1]; } BITMAPINFO;

/* ---- macros ---- */
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)(c))
#define GetGValue(c) ((BYTE)((c) >> 8))
#define GetBValue(c) ((BYTE)((c) >> 16))
#define LOWORD(l) ((WORD)(((DWORD)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(a)) | ((DWORD)((WORD)(b))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))
#define MAKEINTATOM(i) ((LPSTR)((ULONG_PTR)((WORD)(i))))

/* ---- window messages ---- */
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_RBUTTONDBLCLK 0x0206
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400

/* ---- mouse message flags (wParam) ---- */
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define WHEEL_DELTA 120

/* ---- window styles and show commands ---- */
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_THICKFRAME 0x00040000L
#define WS_SYSMENU 0x00080000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_CAPTION 0x00C00000L
#define WS_VISIBLE 0x10000000L
#define CW_USEDEFAULT ((int)0x80000000)
#define SW_HIDE 0
#define SW_SHOW 5
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

/* ---- message pump ---- */
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

/* ---- system metrics ---- */
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXFIXEDFRAME 7
#define SM_CYFIXEDFRAME 8
#define SM_CYMENU 15
#define SM_CXSIZE 30
#define SM_CYSIZE 31
#define SM_CXSIZEFRAME 32
#define SM_CYSIZEFRAME 33
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CYSMCAPTION 51
#define SM_CXPADDEDBORDER 92
#define SM_CXMAXTRACK 59
#define SM_CYMAXTRACK 60

/* ---- cursors ---- */
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_HAND MAKEINTRESOURCEA(32649)

/* ---- virtual keys ---- */
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F5 0x74
#define VK_F10 0x79
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_OEM_1 0xBA      /* ;: */
#define VK_OEM_PLUS 0xBB   /* =+ */
#define VK_OEM_COMMA 0xBC  /* ,< */
#define VK_OEM_MINUS 0xBD  /* -_ */
#define VK_OEM_PERIOD 0xBE /* .> */
#define VK_OEM_2 0xBF      /* /? */
#define VK_OEM_3 0xC0      /* `~ */
#define VK_OEM_4 0xDB      /* [{ */
#define VK_OEM_5 0xDC      /* \| */
#define VK_OEM_6 0xDD      /* ]} */
#define VK_OEM_7 0xDE      /* '" */

/* ---- stock objects ---- */
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define BS_SOLID 0
#define BS_NULL 1

/* ---- pens, mix modes, polygon fill, background ---- */
#define PS_SOLID 0
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define R2_BLACK 1
#define R2_NOT 6
#define R2_COPYPEN 13
#define R2_WHITE 16
#define ALTERNATE 1
#define WINDING 2
#define TRANSPARENT 1
#define OPAQUE 2

/* ---- text alignment ---- */
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define GDI_ERROR 0xFFFFFFFFL
#define CLR_INVALID 0xFFFFFFFF
#define HGDI_ERROR ((HANDLE)(intptr_t)-1)

/* ---- fonts ---- */
#define FW_DONTCARE 0
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0
#define OEM_CHARSET 255
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define NONANTIALIASED_QUALITY 3
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30
#define FF_SCRIPT 0x40
#define FF_DECORATIVE 0x50

/* ---- raster operations and bitmaps ---- */
#define SRCCOPY 0x00CC0020
#define BI_RGB 0
#define DIB_RGB_COLORS 0
#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4

/* ---- figures, regions and bitmaps ---- */
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define AD_COUNTERCLOCKWISE 1
#define AD_CLOCKWISE 2
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define SRCERASE 0x00440328
#define NOTSRCCOPY 0x00330008
#define NOTSRCERASE 0x001100A6
#define MERGECOPY 0x00C000CA
#define MERGEPAINT 0x00BB0226
#define PATCOPY 0x00F00021
#define PATPAINT 0x00FB0A09
#define PATINVERT 0x005A0049
#define DSTINVERT 0x00550009
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062
#define BI_BITFIELDS 3
#define STRETCH_ANDSCANS BLACKONWHITE
#define STRETCH_ORSCANS WHITEONBLACK
#define STRETCH_DELETESCANS COLORONCOLOR
#define STRETCH_HALFTONE HALFTONE

/* ---- device capabilities ---- */
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define RC_BITBLT 1
#define RC_BANDING 2
#define RC_SCALING 4
#define RC_BITMAP64 8
#define RC_GDI20_OUTPUT 0x0010
#define RC_DI_BITMAP 0x0080
#define RC_PALETTE 0x0100
#define RC_DIBTODEV 0x0200
#define RC_BIGFONT 0x0400
#define RC_STRETCHBLT 0x0800
#define RC_FLOODFILL 0x1000
#define RC_STRETCHDIB 0x2000
#define RC_DEVBITS 0x8000

/* ---- message boxes, the print dialog, print jobs ---- */
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONHAND 0x00000010L
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0L
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_DEFMASK 0x00000F00L
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11
#define PD_ALLPAGES 0x00000000
#define PD_SELECTION 0x00000001
#define PD_PAGENUMS 0x00000002
#define PD_NOSELECTION 0x00000004
#define PD_NOPAGENUMS 0x00000008
#define PD_PRINTTOFILE 0x00000020
#define PD_RETURNDC 0x00000100
#define PD_USEDEVMODECOPIESANDCOLLATE 0x00040000
#define SP_ERROR (-1)

/* ---- window manager ---- */
ATOM WINAPI RegisterClassA(const WNDCLASSA *lpWndClass);  /* 0 when the name is taken */
HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName,
                            DWORD dwStyle, int X, int Y, int nWidth, int nHeight,
                            HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam);               /* outer size; NULL on failure */
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);          /* previous visibility */
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
int WINAPI GetSystemMetrics(int nIndex);
HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName);
HDC WINAPI GetDC(HWND hWnd);                              /* the client area's DC */
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);                 /* 1 on success, 0 on failure */
BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg);
BOOL WINAPI TranslateMessage(const MSG *lpMsg);           /* posts WM_CHAR for character keys */
LRESULT WINAPI DispatchMessageA(const MSG *lpMsg);
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam); /* the procedure's result; 0 for no window */
HWND WINAPI SetCapture(HWND hWnd);                        /* previous capture window */
BOOL WINAPI ReleaseCapture(void);
BOOL WINAPI IsWindow(HWND hWnd);                           /* FALSE once destroyed */

/* ---- GDI objects and DC state ---- */
HGDIOBJ WINAPI GetStockObject(int i);
HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color);
HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HFONT WINAPI CreateFontIndirectA(const LOGFONTA *lplf);
BOOL WINAPI DeleteObject(HGDIOBJ ho);                     /* FALSE while selected into a DC */
HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h);          /* previous object of that kind */
int WINAPI SetROP2(HDC hdc, int rop2);                    /* previous mix mode, 0 on failure */
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color);    /* previous colour, CLR_INVALID on failure */
BOOL WINAPI DeleteDC(HDC hdc);
HDC WINAPI CreateCompatibleDC(HDC hdc);                   /* memory DC holding a 1x1 monochrome bitmap */

/* ---- text and the current position ---- */
int WINAPI SetBkMode(HDC hdc, int mode);                  /* previous mode, 0 on failure */
UINT WINAPI SetTextAlign(HDC hdc, UINT align);            /* previous flags, GDI_ERROR on failure */
BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt); /* old position into lppt if not NULL */
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c); /* Windows-1252 bytes */
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl); /* sum of advances x cell height */

/* ---- figures (current position, pen, brush, mix mode and fill mode of the DC) ---- */
BOOL WINAPI LineTo(HDC hdc, int x, int y);                   /* leaves out (x,y) with a thin pen */
BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL WINAPI RoundRect(HDC hdc, int left, int top, int right, int bottom, int width, int height);
BOOL WINAPI Ellipse(HDC hdc, int left, int top, int right, int bottom);
BOOL WINAPI Arc(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
BOOL WINAPI Pie(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
BOOL WINAPI Chord(HDC hdc, int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
BOOL WINAPI Polygon(HDC hdc, const POINT *apt, int cpt);    /* FALSE for fewer than 2 points */
BOOL WINAPI Polyline(HDC hdc, const POINT *apt, int cpt);
BOOL WINAPI PolyBezier(HDC hdc, const POINT *apt, DWORD cpt); /* 3n+1 points */
int WINAPI SetPolyFillMode(HDC hdc, int mode);               /* previous mode, 0 on failure */
int WINAPI SetArcDirection(HDC hdc, int dir);                /* previous direction, 0 on failure */
COLORREF WINAPI GetPixel(HDC hdc, int x, int y);             /* CLR_INVALID off the surface */
COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color); /* the colour stored */

/* ---- regions ---- */
HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2);
HRGN WINAPI CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h);
HRGN WINAPI CreateEllipticRgn(int x1, int y1, int x2, int y2);
HRGN WINAPI CreatePolygonRgn(const POINT *pptl, int cPoint, int iMode);
BOOL WINAPI InvertRgn(HDC hdc, HRGN hrgn);                  /* ignores the mix mode */
BOOL WINAPI PaintRgn(HDC hdc, HRGN hrgn);                   /* the DC's brush and mix mode */
BOOL WINAPI FillRgn(HDC hdc, HRGN hrgn, HBRUSH hbr);
int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc);               /* NULLREGION, SIMPLEREGION, COMPLEXREGION */
BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y);

/* ---- bitmaps and pixel transfers ---- */
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy);  /* zero-filled */
HBITMAP WINAPI CreateDiscardableBitmap(HDC hdc, int cx, int cy); /* same as CreateCompatibleBitmap */
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop);
BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                       int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop);
int WINAPI SetStretchBltMode(HDC hdc, int mode);            /* previous mode, 0 on failure */
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits,
                     BITMAPINFO *lpbmi, UINT usage);         /* scan lines copied, 0 on failure */
int WINAPI SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc,
                             UINT StartScan, UINT cLines, const void *lpvBits,
                             const BITMAPINFO *lpbmi, UINT ColorUse); /* scan lines set */
int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc,
                         int ySrc, int SrcWidth, int SrcHeight, const void *lpBits,
                         const BITMAPINFO *lpbmi, UINT iUsage, DWORD rop); /* source scan lines */

/* ---- message boxes, the print dialog, device capabilities, print jobs ---- */
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType); /* IDOK...; 0 on failure */
BOOL WINAPI PrintDlgA(LPPRINTDLGA pPD);                  /* FALSE when cancelled or failed */
int WINAPI GetDeviceCaps(HDC hdc, int index);             /* 0 for a bad DC or index */
int WINAPI StartDocA(HDC hdc, const DOCINFOA *lpdi);      /* job id > 0; SP_ERROR on failure */
int WINAPI StartPage(HDC hdc);                            /* > 0; SP_ERROR on failure */
int WINAPI EndPage(HDC hdc);                              /* > 0; SP_ERROR on failure */
int WINAPI EndDoc(HDC hdc);                               /* > 0 once the job is out; SP_ERROR on failure */

/* ---- kernel ---- */
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName); /* the process's module for NULL */
void WINAPI Sleep(DWORD dwMilliseconds);              /* blocks the calling thread */
DWORD WINAPI timeGetTime(void);                       /* milliseconds, wraps at 2^32 */
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);              /* NULL once freed; the handle on failure */

#ifdef __cplusplus
}
#endif

#endif /* STANDIN_WIN32_H */
