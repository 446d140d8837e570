// The image type's life: empty images, header and layout, re-opening, deep copies, and
// every way Open can fail, allocation failures included.
#include "allocation_failures.h"
#include "graphics.h"
#include "files.h"
#include "jpeg.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

bool IsEmpty(const image &img)
{
    return img.usWidth == 0 && img.usHeight == 0 && img.ucpPixels == nullptr;
}

// The header as every operation that makes one must leave it.
void ExpectHeader(const image &img)
{
    ASSERT_NE(img.bmapInfo, nullptr);
    const BITMAPINFOHEADER &h = *img.bmapInfo;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, img.usWidth);
    EXPECT_EQ(h.biHeight, -LONG{img.usHeight});
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 32);
    EXPECT_EQ(h.biCompression, DWORD{BI_RGB});
    EXPECT_EQ(h.biSizeImage, 0u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);
}

bool SamePixels(const image &a, const image &b)
{
    return a.usWidth == b.usWidth && a.usHeight == b.usHeight &&
           std::memcmp(a.ucpPixels, b.ucpPixels, std::size_t(a.usWidth) * a.usHeight * 4) == 0;
}

int OpenFiles()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

class Images : public testing::Test {
protected:
    void SetUp() override
    {
        letterF = folder.Write("f.jpg", EncodeJpeg(LetterF()));
        small = folder.Write("small.jpg", EncodeJpeg(Gradient(5, 3)));
        missing = folder.Path("missing.jpg");
    }

    ScratchFolder folder;
    std::string letterF, small, missing;
};

TEST_F(Images, OpenMakesTheHeaderAndReopeningFollowsTheNewFile)
{
    image img(letterF, IMAGE_JPEG);
    EXPECT_EQ(img.iType, IMAGE_JPEG);
    ExpectHeader(img);
    EXPECT_EQ(img.bmapInfo->biWidth, 48);
    EXPECT_EQ(img.bmapInfo->biHeight, -64);

    img.Open(small.c_str(), IMAGE_JPEG);
    EXPECT_EQ(img.usWidth, 5);
    EXPECT_EQ(img.usHeight, 3);
    ExpectHeader(img);

    img.Open(letterF, IMAGE_JPEG);
    EXPECT_TRUE(SamePixels(img, image(letterF.c_str(), IMAGE_JPEG)));
    ExpectHeader(img);
}

TEST_F(Images, CopiesOwnTheirPixels)
{
    auto source = std::make_unique<image>(letterF, IMAGE_JPEG);
    const image reference(letterF, IMAGE_JPEG);

    image copy(*source);
    image assigned(small, IMAGE_JPEG);
    assigned = *source;
    for (const image *target : {&copy, &assigned}) {
        EXPECT_NE(target->ucpPixels, source->ucpPixels);
        EXPECT_NE(target->bmapInfo, source->bmapInfo);
        ExpectHeader(*target);
    }

    source->Open(small, IMAGE_JPEG);
    EXPECT_TRUE(SamePixels(copy, reference));
    source.reset();
    EXPECT_TRUE(SamePixels(copy, reference));
    EXPECT_TRUE(SamePixels(assigned, reference));

    image &alias = assigned;
    assigned = alias;
    EXPECT_TRUE(SamePixels(assigned, reference));

    assigned = image();
    EXPECT_TRUE(IsEmpty(assigned));
    image emptyCopy{image()};
    EXPECT_TRUE(IsEmpty(emptyCopy));
}

TEST_F(Images, MissingOrNullNamesThrowAndLeaveTheImageEmpty)
{
    EXPECT_THROW(image(static_cast<const char *>(nullptr), IMAGE_JPEG), error);
    EXPECT_THROW(image(missing, IMAGE_JPEG), error);
    EXPECT_THROW(image(folder.Path(""), IMAGE_JPEG), error); // a folder is no file
    try {
        image img(missing.c_str(), IMAGE_JPEG);
        FAIL() << "no exception";
    } catch (error e) {
        EXPECT_EQ(e, ERROR_FILE_NOT_FOUND);
    }

    image img(letterF, IMAGE_JPEG);
    try {
        img.Open(nullptr, IMAGE_CAPTURED);
        FAIL() << "no exception";
    } catch (error e) {
        EXPECT_EQ(e, ERROR_FILE_NOT_FOUND);
    }
    // A null name changes nothing at all.
    EXPECT_EQ(img.usWidth, 48);
    EXPECT_EQ(img.iType, IMAGE_JPEG);

    img.iType = IMAGE_CAPTURED;
    EXPECT_THROW(img.Open(missing, IMAGE_JPEG), error);
    EXPECT_TRUE(IsEmpty(img));
    EXPECT_EQ(img.iType, IMAGE_JPEG);
    image copy(img);
    EXPECT_TRUE(IsEmpty(copy));
}

