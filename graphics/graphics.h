// graphics.h - Quillgraph, a small graphics library for one fixed-size window.
// Include this one header; it reads as the library's reference card, grouped by topic.
// It compiles the same on Windows and elsewhere: the platform is chosen in win32api.h.
#ifndef QUILLGRAPH_GRAPHICS_H
#define QUILLGRAPH_GRAPHICS_H

#include "win32api.h"

#include <string>

// ---------------------------------------------------------------- errors
// The library's one exception type, thrown by value.
enum error {
    ERROR_OUT_OF_MEMORY = 0,  // an allocation failed
    ERROR_FILE_NOT_FOUND = 1, // an image file name is null or the file cannot be opened
};

// ---------------------------------------------------------------- colours
// An RGB colour, 8 bits a component. Starts black.
class color {
public:
    unsigned char ucRed = 0;
    unsigned char ucGreen = 0;
    unsigned char ucBlue = 0;

    constexpr color() = default;
    constexpr color(unsigned char red, unsigned char green, unsigned char blue)
        : ucRed(red), ucGreen(green), ucBlue(blue) {}
};

// A component given as a double (meant in 0..1): times 255, truncated toward zero, low
// 8 bits kept, nothing clamped (1.0 -> 255, 0.5 -> 127, 1.5 -> 126, -0.5 -> 129).
unsigned char ColorComponentFromDouble(double value);
// A component handed out as a double: the 8-bit value divided by 255.
double ColorComponentToDouble(unsigned char value);

// The named colours of the X11 colour database (names without digits), in its order.
#define QG_COLOR(name, red, green, blue) inline constexpr color name{red, green, blue};
#include "colors.def"
#undef QG_COLOR

// ---------------------------------------------------------------- drawing styles
// Held as a 32-bit integer, so any value can be passed; the shapes refuse the others.
enum drawstyle : int {
    STYLE_FILLED = 1,   // outline with the pen, inside with the brush
    STYLE_FRAME = 2,    // outline only; the one style lines and curves take
    STYLE_INVERTED = 3, // every pixel of the figure inverted
};

// Font style bits for SetFont; combine with |. 0 is plain.
enum fontstyle {
    FONT_BOLD = 1,
    FONT_ITALIC = 2,
    FONT_UNDERLINED = 4,
};
constexpr fontstyle operator|(fontstyle a, fontstyle b)
{
    return static_cast<fontstyle>(static_cast<int>(a) | static_cast<int>(b));
}

// Font families for SetFont; any other value (0, say) means no preference.
enum fontfamily {
    FAMILY_MODERN = 1, // monospaced
    FAMILY_ROMAN = 2,  // serif
    FAMILY_SCRIPT = 3, // handwriting
    FAMILY_SWISS = 4,  // sans serif
};

// ---------------------------------------------------------------- input
enum ClickKind { CLICK_NONE = 0, CLICK_LEFT = 1, CLICK_RIGHT = 2 };
enum KeyKind { KEY_NONE = 0, KEY_CHARACTER = 1, KEY_NAVIGATION = 2, KEY_FUNCTION = 3, KEY_ESCAPE = 4 };
// Held as a 32-bit integer: any value can be passed, and every one but 0 is the right button.
enum MouseButton : int { MOUSE_LEFT = 0, MOUSE_RIGHT = 1 };
enum PressState { BUTTON_RELEASED = 0, BUTTON_PRESSED = 1 };

// The value that comes with a KEY_NAVIGATION key press (the numeric keypad's digits).
enum : unsigned char {
    NAV_END = 1,
    NAV_DOWN = 2,
    NAV_PAGE_DOWN = 3,
    NAV_LEFT = 4,
    NAV_RIGHT = 6,
    NAV_HOME = 7,
    NAV_UP = 8,
    NAV_PAGE_UP = 9,
};

// ---------------------------------------------------------------- images
// What an image holds. Held as a 32-bit integer; any other value is unsupported.
enum imagetype : int {
    IMAGE_JPEG = 0,     // decoded from a JPEG file; the one type Open accepts
    IMAGE_CAPTURED = 1, // copied from the window by StoreImage
};

