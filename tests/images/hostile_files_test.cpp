// Every kind of picture file a user can hand the library, from the file name to the pixels
// on a headless window: the odd codings and layouts, the extreme sizes, damaged files, and
// the files and names that end the program or throw.
#include "../support/headless.h" // a relative name: the Windows build leaves these tests out by it
#include "files.h"
#include "jpeg.h"

#include <csignal>
#include <cstring>

using namespace support;

namespace {

constexpr int kWidth = 80, kHeight = 60;
constexpr uint32_t kBackdrop = 0x010203;

struct PictureCase {
    std::string name;
    Bytes file;
    std::vector<uint32_t> pixels; // what the picture must show, 0x00RRGGBB, rows top-down
    int width = 0, height = 0;
};

// What libjpeg itself makes of the file, as 0x00RRGGBB values.
std::vector<uint32_t> DecodedPixels(const Bytes &file)
{
    int components = 0;
    const Bytes bgrx = DecodeReference(file, JCS_EXT_BGRX, &components);
    std::vector<uint32_t> pixels;
    for (std::size_t i = 0; i + 3 < bgrx.size(); i += 4)
        pixels.push_back(uint32_t(bgrx[i + 2]) << 16 | uint32_t(bgrx[i + 1]) << 8 | bgrx[i]);
    return pixels;
}

PictureCase Decodable(std::string name, const JpegRecipe &recipe)
{
    PictureCase c{std::move(name), EncodeJpeg(recipe), {}, recipe.width, recipe.height};
    c.pixels = DecodedPixels(c.file);
    return c;
}

// One colour in every pixel: any stretching gives the same colour back.
JpegRecipe Flat(int width, int height, unsigned char r, unsigned char g, unsigned char b)
{
    JpegRecipe recipe = FlatBlocks(Layout::Rgb, {});
    recipe.width = width;
    recipe.height = height;
    for (int i = 0; i < width * height; ++i)
        recipe.samples.insert(recipe.samples.end(), {r, g, b});
    return recipe;
}

// The offset of the first marker of the given kind (SOS 0xDA, DQT 0xDB...).
std::size_t MarkerAt(const Bytes &file, unsigned char kind)
{
    std::size_t at = 2;
    while (at + 3 < file.size() && file[at + 1] != kind)
        at += 2 + (std::size_t(file[at + 2]) << 8 | file[at + 3]);
    return at;
}

class HostileFiles : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Open(kWidth, kHeight);
        w->SetPen(color(1, 2, 3), 1);
        w->SetBrush(color(1, 2, 3));
        w->DrawRectangle(0, 0, kWidth + 1, kHeight + 1, STYLE_FILLED);
        ASSERT_EQ(Surface(), std::vector<uint32_t>(kWidth * kHeight, kBackdrop));
    }
    // The backdrop with the picture's pixels at (left, top), clipped to the window.
    static std::vector<uint32_t> Placed(const PictureCase &c, int left, int top)
    {
        std::vector<uint32_t> expected(kWidth * kHeight, kBackdrop);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int u = x - left, v = y - top;
                if (u >= 0 && v >= 0 && u < c.width && v < c.height)
                    expected[y * kWidth + x] = c.pixels[std::size_t(v) * c.width + u];
            }
        return expected;
    }

    ScratchFolder folder;
};

