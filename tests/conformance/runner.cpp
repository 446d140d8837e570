// runner.cpp - reads conformance cases and runs their calls in plain Win32 GDI, so the
// same code draws on real GDI (recording the goldens) and on the stand-in (the test).
#include "runner.h"

#include "win32api.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>

namespace conformance {

namespace {

struct Dib {
    BITMAPINFO bmi;
    std::vector<uint32_t> bits;
};

// Pictures a case's DIBs start from; each pixel its own colour, so a flip, an offset or
// a merged pixel shows.
uint32_t Generated(const std::string &kind, int x, int y, int width)
{
    if (kind == "picture") { // a bright L along the top and left shows orientation
        uint32_t r = 0x30 + x * 0x1C, g = 0x28 + y * 0x2A, b = (x + y) % 2 ? 0xE0 : 0x60;
        if (x == 0 || y == 0)
            r = g = 0xF8;
        return (r << 16) | (g << 8) | b;
    }
    if (kind == "small")
        return static_cast<uint32_t>(((0x20 + x * 0x18) << 16) | ((0x20 + y * 0x18) << 8) | (0x10 + (x + y) % 2 * 0xC0));
    if (kind == "ramp")
        return static_cast<uint32_t>(0x200000 * x + 0x003000 * y + ((y * width + x) % 2 ? 0xF0 : 0x40));
    return static_cast<uint32_t>(std::strtoull(kind.c_str(), nullptr, 0)); // one colour
}

BITMAPINFO Header(int width, int height) // 32-bit; negative height: top-down
{
    BITMAPINFO bmi;
    std::memset(&bmi, 0, sizeof bmi);
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = width;
    bmi.bmiHeader.biHeight = height;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    return bmi;
}

struct Context {
    std::map<std::string, void *> handles;
    std::map<std::string, Dib> dibs;
    long long failures = 0; // calls marked '?' that returned 0
};

// One call's arguments, converted as the table's entries ask for them.
struct Args {
    Context &ctx;
    std::vector<std::string> a;
    std::string error;
    void *made = nullptr;        // the handle a creating call returns, for its variable
    std::vector<long long> outs; // what an out-parameter received
    std::string bind;

