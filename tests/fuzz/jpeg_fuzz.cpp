// jpeg_fuzz.cpp - fuzz target: any bytes, as a file, through image's constructor and Open.
// A picture that decodes must be laid out as promised and copy and re-decode the same. A
// file the decoder refuses ends the process with status 1 after its message, which is
// the promised outcome; a picture beyond the memory budget raises ERROR_OUT_OF_MEMORY.
// Everything else (a signal, a sanitizer report, a hang, another status) is a finding.
#include "forked.h"

#include "graphics.h"

#include <cstdio>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The checks below read the whole picture, copy it and decode it again; for the largest
// pictures within the memory budget that would cost more than the decode itself, so they
// look at every pixel, and are copied and decoded again, only up to these sizes.
constexpr size_t kEveryPixel = size_t{1} << 22;
constexpr size_t kCopyPixels = size_t{1} << 22;
constexpr size_t kRedecodePixels = size_t{1} << 20;

void CheckPicture(const image &picture)
{
    FUZZ_CHECK(picture.iType == IMAGE_JPEG);
    // The decoder has no pictures of no pixels: success means a whole picture.
    FUZZ_CHECK(picture.usWidth > 0 && picture.usHeight > 0);
    FUZZ_CHECK(picture.ucpPixels != nullptr && picture.bmapInfo != nullptr);
    const BITMAPINFOHEADER &header = *picture.bmapInfo;
    FUZZ_CHECK(header.biSize == 40 && header.biPlanes == 1 && header.biBitCount == 32);
    FUZZ_CHECK(header.biCompression == BI_RGB && header.biSizeImage == 0);
    FUZZ_CHECK(header.biWidth == picture.usWidth && header.biHeight == -static_cast<LONG>(picture.usHeight));
    // Every fourth byte is 0; reading them (and always the last) also checks, under the
    // address sanitizer, that the buffer holds every pixel the size promises.
    const size_t count = size_t{picture.usWidth} * picture.usHeight;
    const size_t step = count <= kEveryPixel ? 1 : 4093;
    for (size_t k = 0; k < count; k += step)
        FUZZ_CHECK(picture.ucpPixels[k * 4 + 3] == 0);
    FUZZ_CHECK(picture.ucpPixels[count * 4 - 1] == 0);
}

void Decode(const uint8_t *data, size_t size)
{
    // The bytes become a file in memory, which the library opens by name like any other.
    const int fd = memfd_create("input.jpg", 0);
    FUZZ_CHECK(fd >= 0);
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, data + done, size - done);
        FUZZ_CHECK(n > 0);
        done += static_cast<size_t>(n);
    }
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);

    image picture(path, IMAGE_JPEG);
    CheckPicture(picture);
    if (size_t{picture.usWidth} * picture.usHeight > kCopyPixels) {
        close(fd);
        return;
    }

    const image copy(picture);
    const size_t bytes = size_t{picture.usWidth} * picture.usHeight * 4;
    FUZZ_CHECK(copy.ucpPixels != picture.ucpPixels);
    FUZZ_CHECK(copy.usWidth == picture.usWidth && copy.usHeight == picture.usHeight);
    FUZZ_CHECK(std::memcmp(copy.ucpPixels, picture.ucpPixels, bytes) == 0);

    // The same bytes decode to the same pixels: a read of memory nothing wrote would
    // differ between the two.
    if (size_t{picture.usWidth} * picture.usHeight <= kRedecodePixels) {
        picture.Open(std::string(path), IMAGE_JPEG);
        CheckPicture(picture);
        FUZZ_CHECK(std::memcmp(copy.ucpPixels, picture.ucpPixels, bytes) == 0);
    }
    close(fd);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qgfuzz::StartForkServer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const qgfuzz::Verdict verdict = qgfuzz::RunForked(Decode, data, size);
    if (verdict.ending == qgfuzz::Ending::Exited && verdict.value != 1)
        qgfuzz::Fail("the process ended with a status other than the decoder's 1");
    if (verdict.ending == qgfuzz::Ending::Threw && verdict.value != ERROR_OUT_OF_MEMORY)
        qgfuzz::Fail("an existing file raised an error other than ERROR_OUT_OF_MEMORY");
    return 0;
}