// A picture in memory, laid out as the platform's DIB calls take it: 32-bit pixels in the
// byte order blue, green, red, 0; top row first, rows unpadded; pixel (x, y) starts at
// byte (y * usWidth + x) * 4. Images are values: copies are deep.
// Read the fields freely; change them only through the operations.
class image {
public:
    unsigned short usHeight = 0;          // pixel rows; 0 (or usWidth 0) means empty
    unsigned short usWidth = 0;           // pixels in a row
    unsigned char *ucpPixels = nullptr;   // owned, usWidth * usHeight * 4 bytes, or null
    imagetype iType = IMAGE_JPEG;         // where the pixels came from
    BITMAPINFOHEADER *bmapInfo = nullptr; // owned 40-byte header: width, -height, 32 bpp
    HDC dcTempBuffer = nullptr;           // used only while StoreImage runs
    HBITMAP bmapTempBuffer = nullptr;     // used only while StoreImage runs

    image() = default;                          // empty: 0 x 0, no pixels
    image(const char *pszFile, imagetype type); // Open(pszFile, type)
    image(std::string strFile, imagetype type); // Open on the string's characters
    image(const image &source);                 // deep copy
    void operator=(const image &source);        // deep copy; on failure nothing changes
    ~image();

    // Decodes the file (a JPEG; a relative name is taken from the working directory)
    // afresh, replacing the whole picture. Throws ERROR_FILE_NOT_FOUND for a null name
    // (and changes nothing) or a file that cannot be opened (a folder's name among them),
    // ERROR_OUT_OF_MEMORY when a buffer cannot be had; a type other than IMAGE_JPEG writes
    // "Fatal Error: Unsupported image type!". After those last three the image is empty
    // (0 x 0, no pixels) and iType = type. A file the decoder cannot read ends the process
    // with status 1 after the decoder's message on stderr; a damaged one draws a warning
    // there and decodes.
    // Grayscale files come out gray; CMYK and YCCK files as the colours their inks make.
    void Open(const char *pszFile, imagetype type);
    void Open(std::string strFile, imagetype type);
};

// ---------------------------------------------------------------- input queues
// One queued click: its kind and the client position of the button release.
struct ClickRecord {
    ClickKind kind;
    int x; // 0..65535: a captured release left of or above the window wraps
    int y;
    ClickRecord *next;
};

// One queued key press: its kind and value (a character, NAV_..., 1..12, or 1 for Escape).
struct KeyRecord {
    KeyKind kind;
    char value;
    KeyRecord *next;
};

// A first-in-first-out list of heap records. It owns what it holds; a record taken out
// with Dequeue belongs to the taker, who deletes it. There is no bound: a program that
// never reads its input keeps every click and key press, one record each (32 bytes of
// heap apiece on 64-bit Linux, so ten million take about 305 MiB). When the memory for
// one more runs out, the pump that dispatched its message throws ERROR_OUT_OF_MEMORY and
// the records already queued stay.
template <typename Record>
class RecordQueue {
public:
    RecordQueue() = default;
    ~RecordQueue();                            // frees every record still queued
    RecordQueue(const RecordQueue &) = delete;
    RecordQueue &operator=(const RecordQueue &) = delete;

    void Enqueue(Record *record);              // appends; a null record is ignored
    Record *Dequeue();                         // the oldest record, or null when empty

private:
    Record *head = nullptr;
    Record *tail = nullptr;
};
using ClickQueue = RecordQueue<ClickRecord>;
using KeyQueue = RecordQueue<KeyRecord>;

// ---------------------------------------------------------------- the window
// The one graphics window: its device contexts, drawing objects and input queues.
// Nearly every operation first handles at most one pending window-system message, so
// input reaches the queues only while the program keeps calling the window.
class window {
public:
    // --- lifecycle
    window(int width, int height, int x, int y); // drawing size, outer top-left on screen
    ~window();                                   // the last window waits for a click first
    window(const window &) = delete;
    window &operator=(const window &) = delete;

    // --- title and size (the size is the one asked for, not the measured client area)
    void SetTitle(const char *title);
    void SetTitle(std::string title);
    int GetWidth();
    int GetHeight();
    void GetSize(int &width, int &height);
    bool SetCloseWaitsForClick(bool wait); // process-wide; returns the value it replaces

    // --- messages
    void PumpMessages(); // takes and dispatches at most one pending message