    int I(size_t i) { return static_cast<int>(std::strtoll(At(i).c_str(), nullptr, 0)); }
    DWORD U(size_t i) { return static_cast<DWORD>(std::strtoull(At(i).c_str(), nullptr, 0)); }
    const std::string &At(size_t i)
    {
        static const std::string none;
        if (i < a.size())
            return a[i];
        error = "too few arguments";
        return none;
    }
    void *Handle(size_t i)
    {
        static const std::map<std::string, int> stock = {{"BLACK_PEN", BLACK_PEN},     {"WHITE_PEN", WHITE_PEN},
                                                         {"NULL_PEN", NULL_PEN},       {"BLACK_BRUSH", BLACK_BRUSH},
                                                         {"WHITE_BRUSH", WHITE_BRUSH}, {"NULL_BRUSH", NULL_BRUSH},
                                                         {"GRAY_BRUSH", GRAY_BRUSH}};
        const std::string &n = At(i);
        if (n == "NULL")
            return nullptr;
        if (auto s = stock.find(n); s != stock.end())
            return GetStockObject(s->second);
        if (auto h = ctx.handles.find(n); h != ctx.handles.end())
            return h->second;
        error = "unknown handle " + n;
        return nullptr;
    }
    template <class T> T H(size_t i) { return static_cast<T>(Handle(i)); }
    HDC Dc(size_t i) { return H<HDC>(i); }
    std::vector<long> Numbers(size_t i) // "{1,2,3}"
    {
        std::vector<long> v;
        const std::string &s = At(i);
        for (const char *p = s.c_str() + 1; *p && *p != '}'; p += *p == ',') {
            char *end;
            v.push_back(std::strtol(p, &end, 0));
            if (end == p) // a font's face name ends the numbers
                break;
            p = end;
        }
        return v;
    }
    std::vector<POINT> Points(size_t i)
    {
        std::vector<long> n = Numbers(i);
        std::vector<POINT> p(n.size() / 2 + 1); // one spare: never a null pointer, even for none
        for (size_t k = 0; k + 1 < n.size(); k += 2)
            p[k / 2] = {static_cast<LONG>(n[k]), static_cast<LONG>(n[k + 1])};
        return p;
    }
    std::string String(size_t i) // "text", with \xNN for any byte
    {
        std::string s;
        const std::string &q = At(i);
        for (size_t k = 1; k + 1 < q.size(); ++k)
            if (q[k] == '\\' && k + 3 < q.size()) {
                s += static_cast<char>(std::strtol(q.substr(k + 2, 2).c_str(), nullptr, 16));
                k += 3;
            } else {
                s += q[k];
            }
        return s;
    }
    Dib &D(size_t i)
    {
        static Dib none;
        auto d = ctx.dibs.find(At(i));
        if (d != ctx.dibs.end())
            return d->second;
        error = "unknown DIB " + At(i);
        return none;
    }
    long long Made(void *handle)
    {
        made = handle;
        return handle != nullptr;
    }
};

LOGFONTA Font(Args &a) // the call log's order: height ... quality, pitch and family, face
{
    LOGFONTA lf;
    std::memset(&lf, 0, sizeof lf);
    std::vector<long> n = a.Numbers(0);
    if (n.size() < 13)
        n.resize(13);
    lf.lfHeight = n[0], lf.lfWidth = n[1], lf.lfEscapement = n[2], lf.lfOrientation = n[3], lf.lfWeight = n[4];
    BYTE *bytes[] = {&lf.lfItalic,       &lf.lfUnderline,     &lf.lfStrikeOut, &lf.lfCharSet,
                     &lf.lfOutPrecision, &lf.lfClipPrecision, &lf.lfQuality,   &lf.lfPitchAndFamily};
    for (int k = 0; k < 8; ++k)
        *bytes[k] = static_cast<BYTE>(n[5 + k]);
    const std::string &s = a.At(0);
    const size_t face = s.rfind(',') + 1;
    std::strncpy(lf.lfFaceName, s.substr(face, s.size() - face - 1).c_str(), LF_FACESIZE - 1);
    return lf;
}

using Fn = long long (*)(Args &);
const std::map<std::string, Fn> &Calls()
{
    static const std::map<std::string, Fn> calls = {
        {"CreatePen", [](Args &a) { return a.Made(CreatePen(a.I(0), a.I(1), a.U(2))); }},
        {"CreateSolidBrush", [](Args &a) { return a.Made(CreateSolidBrush(a.U(0))); }},
        {"CreateCompatibleDC", [](Args &a) { return a.Made(CreateCompatibleDC(a.Dc(0))); }},
        {"CreateCompatibleBitmap", [](Args &a) { return a.Made(CreateCompatibleBitmap(a.Dc(0), a.I(1), a.I(2))); }},
        {"CreateDiscardableBitmap", [](Args &a) { return a.Made(CreateDiscardableBitmap(a.Dc(0), a.I(1), a.I(2))); }},
        {"CreateEllipticRgn", [](Args &a) { return a.Made(CreateEllipticRgn(a.I(0), a.I(1), a.I(2), a.I(3))); }},
        {"CreateRoundRectRgn",
         [](Args &a) { return a.Made(CreateRoundRectRgn(a.I(0), a.I(1), a.I(2), a.I(3), a.I(4), a.I(5))); }},
        {"CreatePolygonRgn", [](Args &a) {
             std::vector<POINT> p = a.Points(0);
             return a.Made(CreatePolygonRgn(p.data(), static_cast<int>(p.size() - 1), WINDING));
         }},
        {"CreateFontIndirectA", [](Args &a) {
             LOGFONTA lf = Font(a);
             return a.Made(CreateFontIndirectA(&lf));
         }},
        {"SelectObject", [](Args &a) { return a.Made(SelectObject(a.Dc(0), a.H<HGDIOBJ>(1))); }},
        {"DeleteObject", [](Args &a) -> long long { return DeleteObject(a.H<HGDIOBJ>(0)); }},
        {"DeleteDC", [](Args &a) -> long long { return DeleteDC(a.Dc(0)); }},
        {"SetROP2", [](Args &a) -> long long { return SetROP2(a.Dc(0), a.I(1)); }},
        {"SetStretchBltMode", [](Args &a) -> long long { return SetStretchBltMode(a.Dc(0), a.I(1)); }},
        {"SetTextColor", [](Args &a) -> long long { return SetTextColor(a.Dc(0), a.U(1)); }},
        {"SetBkMode", [](Args &a) -> long long { return SetBkMode(a.Dc(0), a.I(1)); }},
        {"SetTextAlign", [](Args &a) -> long long { return SetTextAlign(a.Dc(0), a.U(1)); }},
        {"MoveToEx", [](Args &a) -> long long {
             POINT p{};
             long long r = MoveToEx(a.Dc(0), a.I(1), a.I(2), a.At(3) == "NULL" ? nullptr : &p);
             a.outs = {p.x, p.y};
             return r;
         }},
        {"LineTo", [](Args &a) -> long long { return LineTo(a.Dc(0), a.I(1), a.I(2)); }},
        {"Rectangle", [](Args &a) -> long long { return Rectangle(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4)); }},
        {"Ellipse", [](Args &a) -> long long { return Ellipse(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4)); }},
        {"RoundRect",
         [](Args &a) -> long long { return RoundRect(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.I(5), a.I(6)); }},
        {"Arc", [](Args &a) -> long long {
             return Arc(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.I(5), a.I(6), a.I(7), a.I(8));
         }},
        {"Pie", [](Args &a) -> long long {
             return Pie(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.I(5), a.I(6), a.I(7), a.I(8));
         }},
        {"Polygon", [](Args &a) -> long long {
             std::vector<POINT> p = a.Points(1);
             return Polygon(a.Dc(0), p.data(), static_cast<int>(p.size() - 1));
         }},
        {"PolyBezier", [](Args &a) -> long long {
             std::vector<POINT> p = a.Points(1);
             return PolyBezier(a.Dc(0), p.data(), static_cast<DWORD>(p.size() - 1));
         }},
        {"InvertRgn", [](Args &a) -> long long { return InvertRgn(a.Dc(0), a.H<HRGN>(1)); }},
        {"BitBlt", [](Args &a) -> long long {
             return BitBlt(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.Dc(5), a.I(6), a.I(7), a.U(8));
         }},
        {"StretchBlt", [](Args &a) -> long long {
             return StretchBlt(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.Dc(5), a.I(6), a.I(7), a.I(8), a.I(9), a.U(10));
         }},
        {"SetDIBitsToDevice", [](Args &a) -> long long {
             Dib &d = a.D(9);
             return SetDIBitsToDevice(a.Dc(0), a.I(1), a.I(2), a.U(3), a.U(4), a.I(5), a.I(6), a.U(7), a.U(8),
                                      d.bits.data(), &d.bmi, DIB_RGB_COLORS);
         }},
        {"StretchDIBits", [](Args &a) -> long long {
             Dib &d = a.D(9);
             return StretchDIBits(a.Dc(0), a.I(1), a.I(2), a.I(3), a.I(4), a.I(5), a.I(6), a.I(7), a.I(8), d.bits.data(),
                                  &d.bmi, DIB_RGB_COLORS, a.U(10));
         }},
        {"GetDIBits", [](Args &a) -> long long {
             Dib &d = a.D(4);
             return GetDIBits(a.Dc(0), a.H<HBITMAP>(1), a.U(2), a.U(3), d.bits.data(), &d.bmi, DIB_RGB_COLORS);
         }},
        {"TextOutA", [](Args &a) -> long long {
             const std::string s = a.String(3);
             return TextOutA(a.Dc(0), a.I(1), a.I(2), s.c_str(), static_cast<int>(s.size()));
         }},
        {"GetTextExtentPoint32A", [](Args &a) -> long long {
             const std::string s = a.String(1);
             SIZE size{};
             long long r = GetTextExtentPoint32A(a.Dc(0), s.c_str(), static_cast<int>(s.size()), &size);
             a.outs = {size.cx, size.cy};
             return r;
         }},
        // Not Win32: a DIB of W x |H| pixels (H < 0: top-down) filled from a picture or
        // one colour; the first pixel of a DIB; how many '?' calls failed.
        {"DIB", [](Args &a) -> long long {
             Dib &d = a.ctx.dibs[a.bind];
             const int w = a.I(0), h = a.I(1), rows = std::abs(h);
             d.bmi = Header(w, h);
             d.bits.assign(static_cast<size_t>(w) * rows + 1, 0);
             for (int y = 0; y < rows; ++y)
                 for (int x = 0; x < w; ++x)
                     d.bits[static_cast<size_t>(y) * w + x] = Generated(a.At(2), x, y, w);
             return 1;
         }},
        {"Pixel", [](Args &a) -> long long { return a.D(0).bits[0] & 0xFFFFFF; }},
        {"Failures", [](Args &a) { return a.ctx.failures; }},
    };
    return calls;
}