TEST_F(HostileFiles, EveryDecodableKindDrawsWhatTheDecoderMakesOfIt)
{
    std::vector<PictureCase> cases;
    // Rows and channels in order in every coding: the F is red on blue.
    JpegRecipe letter = LetterF();
    PictureCase baseline{"baseline", EncodeJpeg(letter), {}, 48, 64};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x)
            baseline.pixels.push_back(InLetterF(x / 8, y / 8) ? 0xFF0000 : 0x0000FF);
    cases.push_back(baseline);
    letter.progressive = true;
    cases.push_back(Decodable("progressive", letter));
    letter.progressive = false;
    letter.arithmetic = true;
    cases.push_back(Decodable("arithmetic-coded", letter));
    letter.progressive = true;
    cases.push_back(Decodable("progressive arithmetic-coded", letter));

    JpegRecipe gray = Gradient(37, 23);
    gray.layout = Layout::Gray;
    gray.samples.resize(gray.samples.size() / 3);
    gray.samples.resize(37 * 23);
    cases.push_back(Decodable("grayscale", gray));

    // Adobe-marked CMYK stores inverted inks: magenta and yellow make red, no ink white.
    PictureCase cmyk{"CMYK", EncodeJpeg(FlatBlocks(Layout::Cmyk, {{255, 0, 0, 255}, {255, 255, 255, 255}})),
                     {}, 16, 8};
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            cmyk.pixels.push_back(x < 8 ? 0xFF0000 : 0xFFFFFF);
    cases.push_back(cmyk);

    cases.push_back(Decodable("1 x 1", Flat(1, 1, 200, 30, 90)));
    cases.push_back(Decodable("13 x 7", Gradient(13, 7))); // rows of no multiple of four bytes
    cases.push_back(Decodable("65500 x 1", Gradient(65500, 1)));
    cases.push_back(Decodable("1 x 65500", Gradient(1, 65500)));

    // Cut inside the scan data: the decoder warns and fills the rest, all rows still come.
    for (bool progressive : {false, true}) {
        JpegRecipe recipe = Gradient(64, 64);
        recipe.progressive = progressive;
        Bytes whole = EncodeJpeg(recipe);
        PictureCase cut{progressive ? "truncated progressive" : "truncated", {}, {}, 64, 64};
        cut.file.assign(whole.begin(), whole.begin() + (MarkerAt(whole, 0xDA) + whole.size()) / 2);
        testing::internal::CaptureStderr();
        cut.pixels = DecodedPixels(cut.file);
        testing::internal::GetCapturedStderr();
        cases.push_back(cut);
    }

    for (const PictureCase &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Write("picture.jpg", c.file);
        testing::internal::CaptureStderr();
        const image img(path, IMAGE_JPEG);
        const std::string warnings = testing::internal::GetCapturedStderr();
        ASSERT_EQ(img.usWidth, c.width);
        ASSERT_EQ(img.usHeight, c.height);
        EXPECT_EQ(warnings.empty(), c.name.find("truncated") == std::string::npos) << warnings;

        // The long ones are placed so that their far end shows: negative offsets clip.
        const int left = c.width > kWidth ? kWidth - c.width - 5 : 7;
        const int top = c.height > kHeight ? kHeight - c.height - 5 : 5;
        const std::string printed = Printed([&] { w->DrawImage(img, left, top, -1, -1); });
        EXPECT_EQ(printed, "");
        EXPECT_EQ(Surface(), Placed(c, left, top));
        w->DrawRectangle(0, 0, kWidth + 1, kHeight + 1, STYLE_FILLED);
    }
}

TEST_F(HostileFiles, TinyAndHugeFlatPicturesStretchToTheirOwnColour)
{
    for (auto [width, height] : {std::pair{1, 1}, {65500, 1}, {1, 65500}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const image img(folder.Write("flat.jpg", EncodeJpeg(Flat(width, height, 200, 30, 90))), IMAGE_JPEG);
        EXPECT_EQ(Printed([&] { w->DrawImage(img, 10, 20, 31, 17); }), "");
        const std::vector<uint32_t> surface = Surface();
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool inside = x >= 10 && x < 41 && y >= 20 && y < 37;
                wrong += surface[y * kWidth + x] != (inside ? 0xC81E5Au : kBackdrop);
            }
        EXPECT_EQ(wrong, 0);
        w->DrawRectangle(0, 0, kWidth + 1, kHeight + 1, STYLE_FILLED);
    }
}

// Files cut short before their image data are fatal to the decoder: the program ends with
// status 1, and so do empty files and files of another kind. An error
// nobody catches ends it abnormally. Each with a window open and a picture on it.
using HostileFilesDeathTest = HostileFiles;

[[noreturn]] void OpenWhileDrawing(window &w, const std::string &path)
{
    const image shown(path + ".good", IMAGE_JPEG);
    w.DrawImage(shown, 0, 0, -1, -1);
    const image hostile(path, IMAGE_JPEG);
    w.DrawImage(hostile, 0, 0, -1, -1);
    std::exit(3); // the file was taken for a picture
}

// Nothing in the program catches the library's errors.
void OpenUncaught(window &w, const std::string &path) noexcept
{
    const image picture(path, IMAGE_JPEG);
    w.DrawImage(picture, 0, 0, -1, -1);
}

TEST_F(HostileFilesDeathTest, UnreadableFilesEndTheProgramWithTheDecodersMessage)
{
    const Bytes whole = EncodeJpeg(Gradient(64, 64));
    const std::size_t quantTables = MarkerAt(whole, 0xDB), scan = MarkerAt(whole, 0xDA);
    const struct {
        const char *name;
        Bytes file;
        const char *message;
    } cases[] = {
        {"cut in the tables", Bytes(whole.begin(), whole.begin() + quantTables + 9),
         "JPEG datastream contains no image"},
        {"cut before the scan", Bytes(whole.begin(), whole.begin() + scan), "missing SOS marker"},
        {"empty", {}, "Empty input file"},
        {"of another kind", {'G', 'I', 'F', '8', '9', 'a', 1, 0}, "Not a JPEG file: starts with 0x47 0x49"},
        {"with a bad marker", {0xFF, 0xD8, 0xFF, 0xC0, 0, 2}, "Bogus marker length"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder.Write(std::string("x") + c.name, c.file);
        folder.Write(std::string("x") + c.name + ".good", EncodeJpeg(Flat(8, 8, 1, 200, 1)));
        EXPECT_EXIT(OpenWhileDrawing(*w, path), testing::ExitedWithCode(1), c.message);
    }
    EXPECT_EXIT(OpenUncaught(*w, folder.Path("missing.jpg")), testing::KilledBySignal(SIGABRT),
                "terminate called after throwing an instance of 'error'");
}

} // namespace