    // --- input (each pumps once on entry; the waiting ones once per pass)
    void GetMousePosition(int &x, int &y);                      // -1, -1 before any mouse message
    PressState GetButtonState(MouseButton button, int &x, int &y);
    ClickKind PollMouseClick(int &x, int &y);                   // CLICK_NONE and -1, -1 when empty
    KeyKind PollKeyPress(char &value);                          // KEY_NONE and 0 when empty
    ClickKind AwaitMouseClick(int &x, int &y);                  // CLICK_NONE only once the window is gone
    KeyKind AwaitKeyPress(char &value);                         // KEY_NONE only once the window is gone
    void DiscardMouseClicks();                                  // drops what is queued now
    void DiscardKeyPresses();

    // --- drawing state (each setter returns the colour it replaces)
    color SetBrush(unsigned char red, unsigned char green, unsigned char blue);
    color SetBrush(const color &brush);
    color SetBrush(double red, double green, double blue);      // components in 0..1
    color SetPen(unsigned char red, unsigned char green, unsigned char blue, int width);
    color SetPen(const color &pen, int width);                  // the pen colour is also the text colour
    color SetPen(double red, double green, double blue, int width);
    // style: fontstyle bits (0 is plain); family: a fontfamily, any other value (0) is
    // no preference; face: may be null, cut to 31 characters.
    void SetFont(int size, int style, int family, const char *face);

    // --- shapes (each pumps once; coordinates are client pixels, passed to GDI unchanged)
    // A box from (x1, y1) to (x2, y2) covers columns x1..x2-1 and rows y1..y2-1; a wide
    // pen stays inside it. A line covers its start and not its end. A style a shape does
    // not take writes "Fatal Error: You have tried to use an invalid or unimplemented
    // drawstyle!" and draws nothing. A failed GDI call writes "Fatal Error: Failed to ...".
    void DrawLine(int x1, int y1, int x2, int y2, drawstyle style);              // STYLE_FRAME only
    void DrawRectangle(int x1, int y1, int x2, int y2, drawstyle style,
                       int width = 0, int height = 0);                           // corner ellipse width x height; 0, 0 is square
    void DrawTriangle(int x1, int y1, int x2, int y2, int x3, int y3, drawstyle style);
    // count vertices from xs[i], ys[i]; 0..65535 (else refused with an error line).
    // Filled and framed outlines leave areas enclosed an even number of times empty;
    // STYLE_INVERTED inverts every enclosed area. Throws ERROR_OUT_OF_MEMORY.
    void DrawPolygon(const int *xs, const int *ys, int count, drawstyle style);
    void DrawCircle(int x, int y, int radius, drawstyle style);                 // the box x-r, y-r, x+r, y+r
    void DrawEllipse(int x1, int y1, int x2, int y2, drawstyle style);          // inscribed in the box
    // The part of the box's ellipse counter-clockwise from angle start to end, measured
    // from 3 o'clock; unit 1 means radians, anything else degrees. Equal angles give the
    // whole ellipse. STYLE_FILLED draws a pie wedge, STYLE_FRAME the curve alone.
    void DrawArc(int x1, int y1, int x2, int y2, double start, double end, drawstyle style, int unit = 0);
    void DrawBezier(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4,
                    drawstyle style);                                            // STYLE_FRAME only; 2, 3 steer
    void DrawPixel(int x, int y);                                               // the pen colour; the pen is kept

    // --- text: the current font, the pen colour, a transparent background. (x, y) is the
    // top-left corner of the first character's cell. Numbers are formatted with "%d" and
    // "%f" into 128 bytes; a longer "%f" text is cut to its first 127 characters.
    void DrawString(int x, int y, const char *text);            // a null text: nothing, no pump
    void DrawString(int x, int y, std::string text);
    void DrawNumber(int x, int y, int value);
    void DrawReal(int x, int y, double value);
    // Width and height the text would take; 0 x 0 for a null text and when measuring fails.
    void GetStringSize(int &width, int &height, const char *text);
    void GetStringSize(int &width, int &height, std::string text);
    void GetNumberSize(int &width, int &height, int value);
    void GetRealSize(int &width, int &height, double value);

    // --- double buffering (drawing then goes to a back buffer until UpdateBuffer)
    // Switching on clears the buffer to white and leaves a white pen of width 1 and a
    // white brush. Switching off drops what was not yet shown. Returns the previous state.
    bool SetBuffering(bool on);
    void UpdateBuffer(); // copies the buffer but its last column and row to the screen

    // --- pixel read-back (from the back buffer when buffering, else from the screen)
    // A pixel outside the drawing area, or one the device fails to give, reads as black.
    color GetColor(int x, int y);
    void GetColor(int x, int y, double &red, double &green, double &blue); // each 0..1
    double GetRed(int x, int y);   // each of these three reads the pixel afresh
    double GetGreen(int x, int y);
    double GetBlue(int x, int y);