// Splits "a,{b,c},"d,e"" at the commas outside braces and quotes.
std::vector<std::string> SplitArgs(const std::string &s)
{
    std::vector<std::string> out;
    if (s.empty())
        return out;
    std::string cur;
    int depth = 0;
    bool quoted = false;
    for (char ch : s) {
        if (ch == '"')
            quoted = !quoted;
        else if (!quoted && ch == '{')
            ++depth;
        else if (!quoted && ch == '}')
            --depth;
        if (ch == ',' && depth == 0 && !quoted) {
            out.push_back(cur);
            cur.clear();
        } else {
            cur += ch;
        }
    }
    out.push_back(cur);
    return out;
}

} // namespace

bool RunCalls(void *dc, const std::string &calls, std::vector<long long> &results, std::string &error)
{
    Context ctx;
    ctx.handles["dc"] = dc;
    size_t pos = 0;
    while ((pos = calls.find_first_not_of(' ', pos)) != std::string::npos) {
        const char mark = calls[pos] == '!' || calls[pos] == '?' ? calls[pos++] : ' ';
        const size_t open = calls.find('(', pos);
        size_t close = open;
        for (bool quoted = false; close < calls.size() && (quoted || calls[close] != ')'); ++close)
            quoted ^= calls[close] == '"';
        if (open == std::string::npos || close >= calls.size()) {
            error = "cannot read the call at: " + calls.substr(pos);
            return false;
        }
        std::string name = calls.substr(pos, open - pos), bind;
        if (const size_t eq = name.find('='); eq != std::string::npos) {
            bind = name.substr(0, eq);
            name = name.substr(eq + 1);
        }
        Args args{ctx, SplitArgs(calls.substr(open + 1, close - open - 1)), {}, nullptr, {}, bind};
        pos = close + 1;
        auto fn = Calls().find(name);
        if (fn == Calls().end()) {
            error = "no such call: " + name;
            return false;
        }
        const long long r = fn->second(args);
        if (!args.error.empty()) {
            error = name + ": " + args.error;
            return false;
        }
        if (!bind.empty() && name != "DIB")
            ctx.handles[bind] = args.made;
        if (mark == '!')
            results.push_back(r);
        if (mark == '?')
            ctx.failures += r == 0;
        if (!args.a.empty() && args.a.back() == "&!")
            results.insert(results.end(), args.outs.begin(), args.outs.end());
    }
    return true;
}

