// ops.h - the operation tables of the two operation fuzz targets: the window's public
// operations, and window-system message streams through the pump. The targets execute
// them; the seed generator writes scripts of them.
#ifndef QUILLGRAPH_FUZZ_OPS_H
#define QUILLGRAPH_FUZZ_OPS_H

#include "script.h"

namespace qgfuzz {

// Every window script starts with the main window's width, height, x and y ("iiii").
enum WindowOp : uint8_t {
    kSetTitle, kSetTitleString, kGetSize, kSetCloseWaits, kPump, kGetMousePosition,
    kGetButtonState, kPollClick, kPollKey, kAwaitClick, kAwaitKey, kDiscardClicks,
    kDiscardKeys, kSetBrush8, kSetBrushColor, kSetBrushReal, kSetPen8, kSetPenColor,
    kSetPenReal, kSetFont, kDrawLine, kDrawRectangle, kDrawTriangle, kDrawPolygon,
    kDrawCircle, kDrawEllipse, kDrawArc, kDrawBezier, kDrawPixel, kDrawString,
    kDrawStringObject, kDrawNumber, kDrawReal, kGetStringSize, kGetStringSizeObject,
    kGetNumberSize, kGetRealSize, kSetBuffering, kUpdateBuffer, kGetColor, kGetColorReal,
    kGetComponent, kDrawImage, kStoreImage, kCopyImage, kCopyConstructImage, kOpenImage,
    kDelay, kClock, kOpenWindow, kCloseWindow, kFailNext, kClearFailures, kPrint,
    kInjectClick, kInjectKey, kSelectWindow, kWindowOpCount
};

inline constexpr OpSpec kWindowOps[kWindowOpCount] = {
    {"SetTitle", "t"},
    {"SetTitleString", "t"},
    {"GetSize", ""},
    {"SetCloseWaitsForClick", "b"},
    {"PumpMessages", ""},
    {"GetMousePosition", ""},
    {"GetButtonState", "i"},
    {"PollMouseClick", ""},
    {"PollKeyPress", ""},
    {"AwaitMouseClick", "bii"},   // a click injected inside the window first
    {"AwaitKeyPress", "b"},       // a key that gives a record injected first
    {"DiscardMouseClicks", ""},
    {"DiscardKeyPresses", ""},
    {"SetBrush8", "bbb"},
    {"SetBrushColor", "bbb"},
    {"SetBrushReal", "rrr"},
    {"SetPen8", "bbbi"},
    {"SetPenColor", "bbbi"},
    {"SetPenReal", "rrri"},
    {"SetFont", "iiit"},
    {"DrawLine", "iiiis"},
    {"DrawRectangle", "iiiisii"},
    {"DrawTriangle", "iiiiiis"},
    {"DrawPolygon", "bbs"},       // a vertex count, a point pattern
    {"DrawCircle", "iiis"},
    {"DrawEllipse", "iiiis"},
    {"DrawArc", "iiiirrsi"},
    {"DrawBezier", "iiiiiiiis"},
    {"DrawPixel", "ii"},
    {"DrawString", "iit"},
    {"DrawStringObject", "iit"},
    {"DrawNumber", "iii"},
    {"DrawReal", "iir"},
    {"GetStringSize", "t"},
    {"GetStringSizeObject", "t"},
    {"GetNumberSize", "i"},
    {"GetRealSize", "r"},
    {"SetBuffering", "b"},
    {"UpdateBuffer", ""},
    {"GetColor", "ii"},
    {"GetColorReal", "ii"},
    {"GetComponent", "iib"},
    {"DrawImage", "biiii"},       // an image slot, x, y, width, height
    {"StoreImage", "biiii"},      // an image slot, x, y, width, height (cut to their types)
    {"CopyImage", "bb"},
    {"CopyConstructImage", "bii"},
    {"OpenImage", "bb"},          // an image slot, which file
    {"Delay", "u"},
    {"Clock", "u"},
    {"OpenWindow", "iiii"},
    {"CloseWindow", ""},
    {"FailNextCall", "bb"},
    {"ClearFailures", ""},
    {"Print", ""},
    {"InjectClick", "bii"},
    {"InjectKey", "b"},
    {"SelectWindow", "b"},
};

// Vertex counts DrawPolygon is given: small, GDI's 16-bit limit and past it, negative.
inline constexpr int kPolygonCounts[] = {0, 1, 2, 3, 4, 5, 7, 16, 100, 1000, 65535, 65536, 70000, -1,
                                         -0x7FFFFFFF - 1};

// Every message script starts with the window's width and height ("ii").
enum MessageOp : uint8_t {
    kPost, kSend, kPostThread, kPostNamed, kSendNamed, kInjectButton, kInjectMove,
    kInjectKeyEvent, kInjectWheel, kInjectCloseEvent, kKeyStorm, kButtonStorm,
    kCaptureWithoutRelease, kMsgPump, kMsgPumpMany, kMsgMousePosition, kMsgButtonState,
    kMsgPollClick, kMsgPollKey, kMsgAwaitClick, kMsgAwaitKey, kMsgDiscardClicks,
    kMsgDiscardKeys, kMsgDraw, kMsgDelay, kMsgSecondWindow, kMsgCloseSecond,
    kMsgSetCloseWaits, kMessageOpCount
};

inline constexpr OpSpec kMessageOps[kMessageOpCount] = {
    {"PostMessage", "bull"},        // target, message number, wParam, lParam
    {"SendMessage", "bull"},
    {"PostThreadMessage", "ull"},   // to no window: the library's pump must leave it
    {"PostNamedMessage", "bbll"},   // target, one of the messages the library knows
    {"SendNamedMessage", "bbll"},
    {"InjectButton", "bibii"},      // target, button, down, x, y
    {"InjectMove", "bii"},
    {"InjectKey", "bib"},           // target, virtual key, down
    {"InjectWheel", "biii"},
    {"InjectClose", "b"},
    {"KeyStorm", "bibw"},           // target, key, shift held, presses
    {"ButtonStorm", "bibiiw"},      // target, button, pattern, x, y, presses
    {"CaptureWithoutRelease", "biiii"},
    {"PumpMessages", ""},
    {"PumpMany", "w"},
    {"GetMousePosition", ""},
    {"GetButtonState", "i"},
    {"PollMouseClick", ""},
    {"PollKeyPress", ""},
    {"AwaitMouseClick", "ii"},
    {"AwaitKeyPress", "b"},
    {"DiscardMouseClicks", ""},
    {"DiscardKeyPresses", ""},
    {"DrawSomething", "b"},
    {"Delay", "w"},
    {"SecondWindow", "ii"},
    {"CloseSecond", ""},
    {"SetCloseWaitsForClick", "b"},
};

} // namespace qgfuzz

#endif // QUILLGRAPH_FUZZ_OPS_H
