// DrawImage and StoreImage on a headless window: the calls they make, the pixels they
// move, the blocks StoreImage refuses, and every failure they report or throw.
#include "allocation_failures.h"
#include "../support/headless.h" // a relative name: the Windows build leaves these tests out by it

#include <cstdint>
#include <cstring>

using namespace support;

namespace {

constexpr int kWidth = 64, kHeight = 48;

// What the surface starts with: a different colour at every pixel, blue always 0x11.
uint32_t Backdrop(int x, int y)
{
    return uint32_t(x) << 16 | uint32_t(y) << 8 | 0x11;
}

// The test pictures: red = column, green = row, blue 0xEE (so every pixel differs from the
// backdrop), and a fourth byte that drawing must ignore.
uint32_t Picture(int x, int y)
{
    return uint32_t(x) << 16 | uint32_t(y) << 8 | 0xEE;
}

// An image laid out as the library lays one out, filled with Picture.
image MakePicture(unsigned short width, unsigned short height)
{
    image img;
    img.usWidth = width;
    img.usHeight = height;
    img.bmapInfo = new BITMAPINFOHEADER{};
    img.bmapInfo->biSize = 40;
    img.bmapInfo->biWidth = width;
    img.bmapInfo->biHeight = -height;
    img.bmapInfo->biPlanes = 1;
    img.bmapInfo->biBitCount = 32;
    img.ucpPixels = new unsigned char[std::size_t{width} * height * 4];
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = Picture(x, y);
            unsigned char *q = img.ucpPixels + (y * width + x) * 4;
            q[0] = p & 0xFF;
            q[1] = (p >> 8) & 0xFF;
            q[2] = p >> 16;
            q[3] = 0xA5;
        }
    }
    return img;
}

uint32_t PixelOf(const image &img, int x, int y)
{
    const unsigned char *q = img.ucpPixels + (y * img.usWidth + x) * 4;
    return uint32_t(q[2]) << 16 | uint32_t(q[1]) << 8 | q[0];
}

class Pictures : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Open(kWidth, kHeight);
        active = ActiveDc();
        dc = Hex(active);
        pump = "PeekMessageA(out," + Hex(hwnd) + ",0,0,1)";
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = Backdrop(x, y);
                SetPixel(active, x, y, RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF));
            }
        ASSERT_EQ(Surface(), Expected([](int, int) { return 0u; }));
    }

    // The backdrop, except where drawn(x, y) gives a picture pixel (nonzero).
    template <typename Drawn>
    static std::vector<uint32_t> Expected(Drawn drawn)
    {
        std::vector<uint32_t> pixels;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t p = drawn(x, y);
                pixels.push_back(p ? p : Backdrop(x, y));
            }
        }
        return pixels;
    }

    // The picture's pixels at natural size with its top-left pixel at (left, top).
    static std::vector<uint32_t> Placed(const image &img, int left, int top)
    {
        return Expected([&](int x, int y) {
            const int u = x - left, v = y - top;
            return u >= 0 && v >= 0 && u < img.usWidth && v < img.usHeight ? Picture(u, v) : 0u;
        });
    }

    HDC active = nullptr;
    std::string dc, pump;
};

TEST_F(Pictures, NaturalSizeCopiesEveryPixelOnceAndOneMinusOneIsEnough)
{
    const image img = MakePicture(6, 4);
    const std::string call = "SetDIBitsToDevice(" + dc + ",5,7,6,4,0,0,0,4," + Hex(img.ucpPixels) + "," +
                             Hex(img.bmapInfo) + ",0)";
    std::string printed;
    EXPECT_EQ(Calls([&] { w->DrawImage(img, 5, 7, -1, -1); }, &printed),
              (std::vector<std::string>{pump, call}));
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Surface(), Placed(img, 5, 7));

    // Either -1 makes the other size irrelevant; the pointer form does the same.
    EXPECT_EQ(Calls([&] { w->DrawImage(&img, 5, 7, -1, 50); }), (std::vector<std::string>{pump, call}));
    EXPECT_EQ(Calls([&] { w->DrawImage(img, 5, 7, 50, -1); }), (std::vector<std::string>{pump, call}));
}

