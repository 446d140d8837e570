// make_seeds.cpp - writes the seed corpora of the fuzz targets (tests/fuzz/make-seeds.sh
// runs it): small JPEG files in every layout the decoder reads and a few broken ones, and
// scripts for the two operation targets, each operation with ordinary and hostile
// arguments.
#include "jpeg_writer.h"
#include "ops.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace qgfuzz;

namespace {

std::string outputDir;

void Write(const std::string &name, const std::vector<uint8_t> &bytes)
{
    const std::string path = outputDir + "/" + name;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "make_seeds: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void JpegSeeds()
{
    auto with = [](auto change) {
        JpegRecipe r;
        r.width = 16;
        r.height = 16;
        change(r);
        return EncodeJpeg(r);
    };
    const Bytes baseline = with([](JpegRecipe &) {});
    Write("jpeg/baseline-420.jpg", baseline);
    Write("jpeg/baseline-444.jpg", with([](JpegRecipe &r) { r.hSampling = r.vSampling = 1; }));
    Write("jpeg/baseline-422.jpg", with([](JpegRecipe &r) { r.vSampling = 1; }));
    Write("jpeg/baseline-440.jpg", with([](JpegRecipe &r) { r.hSampling = 1; }));
    Write("jpeg/sampling-41.jpg", with([](JpegRecipe &r) { r.hSampling = 4, r.vSampling = 1; }));
    Write("jpeg/sampling-32.jpg", with([](JpegRecipe &r) { r.hSampling = 3, r.vSampling = 2; }));
    Write("jpeg/odd-size.jpg", with([](JpegRecipe &r) { r.width = 13, r.height = 7; }));
    Write("jpeg/gray.jpg", with([](JpegRecipe &r) { r.layout = Layout::Gray, r.width = 9, r.height = 7; }));
    Write("jpeg/gray-progressive.jpg", with([](JpegRecipe &r) { r.layout = Layout::Gray, r.progressive = true; }));
    Write("jpeg/rgb.jpg", with([](JpegRecipe &r) { r.layout = Layout::Rgb; }));
    Write("jpeg/cmyk-adobe.jpg", with([](JpegRecipe &r) { r.layout = Layout::Cmyk; }));
    Write("jpeg/cmyk-plain.jpg", with([](JpegRecipe &r) { r.layout = Layout::Cmyk, r.adobe = false; }));
    Write("jpeg/ycck.jpg", with([](JpegRecipe &r) { r.layout = Layout::Ycck; }));
    Write("jpeg/progressive-420.jpg", with([](JpegRecipe &r) { r.progressive = true, r.width = 24; }));
    Write("jpeg/progressive-444.jpg", with([](JpegRecipe &r) { r.progressive = true, r.hSampling = r.vSampling = 1; }));
    Write("jpeg/arithmetic.jpg", with([](JpegRecipe &r) { r.arithmetic = true; }));
    Write("jpeg/arithmetic-progressive.jpg", with([](JpegRecipe &r) { r.arithmetic = true, r.progressive = true; }));
    Write("jpeg/restarts.jpg", with([](JpegRecipe &r) { r.width = r.height = 32, r.restartRows = 1; }));
    Write("jpeg/optimized.jpg", with([](JpegRecipe &r) { r.optimize = true; }));
    Write("jpeg/component-scans.jpg", with([](JpegRecipe &r) { r.componentScans = true; }));
    Write("jpeg/no-jfif.jpg", with([](JpegRecipe &r) { r.jfif = false; }));
    Write("jpeg/markers.jpg", with([](JpegRecipe &r) {
              r.comment = "Quen's Zarn";
              r.app1 = Bytes{'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0};
          }));
    Write("jpeg/quality-1.jpg", with([](JpegRecipe &r) { r.quality = 1; }));
    Write("jpeg/quality-100.jpg", with([](JpegRecipe &r) { r.quality = 100; }));
    Write("jpeg/one-pixel.jpg", with([](JpegRecipe &r) { r.width = r.height = 1; }));
    Write("jpeg/wide.jpg", with([](JpegRecipe &r) { r.width = 65500, r.height = 1, r.layout = Layout::Gray, r.quality = 5; }));
    Write("jpeg/tall.jpg", with([](JpegRecipe &r) { r.width = 1, r.height = 65500, r.layout = Layout::Gray, r.quality = 5; }));
    Write("jpeg/truncated.jpg", Bytes(baseline.begin(), baseline.begin() + static_cast<long>(baseline.size() / 2)));
    Write("jpeg/header-only.jpg", Bytes(baseline.begin(), baseline.begin() + 20));
    Write("jpeg/soi-eoi.jpg", Bytes{0xFF, 0xD8, 0xFF, 0xD9});
    Write("jpeg/empty.jpg", Bytes{});
    const std::string text = "not a picture\n";
    Write("jpeg/not-jpeg.txt", Bytes(text.begin(), text.end()));
}

// Arguments for one operation, from its kinds: ordinary ones (inside a 1000 x 600
// window, short texts, valid styles) or hostile ones (the special values in turn).
void WriteArgs(ScriptWriter &out, const char *kinds, bool hostile, unsigned &turn)
{
    static const int ordinaryInts[] = {10, 20, 200, 150, 300, 100, 50, 400, 30, 60};
    static const double ordinaryReals[] = {0.0, 90.0, 45.0, 270.0, 0.25, 0.75};
    for (const char *k = kinds; *k; ++k, ++turn) {
        switch (*k) {
        case 'i':
            hostile ? out.SpecialInt(turn % (sizeof kSpecialInts / sizeof kSpecialInts[0]))
                    : out.Int(ordinaryInts[turn % 10]);
            break;
        case 'r':
            if (hostile)
                out.Byte(1), out.Byte(static_cast<uint8_t>(turn % (sizeof kSpecialReals / sizeof kSpecialReals[0])));
            else
                out.Real(ordinaryReals[turn % 6]);
            break;
        case 't':
            if (hostile)
                out.LongText(turn % (sizeof kTextLengths / sizeof kTextLengths[0]), static_cast<uint8_t>(turn * 37));
            else
                out.ShortText("Quen's Zarn");
            break;
        case 's':
            out.Style(static_cast<uint8_t>(hostile ? turn % 8 : turn % 3));
            break;
        case 'b':
            out.Byte(static_cast<uint8_t>(hostile ? 255 - turn : turn));
            break;
        case 'w':
            out.Word(static_cast<uint16_t>(hostile ? 0xFFFF : 3 + turn % 20));
            break;
        case 'u':
            out.Raw32(hostile ? 0x80000000u + turn : 20 + turn % 50);
            break;
        case 'l':
            out.Long(hostile ? ~uint64_t{0} - turn : (uint64_t{100} << 16 | 50));
            break;
        }
    }
}

void Op(ScriptWriter &out, uint8_t op, const OpSpec *table, bool hostile, unsigned &turn)
{
    out.Byte(op);
    WriteArgs(out, table[op].args, hostile, turn);
}

void WindowSeeds()
{
    // Each operation once, in table order, then again with hostile arguments.
    for (const bool hostile : {false, true}) {
        ScriptWriter out;
        unsigned turn = 0;
        out.Int(1000), out.Int(600), out.Int(5), out.Int(5);
        for (uint8_t op = 0; op < kWindowOpCount; ++op)
            Op(out, op, kWindowOps, hostile, turn);
        Write(hostile ? "window/every-op-hostile.bin" : "window/every-op.bin", out.bytes);
    }
    // Drawing into the back buffer, reading it back and copying it around.
    {
        ScriptWriter out;
        unsigned turn = 0;
        out.Int(320), out.Int(200), out.Int(0), out.Int(0);
        out.Byte(kSetBuffering), out.Byte(1);
        for (uint8_t op : {kSetPen8, kDrawRectangle, kDrawArc, kDrawPolygon, kDrawString, kUpdateBuffer, kGetColor,
                           kStoreImage, kDrawImage, kCopyImage, kDrawImage, kUpdateBuffer})
            Op(out, op, kWindowOps, false, turn);
        out.Byte(kSetBuffering), out.Byte(0);
        Write("window/buffering.bin", out.bytes);
    }
    // Injected failures among the calls.
    {
        ScriptWriter out;
        unsigned turn = 0;
        out.Int(200), out.Int(100), out.Int(0), out.Int(0);
        for (uint8_t name = 0; name < 12; ++name) {
            out.Byte(kFailNext), out.Byte(static_cast<uint8_t>(name * 4)), out.Byte(1);
            for (uint8_t op : {kSetBuffering, kDrawEllipse, kDrawString, kGetColor, kStoreImage, kSetFont})
                Op(out, op, kWindowOps, false, turn);
        }
        Write("window/failures.bin", out.bytes);
    }
    // A second window, and windows of no size.
    {
        ScriptWriter out;
        unsigned turn = 0;
        out.Int(0), out.Int(0), out.Int(-5), out.Int(-5);
        out.Byte(kOpenWindow), out.Int(1), out.Int(1), out.Int(20), out.Int(20);
        out.Byte(kSelectWindow), out.Byte(1);
        for (uint8_t op : {kDrawLine, kDrawPixel, kGetColor, kStoreImage, kAwaitClick, kSetBuffering, kUpdateBuffer})
            Op(out, op, kWindowOps, false, turn);
        out.Byte(kCloseWindow);
        Write("window/tiny-windows.bin", out.bytes);
    }
}

void MessageSeeds()
{
    // Each operation once; the window is closed last, which ends the program.
    for (const bool hostile : {false, true}) {
        ScriptWriter out;
        unsigned turn = 0;
        out.Int(300), out.Int(200);
        for (uint8_t op = 0; op < kMessageOpCount; ++op)
            if (op != kInjectCloseEvent)
                Op(out, op, kMessageOps, hostile, turn);
        out.Byte(kInjectCloseEvent), out.Byte(0), out.Byte(kMsgPumpMany), out.Word(100);
        Write(hostile ? "messages/every-op-hostile.bin" : "messages/every-op.bin", out.bytes);
    }
    // Clicks and keys, polled as they come.
    {
        ScriptWriter out;
        out.Int(300), out.Int(200);
        for (int k = 0; k < 4; ++k) {
            out.Byte(kInjectButton), out.Byte(0), out.Int(k % 2), out.Byte(1), out.Int(10 * k), out.Int(20);
            out.Byte(kInjectMove), out.Byte(0), out.Int(400), out.Int(-30);
            out.Byte(kInjectButton), out.Byte(0), out.Int(k % 2), out.Byte(0), out.Int(-10), out.Int(250);
            out.Byte(kInjectKeyEvent), out.Byte(0), out.Int(k ? 0x41 + k : 0x1B), out.Byte(1);
            out.Byte(kInjectKeyEvent), out.Byte(0), out.Int(k ? 0x41 + k : 0x1B), out.Byte(0);
            for (int p = 0; p < 4; ++p)
                out.Byte(kMsgPollClick), out.Byte(kMsgPollKey);
        }
        Write("messages/clicks-and-keys.bin", out.bytes);
    }
    // Storms: keys held down, buttons pressed again and again, capture kept.
    {
        ScriptWriter out;
        out.Int(300), out.Int(200);
        out.Byte(kKeyStorm), out.Byte(0), out.Int(0x70), out.Byte(3), out.Word(300);
        out.Byte(kButtonStorm), out.Byte(0), out.Int(0), out.Byte(3), out.Int(5), out.Int(5), out.Word(200);
        out.Byte(kCaptureWithoutRelease), out.Byte(0), out.Int(10), out.Int(10), out.Int(-100), out.Int(900);
        out.Byte(kMsgPumpMany), out.Word(500);
        out.Byte(kMsgDiscardKeys), out.Byte(kMsgDiscardClicks);
        out.Byte(kMsgAwaitClick), out.Int(1), out.Int(1);
        out.Byte(kMsgAwaitKey), out.Byte(2);
        Write("messages/storms.bin", out.bytes);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder with jpeg/, window/ and messages/>\n", argv[0]);
        return 2;
    }
    outputDir = argv[1];
    JpegSeeds();
    WindowSeeds();
    MessageSeeds();
    return 0;
}