TEST_F(Images, UnsupportedTypesSayItAndReadNothing)
{
    image img(letterF, IMAGE_JPEG);
    for (imagetype type : {IMAGE_CAPTURED, static_cast<imagetype>(7), static_cast<imagetype>(-1)}) {
        testing::internal::CaptureStdout();
        // The file does not exist: had it been opened, Open would throw.
        EXPECT_NO_THROW(img.Open(missing, type));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "Fatal Error: Unsupported image type!\n");
        EXPECT_TRUE(IsEmpty(img));
        EXPECT_EQ(img.iType, type);
    }
}

TEST_F(Images, FailedAllocationsThrowAndLeakNothing)
{
    // In order, Open allocates the header, the decoder's sample buffer and the pixels.
    for (int nth = 1; nth <= 3; ++nth) {
        SCOPED_TRACE("allocation " + std::to_string(nth));
        image img(small, IMAGE_JPEG);
        const int files = OpenFiles();
        allocations::Start(nth);
        try {
            img.Open(letterF, IMAGE_JPEG);
            ADD_FAILURE() << "no exception";
        } catch (error e) {
            EXPECT_EQ(e, ERROR_OUT_OF_MEMORY);
        }
        EXPECT_EQ(allocations::Stop().size(), std::size_t(nth));
        EXPECT_TRUE(IsEmpty(img));
        EXPECT_EQ(OpenFiles(), files) << "the picture file was left open";
        img.Open(letterF, IMAGE_JPEG);
        EXPECT_EQ(img.usWidth, 48);
    }

    // A copy that cannot be made leaves the target as it was.
    const image source(letterF, IMAGE_JPEG);
    for (int nth = 1; nth <= 2; ++nth) {
        image target(small, IMAGE_JPEG);
        const unsigned char *pixels = target.ucpPixels;
        allocations::Start(nth);
        EXPECT_THROW(target = source, error);
        allocations::Start(nth);
        EXPECT_THROW(image{source}, error);
        allocations::Stop();
        EXPECT_EQ(target.usWidth, 5);
        EXPECT_EQ(target.ucpPixels, pixels);
    }
}

TEST_F(Images, PicturesOfTwoGibibytesOrMoreThrowOutOfMemoryWithoutAsking)
{
    // Real headers claiming a size; the data never gets read.
    const auto claiming = [&](unsigned size) {
        Bytes file = EncodeJpeg(Gradient(16, 16));
        std::size_t sof = 2;
        while (!(file[sof] == 0xFF && file[sof + 1] == 0xC0))
            sof += 2 + (file[sof + 2] << 8 | file[sof + 3]);
        for (std::size_t at : {sof + 5, sof + 7}) { // height, then width, big-endian
            file[at] = static_cast<unsigned char>(size >> 8);
            file[at + 1] = static_cast<unsigned char>(size & 0xFF);
        }
        return folder.Write("claims" + std::to_string(size) + ".jpg", file);
    };

    image img(small, IMAGE_JPEG);
    // The largest size the decoder takes: 12 GB of samples are never even asked for.
    allocations::Start(0, std::size_t{1} << 20);
    EXPECT_THROW(img.Open(claiming(65500), IMAGE_JPEG), error);
    EXPECT_EQ(allocations::Stop().size(), 1u); // the header only
    EXPECT_TRUE(IsEmpty(img));

    // Under the bound the samples are asked for in full (and refused here).
    allocations::Start(0, std::size_t{1} << 20);
    EXPECT_THROW(img.Open(claiming(16384), IMAGE_JPEG), error);
    const std::vector<std::size_t> asked = allocations::Stop();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], std::size_t{16384} * 16384 * 3);
    EXPECT_TRUE(IsEmpty(img));
}

} // namespace