TEST_F(Pictures, ScaledDrawsTheWholePictureDoubled)
{
    const image img = MakePicture(6, 4);
    std::string printed;
    EXPECT_EQ(Calls([&] { w->DrawImage(img, 3, 2, 12, 8); }, &printed),
              (std::vector<std::string>{pump, "StretchDIBits(" + dc + ",3,2,12,8,0,0,6,4," + Hex(img.ucpPixels) +
                                                  "," + Hex(img.bmapInfo) + ",0,0xCC0020)"}));
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Surface(), Expected([](int x, int y) {
                  const int u = x - 3, v = y - 2;
                  return u >= 0 && v >= 0 && u < 12 && v < 8 ? Picture(u / 2, v / 2) : 0u;
              }));
}

TEST_F(Pictures, NothingToDrawMeansNoCallAndNoLine)
{
    const image empty;
    image tooStrange = MakePicture(4, 4);
    tooStrange.iType = static_cast<imagetype>(2);
    std::string printed;
    EXPECT_EQ(Calls(
                  [&] {
                      w->DrawImage(empty, 0, 0, -1, -1);
                      w->DrawImage(empty, 0, 0, 20, 20);
                      w->DrawImage(static_cast<const image *>(nullptr), 0, 0, -1, -1);
                  },
                  &printed),
              (std::vector<std::string>{pump, pump, pump}));
    EXPECT_EQ(printed, "");

    EXPECT_EQ(Calls([&] { w->DrawImage(tooStrange, 0, 0, -1, -1); }, &printed), (std::vector<std::string>{pump}));
    EXPECT_EQ(printed, "Fatal Error: Unsupported image type!\n");
    EXPECT_EQ(Surface(), Expected([](int, int) { return 0u; }));
}

TEST_F(Pictures, FailedDrawsAreReported)
{
    const image img = MakePicture(3, 3);
    const std::string printed = Printed([&] {
        hooks::FailNextCall("SetDIBitsToDevice");
        w->DrawImage(img, 0, 0, -1, -1);
        hooks::FailNextCall("StretchDIBits");
        w->DrawImage(img, 0, 0, 6, 6);
        w->DrawImage(img, 0, 0, 6, 6);
    });
    EXPECT_EQ(printed, "Fatal Error: Failed to SetDIBitsToDevice in DrawImage!\n"
                       "Fatal Error: Failed to StretchDIBits in DrawImage!\n");
}

TEST_F(Pictures, DrawingGoesToTheBackBufferUntilItIsShown)
{
    w->SetBuffering(true); // a white back buffer: the screen must not change
    const image img = MakePicture(5, 5);
    w->DrawImage(img, 1, 2, -1, -1);
    w->DrawImage(img, 20, 20, 10, 10);
    image captured;
    w->StoreImage(captured, 0, 0, 8, 8);
    EXPECT_EQ(Surface(), Expected([](int, int) { return 0u; }));
    EXPECT_EQ(PixelOf(captured, 1, 2), Picture(0, 0));
    EXPECT_EQ(PixelOf(captured, 7, 7), 0xFFFFFFu);
    w->UpdateBuffer();
    const std::vector<uint32_t> shown = Surface();
    EXPECT_EQ(shown[2 * kWidth + 1], Picture(0, 0));
    EXPECT_EQ(shown[6 * kWidth + 5], Picture(4, 4));
    EXPECT_EQ(shown[6 * kWidth + 6], 0xFFFFFFu);
    EXPECT_EQ(shown[29 * kWidth + 29], Picture(4, 4));
}