    // --- images (each pumps once on entry)
    // Draws img with its top-left pixel at (x, y), replacing what is there: at its own
    // size when width or height is -1, otherwise scaled into width x height (the stretch
    // mode is left alone). An empty image or a null pointer draws nothing; an image of an
    // unsupported type writes "Fatal Error: Unsupported image type!".
    void DrawImage(const image &img, int x, int y, int width, int height);
    void DrawImage(const image *img, int x, int y, int width, int height);
    // Copies the width x height block at (x, y) of the drawing surface into imgThis, which
    // becomes an IMAGE_CAPTURED picture of that size. A block past the right or bottom
    // edge writes "Fatal Error: StoreImage selection extends outside the window!" and
    // changes nothing; so does ERROR_OUT_OF_MEMORY, thrown when the buffers cannot be
    // had. A block of width or height 0 gives an empty image. A null pointer is ignored.
    void StoreImage(image *imgThis, unsigned int x, unsigned short y, unsigned short width,
                    unsigned short height);
    void StoreImage(image &imgThis, unsigned int x, unsigned short y, unsigned short width,
                    unsigned short height);

    // --- printing
    // Puts the window's picture (dcActive) on one page through the system's print dialog:
    // across the printable width on printers that stretch bitmaps, one to one on others,
    // centred either way. Cancelling prints nothing. With double buffering off a box says
    // it must be on, and the screen is printed after it. Printers that take no blits, or
    // no bitmaps over 64K, are refused with a box. A failed job call writes "Fatal Error:
    // Failed to StartDoc in Print!" and the like, and the rest of the job goes on.
    void Print();

private:
    friend class WindowRegistry;  // the window procedure's route to the fields below
    friend struct WindowInspector; // the library's tests look at the fields through it

    // Put the window's objects into dcActive for one drawing call, and take them out.
    void SelectDrawStyle(drawstyle style);
    void RestoreDrawStyle();
    void SelectFontObject();
    void RestoreFontObject();

    // One figure call between SelectDrawStyle and RestoreDrawStyle; failure writes message.
    template <typename Figure>
    void DrawSelected(drawstyle style, const char *message, Figure figure);
    // Inverts a region made for one call, then deletes it; failure writes message.
    void InvertRegion(HRGN region, const char *message);

    bool WindowIsGone();
    void ReleaseConstructed(); // a constructor that throws gives back its window and objects

    HINSTANCE hInstance;                // the process's own module
    WNDCLASSA wndClass;                 // the class the constructor registers
    HWND hwndWindow;                    // the on-screen window; null if creation failed
    HDC dcActive;                       // where drawing goes: dcScreen, or the back buffer
    HDC dcScreen;                       // the client area's context
    HBITMAP bmapBuffer = nullptr;       // back buffer; null while double buffering is off
    HBITMAP bmapInitial = nullptr;      // what the back-buffer context held before it
    HPEN penObject = nullptr;           // current pen
    HBRUSH brshObject = nullptr;        // current brush
    HFONT fontObject = nullptr;         // current font
    HPEN penSaved = nullptr;            // dcActive's own pen, during one drawing call
    HBRUSH brshSaved = nullptr;         // dcActive's own brush, during one drawing call
    HFONT fontSaved = nullptr;          // dcActive's own font, during one text call
    color brshColor;                    // current brush colour
    color penColor;                     // current pen and text colour
    int penWidth = 0;                   // current pen width in pixels
    int iWindowWidth;                   // drawing width asked for
    int iWindowHeight;                  // drawing height asked for
    bool bDoubleBuffer = false;         // double buffering on
    int iMouseX;                        // last known mouse position, client pixels
    int iMouseY;
    ClickQueue clickQueue;              // queued clicks
    KeyQueue keyQueue;                  // queued key presses
    PressState leftButtonState = BUTTON_RELEASED;
    PressState rightButtonState = BUTTON_RELEASED;
};

// ---------------------------------------------------------------- time
void Delay(unsigned int ms);          // sleeps; pumps nothing, input waits meanwhile
unsigned int ElapsedMillis();         // the platform's millisecond clock; wraps at 2^32
bool IntervalElapsed(unsigned int ms); // true once ms have passed since the last true (shared)

#endif // QUILLGRAPH_GRAPHICS_H
