// jpeg_writer.cpp - the compressor behind the fuzz seeds: libjpeg with the recipe's
// colour layout, sampling, coding and markers.
#include "jpeg_writer.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace qgfuzz {

namespace {

bool InLetter(int x, int y, int width, int height)
{
    // An F on a 6 x 8 grid of cells scaled to the picture.
    const int cx = width > 0 ? x * 6 / width : 0;
    const int cy = height > 0 ? y * 8 / height : 0;
    return (cx == 1 && cy >= 1 && cy <= 6) || (cy == 1 && cx >= 1 && cx <= 4) || (cy == 3 && cx >= 1 && cx <= 3);
}

int InputComponents(Layout layout)
{
    switch (layout) {
    case Layout::Gray:
        return 1;
    case Layout::Cmyk:
    case Layout::Ycck:
        return 4;
    default:
        return 3;
    }
}

Bytes Samples(const JpegRecipe &r)
{
    const int n = InputComponents(r.layout);
    Bytes samples;
    samples.reserve(static_cast<size_t>(r.width) * r.height * n);
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const bool letter = InLetter(x, y, r.width, r.height);
            switch (n) {
            case 1:
                samples.push_back(letter ? 230 : static_cast<uint8_t>(x * 3 + y));
                break;
            case 3:
                samples.push_back(letter ? 255 : 0);
                samples.push_back(static_cast<uint8_t>((x + y) * 4));
                samples.push_back(letter ? 0 : 255);
                break;
            default: // inks: red is magenta and yellow, blue is cyan and magenta
                samples.push_back(letter ? 0 : 255);
                samples.push_back(255);
                samples.push_back(letter ? 255 : 0);
                samples.push_back(static_cast<uint8_t>(y * 2));
                break;
            }
        }
    return samples;
}

} // namespace

Bytes EncodeJpeg(const JpegRecipe &r)
{
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &out, &size);

    encoder.image_width = static_cast<JDIMENSION>(r.width);
    encoder.image_height = static_cast<JDIMENSION>(r.height);
    encoder.input_components = InputComponents(r.layout);
    encoder.in_color_space = r.layout == Layout::Gray ? JCS_GRAYSCALE
                             : encoder.input_components == 4 ? JCS_CMYK
                                                             : JCS_RGB;
    jpeg_set_defaults(&encoder);
    switch (r.layout) {
    case Layout::Rgb:
        jpeg_set_colorspace(&encoder, JCS_RGB);
        break;
    case Layout::Cmyk:
        jpeg_set_colorspace(&encoder, JCS_CMYK);
        break;
    case Layout::Ycck:
        jpeg_set_colorspace(&encoder, JCS_YCCK);
        break;
    default:
        break;
    }
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
    jpeg_scan_info scans[4];
    if (r.progressive) {
        jpeg_simple_progression(&encoder);
    } else if (r.componentScans && encoder.num_components > 1) {
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
    Bytes samples = Samples(r);
    const size_t rowSize = static_cast<size_t>(r.width) * encoder.input_components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = samples.data() + encoder.next_scanline * rowSize;
        jpeg_write_scanlines(&encoder, &row, 1);
    }
    jpeg_finish_compress(&encoder);
    Bytes file(out, out + size);
    jpeg_destroy_compress(&encoder);
    std::free(out);
    return file;
}

} // namespace qgfuzz