Pixels Background(bool pattern, int width, int height)
{
    Pixels p{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) // the pattern: different at every pixel of a cell, never grey
            p.data[static_cast<size_t>(y) * width + x] =
                pattern ? ((60u + x * 5) & 0xFF) << 16 | ((50u + y * 5) & 0xFF) << 8 | ((140u + ((x * 3) ^ (y * 7))) & 0xFF)
                        : 0x286E5A;
    return p;
}

// A fresh memory DC holding a bitmap compatible with the screen (a fresh memory DC's own
// would be monochrome), the background written and read back as a 32-bit top-down DIB
// with the unused byte cleared.
Outcome Run(const Group &group, const Case &c)
{
    Outcome out;
    const int w = group.cellWidth, h = group.cellHeight;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ initial = SelectObject(dc, bitmap);
    Pixels bg = Background(c.pattern, w, h);
    BITMAPINFO bmi = Header(w, -h);
    if (!screen || !dc || !bitmap || SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, bg.data.data(), &bmi, DIB_RGB_COLORS) != h)
        out.failure = "could not make the memory DC and its background";
    else if (!RunCalls(dc, c.calls, out.results, out.failure))
        out.failure = "case " + c.name + ": " + out.failure;
    SelectObject(dc, initial); // GetDIBits wants the bitmap out of any DC
    out.pixels = Pixels{w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h)};
    if (GetDIBits(screen, bitmap, 0, h, out.pixels.data.data(), &bmi, DIB_RGB_COLORS) != h && out.failure.empty())
        out.failure = "GetDIBits could not read the surface back";
    for (uint32_t &px : out.pixels.data)
        px &= 0x00FFFFFF;
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return out;
}