TEST_F(Pictures, StoreImageCallsInOrderAndGivesBackWhatItTook)
{
    const int before = hooks::LiveObjectCount();
    image img = MakePicture(3, 3);
    std::string printed;
    const std::vector<std::string> calls = Calls([&] { w->StoreImage(&img, 7, 5, 9, 6); }, &printed);
    EXPECT_EQ(printed, "");
    const std::string temp = Hex(img.dcTempBuffer), bitmap = Hex(img.bmapTempBuffer);
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0], pump);
    EXPECT_EQ(calls[1], "CreateCompatibleDC(" + dc + ")");
    EXPECT_EQ(calls[2], "CreateCompatibleBitmap(" + dc + ",9,6)");
    EXPECT_EQ(calls[3], "SelectObject(" + temp + "," + bitmap + ")");
    EXPECT_EQ(calls[4], "BitBlt(" + temp + ",0,0,9,6," + dc + ",7,5,0xCC0020)");
    EXPECT_EQ(calls[5], "GetDIBits(" + dc + "," + bitmap + ",0,6," + Hex(img.ucpPixels) + "," +
                            Hex(img.bmapInfo) + ",0)");
    EXPECT_EQ(calls[6].rfind("SelectObject(" + temp + ",", 0), 0u);
    EXPECT_NE(calls[6], calls[3]);
    EXPECT_EQ(calls[7], "DeleteObject(" + bitmap + ")");
    EXPECT_EQ(calls[8], "DeleteDC(" + temp + ")");
    EXPECT_EQ(hooks::LiveObjectCount(), before);

    EXPECT_EQ(img.iType, IMAGE_CAPTURED);
    EXPECT_EQ(img.usWidth, 9);
    EXPECT_EQ(img.usHeight, 6);
    const BITMAPINFOHEADER &h = *img.bmapInfo;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 9);
    EXPECT_EQ(h.biHeight, -6);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, DWORD{BI_RGB});
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(PixelOf(img, x, y), Backdrop(x + 7, y + 5)) << x << "," << y;

    // Put back where it came from, the capture changes nothing; its copies are as good.
    // A captured picture is not something Open reads.
    const image copy = img;
    w->DrawImage(img, 7, 5, -1, -1);
    w->DrawImage(copy, 7, 5, -1, -1);
    EXPECT_EQ(Surface(), Expected([](int, int) { return 0u; }));
    EXPECT_EQ(Printed([&] { img.Open("no-such-file.jpg", img.iType); }),
              "Fatal Error: Unsupported image type!\n");
}

