// script.h - the byte language of the operation fuzz targets: a fuzz input is a list of
// operations, each an opcode byte and arguments of the kinds its table entry names. The
// reader turns any bytes into arguments (mostly hostile ones); the writer makes the seed
// corpus in the same language.
#ifndef QUILLGRAPH_FUZZ_SCRIPT_H
#define QUILLGRAPH_FUZZ_SCRIPT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qgfuzz {

// An operation of a target: its name and its argument kinds, one letter each:
//   i  a 32-bit int          r  a double         t  a text (may be null)
//   s  a drawing style       b  a byte           w  a 16-bit word      u  a 32-bit word
//   l  a 64-bit message parameter
struct OpSpec {
    const char *name;
    const char *args;
};

// A text argument: null, empty, short bytes from the input, or a long run.
struct Text {
    bool null = true;
    std::string bytes;
    const char *Get() const { return null ? nullptr : bytes.c_str(); }
};

// The arguments of one operation, in the order of their kinds, per kind.
struct Args {
    int i[10] = {};
    double r[4] = {};
    Text t;
    int s = 1;
    uint8_t b[4] = {};
    uint16_t w[4] = {};
    uint32_t u[2] = {};
    uint64_t l[2] = {};
};

// Values where arithmetic breaks: the ends of 16 and 32 bits, the window's edges, GDI's
// 27-bit coordinate range.
inline constexpr int kSpecialInts[] = {
    0, 1, -1, 2, -2, 3, 10, 100, 599, 600, 601, 999, 1000, 1001,
    127, 128, 255, 256, 32767, 32768, -32768, -32769, 65535, 65536, -65535, -65536,
    0x7FFFFFFF, -0x7FFFFFFF - 1, 0x7FFFFFFE, -0x7FFFFFFF, 0x40000000, -0x40000000,
    0x07FFFFFF, -0x08000000, 0x08000000, 0x01000000, 0x00FFFFFF, 0x7FFF0000, 46341, -46341,
};

inline const double kSpecialReals[] = {
    0.0, -0.0, 1.0, -1.0, 0.5, 90.0, 180.0, 360.0, 720.0, -90.0, 45.0,
    3.141592653589793, 6.283185307179586, 1e308, -1e308, 1.7976931348623157e308,
    -1.7976931348623157e308, 2.2250738585072014e-308, 4.9e-324, 1e120, -1e120, 1e127, 1e-300,
    9.2233720368547758e18, -9.2233720368547758e18, 2147483647.5, -2147483648.5, 4294967296.0,
    __builtin_nan(""), -__builtin_nan(""), __builtin_inf(), -__builtin_inf(), 1e15, 123456.789,
};

// Lengths of long texts: around the 31-character face name, the 128-byte number buffer,
// the sizes fonts and glyph runs are kept in.
inline constexpr size_t kTextLengths[] = {31, 32, 33, 127, 128, 200, 255, 256, 1000, 4096, 10000, 65537};