bool LoadGroup(const std::string &path, const std::string &name, Group &out, std::string &error)
{
    std::ifstream in(path, std::ios::binary);
    std::string line;
    out = Group{name, 0, 0, {}};
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("size ", 0) == 0) {
            std::sscanf(line.c_str(), "size %d %d", &out.cellWidth, &out.cellHeight);
            continue;
        }
        const size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1);
        if (t2 == std::string::npos) {
            error = path + ": not <name>\\t<background>\\t<calls>: " + line;
            return false;
        }
        out.cases.push_back({line.substr(0, t1), line.substr(t2 + 1), line.compare(t1 + 1, t2 - t1 - 1, "pattern") == 0});
    }
    if (out.cellWidth <= 0 || out.cases.empty())
        error = path + (in ? ": no size line or no cases" : ": cannot be read");
    return error.empty();
}

std::vector<std::string> GroupNames(const std::string &folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(folder, ec))
        if (e.path().extension() == ".txt")
            names.push_back(e.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

Sheet::Sheet(const Group &group) : cellWidth(group.cellWidth), cellHeight(group.cellHeight)
{
    const int n = static_cast<int>(group.cases.size());
    const int perRow = std::max(1, (520 - 2) / (cellWidth + 2));
    columns = std::max(1, std::min(n, perRow));
    const int rows = std::max(1, (n + columns - 1) / columns);
    width = 2 + columns * (cellWidth + 2);
    height = 2 + rows * (cellHeight + 2);
}

void Sheet::Place(Pixels &sheet, size_t i, const Pixels &cell) const
{
    const int x0 = 2 + static_cast<int>(i % columns) * (cellWidth + 2), y0 = 2 + static_cast<int>(i / columns) * (cellHeight + 2);
    for (int y = 0; y < cellHeight; ++y)
        std::copy_n(&cell.data[static_cast<size_t>(y) * cellWidth], cellWidth, &sheet.data[static_cast<size_t>(y0 + y) * width + x0]);
}

Pixels Sheet::Cut(const Pixels &sheet, size_t i) const
{
    Pixels cell{cellWidth, cellHeight, std::vector<uint32_t>(static_cast<size_t>(cellWidth) * cellHeight)};
    const int x0 = 2 + static_cast<int>(i % columns) * (cellWidth + 2), y0 = 2 + static_cast<int>(i / columns) * (cellHeight + 2);
    for (int y = 0; y < cellHeight; ++y)
        std::copy_n(&sheet.data[static_cast<size_t>(y0 + y) * width + x0], cellWidth, &cell.data[static_cast<size_t>(y) * cellWidth]);
    return cell;
}

std::string ResultsLine(const std::string &caseName, const std::vector<long long> &values)
{
    std::string line = caseName + "\t";
    for (size_t i = 0; i < values.size(); ++i)
        line += (i ? " " : "") + std::to_string(values[i]);
    return line;
}

namespace {
bool Wildcard(const char *p, const char *t)
{
    if (*p == '*')
        return Wildcard(p + 1, t) || (*t && Wildcard(p, t + 1));
    return *t ? (*p == '?' || *p == *t) && Wildcard(p + 1, t + 1) : !*p;
}
} // namespace

bool LoadDivergences(const std::string &path, std::vector<Divergence> &out, std::string &error)
{
    std::ifstream in(path);
    if (!in)
        error = path + ": cannot be read";
    std::string line;
    while (std::getline(in, line)) {
        char kind[8], pattern[256];
        int used = 0;
        if (line.empty() || line[0] == '#')
            continue;
        if (std::sscanf(line.c_str(), "%7s %255s %n", kind, pattern, &used) != 2 || used >= static_cast<int>(line.size()) ||
            !std::strchr("sko", kind[0]) || (std::strcmp(kind, "skip") && std::strcmp(kind, "keep") && std::strcmp(kind, "open")))
            error = "not <skip|keep|open> <pattern> <reason>: " + line;
        else
            out.push_back({kind[0], pattern, line.substr(used)});
    }
    return error.empty();
}

const Divergence *FindDivergence(const std::vector<Divergence> &list, const std::string &id)
{
    for (const Divergence &d : list)
        if (Wildcard(d.pattern.c_str(), id.c_str()))
            return &d;
    return nullptr;
}

} // namespace conformance
