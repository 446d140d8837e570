// jpeg.cpp - libjpeg's compressor with the recipe's layout, sampling, coding and markers.
#include "jpeg.h"

#include <cstdlib>

namespace {

int Components(const JpegRecipe &r)
{
    switch (r.layout) {
    case Layout::Gray:
        return 1;
    case Layout::Cmyk:
    case Layout::Ycck:
        return 4;
    case Layout::Other:
        return r.components;
    default:
        return 3;
    }
}

bool InLetter(int x, int y, int width, int height)
{
    return InLetterF(width > 0 ? x * 6 / width : 0, height > 0 ? y * 8 / height : 0);
}

Bytes LetterSamples(const JpegRecipe &r, int n)
{
    Bytes samples;
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const bool letter = InLetter(x, y, r.width, r.height);
            if (n == 1) {
                samples.push_back(letter ? 230 : static_cast<uint8_t>(x * 3 + y));
            } else if (n == 3) {
                samples.push_back(letter ? 255 : 0);
                samples.push_back(static_cast<uint8_t>((x + y) * 4));
                samples.push_back(letter ? 0 : 255);
            } else { // inks: red is magenta and yellow, blue is cyan and magenta
                const uint8_t inks[4] = {uint8_t(letter ? 0 : 255), 255, uint8_t(letter ? 255 : 0),
                                         uint8_t(y * 2)};
                samples.insert(samples.end(), inks, inks + (n < 4 ? n : 4));
                samples.insert(samples.end(), n > 4 ? n - 4 : 0, 0);
            }
        }
    return samples;
}

} // namespace

bool InLetterF(int bx, int by)
{
    return (bx == 1 && by >= 1 && by <= 6) || (by == 1 && bx >= 1 && bx <= 4) || (by == 3 && bx >= 1 && bx <= 3);
}

Bytes EncodeJpeg(const JpegRecipe &r)
{
    static const J_COLOR_SPACE input[] = {JCS_RGB, JCS_RGB, JCS_GRAYSCALE, JCS_CMYK, JCS_CMYK, JCS_UNKNOWN};
    static const J_COLOR_SPACE stored[] = {JCS_RGB, JCS_YCbCr, JCS_GRAYSCALE, JCS_CMYK, JCS_YCCK, JCS_UNKNOWN};
    const int layout = static_cast<int>(r.layout);
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &out, &size);

    encoder.image_width = static_cast<JDIMENSION>(r.width);
    encoder.image_height = static_cast<JDIMENSION>(r.height);
    encoder.input_components = Components(r);
    encoder.in_color_space = input[layout];
    jpeg_set_defaults(&encoder);
    jpeg_set_colorspace(&encoder, stored[layout]);
    jpeg_set_quality(&encoder, r.quality, TRUE);
    encoder.comp_info[0].h_samp_factor = r.hSampling;
    encoder.comp_info[0].v_samp_factor = r.vSampling;
    encoder.arith_code = r.arithmetic ? TRUE : FALSE;
    encoder.optimize_coding = r.optimize ? TRUE : FALSE;
    encoder.write_JFIF_header = r.jfif ? TRUE : FALSE;
    if (!r.adobe)
        encoder.write_Adobe_marker = FALSE;
    encoder.restart_in_rows = r.restartRows;

    // One sequential scan a component, when asked; the array outlives the compression.
    jpeg_scan_info scans[MAX_COMPS_IN_SCAN];
    if (r.progressive) {
        jpeg_simple_progression(&encoder);
    } else if (r.componentScans && encoder.num_components > 1 && encoder.num_components <= MAX_COMPS_IN_SCAN) {
        for (int c = 0; c < encoder.num_components; ++c)
            scans[c] = jpeg_scan_info{1, {c, 0, 0, 0}, 0, 63, 0, 0};
        encoder.scan_info = scans;
        encoder.num_scans = encoder.num_components;
    }

    jpeg_start_compress(&encoder, TRUE);
    if (!r.comment.empty())
        jpeg_write_marker(&encoder, JPEG_COM, reinterpret_cast<const JOCTET *>(r.comment.data()),
                          static_cast<unsigned>(r.comment.size()));
    if (!r.app1.empty())
        jpeg_write_marker(&encoder, JPEG_APP0 + 1, r.app1.data(), static_cast<unsigned>(r.app1.size()));
    const Bytes samples = r.samples.empty() ? LetterSamples(r, encoder.input_components) : r.samples;
    const size_t rowSize = static_cast<size_t>(r.width) * encoder.input_components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + encoder.next_scanline * rowSize);
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    Bytes file(out, out + size);
    jpeg_destroy_compress(&encoder);
    std::free(out);
    return file;
}

Bytes DecodeReference(const Bytes &file, J_COLOR_SPACE outputSpace, int *components)
{
    jpeg_decompress_struct decoder;
    jpeg_error_mgr errors;
    decoder.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&decoder);
    jpeg_mem_src(&decoder, file.data(), file.size());
    jpeg_read_header(&decoder, TRUE);
    decoder.out_color_space = outputSpace;
    jpeg_start_decompress(&decoder);
    const size_t rowSize = size_t(decoder.output_width) * decoder.output_components;
    Bytes samples(rowSize * decoder.output_height);
    while (decoder.output_scanline < decoder.output_height) {
        JSAMPROW row = samples.data() + decoder.output_scanline * rowSize;
        jpeg_read_scanlines(&decoder, &row, 1);
    }
    *components = decoder.output_components;
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return samples;
}

JpegRecipe FlatBlocks(Layout layout, const std::vector<Bytes> &colours)
{
    JpegRecipe r;
    r.width = 8 * static_cast<int>(colours.size());
    r.layout = layout;
    r.components = colours.empty() ? 1 : static_cast<int>(colours[0].size());
    r.quality = 100;
    r.hSampling = r.vSampling = 1;
    r.jfif = r.layout == Layout::Gray || r.layout == Layout::YCbCr; // as libjpeg marks them
    for (int y = 0; y < 8; ++y)
        for (const Bytes &colour : colours)
            for (int x = 0; x < 8; ++x)
                r.samples.insert(r.samples.end(), colour.begin(), colour.end());
    return r;
}

JpegRecipe LetterF()
{
    JpegRecipe r = FlatBlocks(Layout::Rgb, {});
    r.width = 48;
    r.height = 64;
    r.components = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x) {
            const bool red = InLetterF(x / 8, y / 8);
            r.samples.insert(r.samples.end(), {uint8_t(red ? 255 : 0), 0, uint8_t(red ? 0 : 255)});
        }
    return r;
}

JpegRecipe Gradient(int width, int height)
{
    JpegRecipe r;
    r.width = width;
    r.height = height;
    r.quality = 85;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            r.samples.insert(r.samples.end(), {uint8_t(x * 255 / (width > 1 ? width - 1 : 1)),
                                               uint8_t(y * 255 / (height > 1 ? height - 1 : 1)),
                                               uint8_t((x * 7 + y * 13) & 0xFF)});
    return r;
}