class Script {
public:
    Script(const uint8_t *data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ >= size_; }

    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    unsigned Below(unsigned n) { return n ? Byte() % n : 0; }
    // Little-endian; each low part is read before its high part.
    uint16_t Word()
    {
        const unsigned low = Byte();
        return static_cast<uint16_t>(low | Byte() << 8);
    }
    uint32_t Raw32()
    {
        const uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    uint64_t Raw64()
    {
        const uint64_t low = Raw32();
        return low | static_cast<uint64_t>(Raw32()) << 32;
    }

    int Int()
    {
        switch (Byte() & 3) {
        case 0:
            return static_cast<int8_t>(Byte());
        case 1:
            return kSpecialInts[Below(sizeof kSpecialInts / sizeof kSpecialInts[0])];
        case 2:
            return static_cast<int>(Raw32());
        default:
            return static_cast<int>(Word() % 1400) - 200;
        }
    }

    double Real()
    {
        switch (Byte() & 3) {
        case 0:
            return static_cast<int8_t>(Byte());
        case 1:
            return kSpecialReals[Below(sizeof kSpecialReals / sizeof kSpecialReals[0])];
        case 2: {
            const uint64_t bits = Raw64();
            double value;
            __builtin_memcpy(&value, &bits, sizeof value);
            return value;
        }
        default:
            return static_cast<int16_t>(Word()) / 8.0;
        }
    }

    uint64_t Long()
    {
        switch (Byte() & 3) {
        case 0:
            return Byte();
        case 1:
            return static_cast<uint64_t>(static_cast<int64_t>(kSpecialInts[Below(sizeof kSpecialInts / sizeof kSpecialInts[0])]));
        case 2:
            return Raw64();
        default:
            // A position word pair: x in the low 16 bits, y in the next 16.
            return Raw32();
        }
    }

    Text ReadText()
    {
        Text text;
        switch (Byte() % 4) {
        case 0:
            return text;
        case 1:
            text.null = false;
            return text;
        case 2: {
            text.null = false;
            const unsigned length = Byte();
            for (unsigned k = 0; k < length && !AtEnd(); ++k) {
                const char c = static_cast<char>(Byte());
                text.bytes.push_back(c ? c : ' ');
            }
            return text;
        }
        default: {
            text.null = false;
            const size_t length = kTextLengths[Below(sizeof kTextLengths / sizeof kTextLengths[0])];
            const uint8_t fill = Byte();
            text.bytes.resize(length);
            for (size_t k = 0; k < length; ++k)
                text.bytes[k] = fill >= 32 ? static_cast<char>(fill) : "Wi ,.0@gj"[(k + fill) % 9];
            return text;
        }
        }
    }

    int Style()
    {
        static constexpr int styles[] = {1, 2, 3, 1, 2, 0, 4, -1};
        return styles[Byte() % 8];
    }

    Args ReadArgs(const char *kinds)
    {
        Args a;
        int ni = 0, nr = 0, nb = 0, nw = 0, nu = 0, nl = 0;
        for (const char *k = kinds; *k; ++k) {
            switch (*k) {
            case 'i': a.i[ni++] = Int(); break;
            case 'r': a.r[nr++] = Real(); break;
            case 't': a.t = ReadText(); break;
            case 's': a.s = Style(); break;
            case 'b': a.b[nb++] = Byte(); break;
            case 'w': a.w[nw++] = Word(); break;
            case 'u': a.u[nu++] = Raw32(); break;
            case 'l': a.l[nl++] = Long(); break;
            }
        }
        return a;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

// One operation as text, for following a script (QG_FUZZ_TRACE=1): its name and
// arguments, texts by their length.
inline std::string Describe(const OpSpec &op, const Args &a)
{
    std::string out = op.name;
    out += '(';
    int ni = 0, nr = 0, nb = 0, nw = 0, nu = 0, nl = 0;
    for (const char *k = op.args; *k; ++k) {
        if (k != op.args)
            out += ',';
        switch (*k) {
        case 'i': out += std::to_string(a.i[ni++]); break;
        case 'r': out += std::to_string(a.r[nr++]); break;
        case 't': out += a.t.null ? "null" : "text[" + std::to_string(a.t.bytes.size()) + "]"; break;
        case 's': out += "style " + std::to_string(a.s); break;
        case 'b': out += std::to_string(a.b[nb++]); break;
        case 'w': out += std::to_string(a.w[nw++]); break;
        case 'u': out += std::to_string(a.u[nu++]); break;
        case 'l': out += std::to_string(a.l[nl++]); break;
        }
    }
    return out + ')';
}

// Writes scripts for the seed corpus: the encodings Script reads back.
class ScriptWriter {
public:
    std::vector<uint8_t> bytes;

    void Byte(uint8_t v) { bytes.push_back(v); }
    void Word(uint16_t v) { Byte(static_cast<uint8_t>(v)), Byte(static_cast<uint8_t>(v >> 8)); }
    void Raw32(uint32_t v) { Word(static_cast<uint16_t>(v)), Word(static_cast<uint16_t>(v >> 16)); }
    void Raw64(uint64_t v) { Raw32(static_cast<uint32_t>(v)), Raw32(static_cast<uint32_t>(v >> 32)); }

    // An int in the window's neighbourhood (-200..1199), or any other exactly.
    void Int(int v)
    {
        if (v >= -200 && v < 1200) {
            Byte(3);
            Word(static_cast<uint16_t>(v + 200));
        } else {
            Byte(2);
            Raw32(static_cast<uint32_t>(v));
        }
    }
    void SpecialInt(unsigned index) { Byte(1), Byte(static_cast<uint8_t>(index)); }
    void Real(double v)
    {
        Byte(2);
        uint64_t bits;
        __builtin_memcpy(&bits, &v, sizeof bits);
        Raw64(bits);
    }
    void Long(uint64_t v) { Byte(2), Raw64(v); }
    void NullText() { Byte(0); }
    void ShortText(const std::string &s)
    {
        Byte(2);
        Byte(static_cast<uint8_t>(s.size()));
        for (char c : s)
            Byte(static_cast<uint8_t>(c));
    }
    void LongText(unsigned lengthIndex, uint8_t fill) { Byte(3), Byte(static_cast<uint8_t>(lengthIndex)), Byte(fill); }
    // 0 filled, 1 frame, 2 inverted, 5 the invalid 0.
    void Style(uint8_t code) { Byte(code); }
};

} // namespace qgfuzz

#endif // QUILLGRAPH_FUZZ_SCRIPT_H