TEST_F(Pictures, StoreImageRefusesBlocksPastTheRightOrBottomEdge)
{
    image img;
    std::string printed;
    EXPECT_EQ(Calls([&] { w->StoreImage(img, kWidth - 5, kHeight - 4, 5, 4); }, &printed).size(), 9u);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(img.usWidth, 5);
    EXPECT_EQ(PixelOf(img, 4, 3), Backdrop(kWidth - 1, kHeight - 1));

    const unsigned char *pixels = img.ucpPixels;
    const BITMAPINFOHEADER *header = img.bmapInfo;
    img.iType = IMAGE_JPEG; // so that an overwrite would show
    struct Block {
        unsigned int x;
        unsigned short y, width, height;
    };
    // One pixel too far each way, and sums that wrap round in 32 or 16 bits.
    for (const Block &b : {Block{kWidth - 4, 0, 5, 4}, Block{0, kHeight - 3, 5, 4}, Block{0xFFFFFFF0u, 0, 32, 1},
                           Block{0, 0xFFF0, 1, 0x20}, Block{kWidth + 1, 0, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << b.x << "," << b.y << " " << b.width << "x" << b.height);
        EXPECT_EQ(Calls([&] { w->StoreImage(img, b.x, b.y, b.width, b.height); }, &printed),
                  (std::vector<std::string>{pump}));
        EXPECT_EQ(printed, "Fatal Error: StoreImage selection extends outside the window!\n");
        EXPECT_EQ(img.usWidth, 5);
        EXPECT_EQ(img.usHeight, 4);
        EXPECT_EQ(img.ucpPixels, pixels);
        EXPECT_EQ(img.bmapInfo, header);
        EXPECT_EQ(img.iType, IMAGE_JPEG);
        EXPECT_EQ(PixelOf(img, 4, 3), Backdrop(kWidth - 1, kHeight - 1));
    }
}

TEST_F(Pictures, EmptyBlocksGiveEmptyImagesWithoutCallsOrLines)
{
    image img = MakePicture(4, 4);
    std::string printed;
    allocations::Start();
    EXPECT_EQ(Calls(
                  [&] {
                      w->StoreImage(img, 10, 10, 0, 5);
                      w->DrawImage(img, 0, 0, -1, -1);
                      w->DrawImage(img, 0, 0, 10, 10);
                  },
                  &printed),
              (std::vector<std::string>{pump, pump, pump}));
    // Only the header is made: no pixel buffer of size 0.
    EXPECT_EQ(allocations::Stop(), std::vector<std::size_t>{40});
    EXPECT_EQ(printed, "");
    EXPECT_EQ(img.iType, IMAGE_CAPTURED);
    EXPECT_EQ(img.usWidth, 0);
    EXPECT_EQ(img.usHeight, 5);
    EXPECT_EQ(img.ucpPixels, nullptr);
    ASSERT_NE(img.bmapInfo, nullptr);
    EXPECT_EQ(img.bmapInfo->biWidth, 0);
    EXPECT_EQ(img.bmapInfo->biHeight, -5);

    // On the far corner, too; copies of empty captures stay empty and draw nothing.
    w->StoreImage(img, kWidth, kHeight, 0, 0);
    const image copy = img;
    EXPECT_EQ(copy.ucpPixels, nullptr);
    EXPECT_EQ(Calls([&] { w->DrawImage(copy, 0, 0, -1, -1); }, &printed), (std::vector<std::string>{pump}));
    EXPECT_EQ(printed, "");
    EXPECT_EQ(Surface(), Expected([](int, int) { return 0u; }));
}

TEST_F(Pictures, FailedStepsAreReportedAndTheRestStillRuns)
{
    const int before = hooks::LiveObjectCount();
    image img;
    std::string printed;
    hooks::FailNextCall("BitBlt");
    hooks::FailNextCall("GetDIBits");
    hooks::FailNextCall("DeleteObject");
    hooks::FailNextCall("DeleteDC");
    const std::vector<std::string> calls = Calls([&] { w->StoreImage(img, 1, 2, 3, 4); }, &printed);
    EXPECT_EQ(printed, "Fatal Error: Failed to BitBlt in StoreImage!\n"
                       "Fatal Error: Failed to GetDIBits in StoreImage!\n"
                       "Fatal Error: Failed to delete imgThis->bmapTempBuffer in StoreImage!\n"
                       "Fatal Error: Failed to delete imgThis->dcTempBuffer in StoreImage!\n");
    EXPECT_EQ(calls.size(), 9u);
    // Nothing was read: the picture is black, not whatever the heap held.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(PixelOf(img, x, y), 0u);
    EXPECT_EQ(img.iType, IMAGE_CAPTURED);

    // The failed deletions left both temporaries alive.
    EXPECT_EQ(hooks::LiveObjectCount(), before + 2);
    DeleteObject(img.bmapTempBuffer);
    DeleteDC(img.dcTempBuffer);
    EXPECT_EQ(hooks::LiveObjectCount(), before);
}

TEST_F(Pictures, StoreImageOutOfMemoryThrowsAndLeavesTheImageWhole)
{
    image img = MakePicture(2, 2);
    const unsigned char *pixels = img.ucpPixels;
    for (int nth = 1; nth <= 2; ++nth) {
        SCOPED_TRACE("allocation " + std::to_string(nth));
        const int objects = hooks::LiveObjectCount();
        allocations::Start(nth);
        try {
            w->StoreImage(img, 0, 0, 30, 20);
            ADD_FAILURE() << "no exception";
        } catch (error e) {
            EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
        }
        // The header first, then the pixels; nothing else.
        const std::vector<std::size_t> sizes{40, 30 * 20 * 4};
        EXPECT_EQ(allocations::Stop(), std::vector<std::size_t>(sizes.begin(), sizes.begin() + nth));
        EXPECT_EQ(hooks::LiveObjectCount(), objects);
        EXPECT_EQ(img.usWidth, 2);
        EXPECT_EQ(img.ucpPixels, pixels);
        EXPECT_EQ(img.iType, IMAGE_JPEG);
        EXPECT_EQ(PixelOf(img, 1, 1), Picture(1, 1));
    }
}

} // namespace
