// jpeg_files.cpp - the compressor and reference decoder behind the image tests.
#include "jpeg_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

Bytes EncodeJpeg(const JpegRecipe &recipe)
{
    jpeg_compress_struct encoder;
    jpeg_error_mgr errors;
    encoder.err = jpeg_std_error(&errors);
    jpeg_create_compress(&encoder);
    unsigned char *out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&encoder, &out, &size);

    encoder.image_width = static_cast<JDIMENSION>(recipe.width);
    encoder.image_height = static_cast<JDIMENSION>(recipe.height);
    encoder.input_components = recipe.components;
    encoder.in_color_space = recipe.inputSpace;
    jpeg_set_defaults(&encoder);
    jpeg_set_colorspace(&encoder, recipe.fileSpace);
    jpeg_set_quality(&encoder, recipe.quality, TRUE);
    if (recipe.progressive)
        jpeg_simple_progression(&encoder);
    encoder.arith_code = recipe.arithmetic ? TRUE : FALSE;
    if (!recipe.adobeMarker)
        encoder.write_Adobe_marker = FALSE;

    jpeg_start_compress(&encoder, TRUE);
    const std::size_t rowSize = std::size_t(recipe.width) * recipe.components;
    while (encoder.next_scanline < encoder.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(recipe.samples.data() + encoder.next_scanline * rowSize);
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
    const std::size_t rowSize = std::size_t(decoder.output_width) * decoder.output_components;
    Bytes samples(rowSize * decoder.output_height);
    std::vector<JSAMPROW> rows(decoder.output_height);
    for (std::size_t y = 0; y < rows.size(); ++y)
        rows[y] = samples.data() + y * rowSize;
    while (decoder.output_scanline < decoder.output_height)
        jpeg_read_scanlines(&decoder, rows.data() + decoder.output_scanline,
                            decoder.output_height - decoder.output_scanline);
    *components = decoder.output_components;
    jpeg_finish_decompress(&decoder);
    jpeg_destroy_decompress(&decoder);
    return samples;
}

bool InLetterF(int bx, int by)
{
    const bool stem = bx == 1 && by >= 1 && by <= 6;
    const bool top = by == 1 && bx >= 1 && bx <= 4;
    const bool middle = by == 3 && bx >= 1 && bx <= 3;
    return stem || top || middle;
}

JpegRecipe LetterF()
{
    JpegRecipe recipe;
    recipe.width = 48;
    recipe.height = 64;
    recipe.samples.resize(48 * 64 * 3);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 48; ++x) {
            unsigned char *s = &recipe.samples[(y * 48 + x) * 3];
            const bool red = InLetterF(x / 8, y / 8);
            s[0] = red ? 255 : 0;
            s[1] = 0;
            s[2] = red ? 0 : 255;
        }
    return recipe;
}

JpegRecipe FlatBlocks(J_COLOR_SPACE space, int components, const std::vector<Bytes> &colours)
{
    JpegRecipe recipe;
    recipe.width = 8 * static_cast<int>(colours.size());
    recipe.height = 8;
    recipe.inputSpace = space;
    recipe.fileSpace = space;
    recipe.components = components;
    for (int y = 0; y < 8; ++y)
        for (const Bytes &colour : colours)
            for (int x = 0; x < 8; ++x)
                recipe.samples.insert(recipe.samples.end(), colour.begin(), colour.end());
    return recipe;
}

JpegRecipe Gradient(int width, int height)
{
    JpegRecipe recipe;
    recipe.width = width;
    recipe.height = height;
    recipe.fileSpace = JCS_YCbCr;
    recipe.quality = 85;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            recipe.samples.push_back(static_cast<unsigned char>(x * 255 / (width > 1 ? width - 1 : 1)));
            recipe.samples.push_back(static_cast<unsigned char>(y * 255 / (height > 1 ? height - 1 : 1)));
            recipe.samples.push_back(static_cast<unsigned char>((x * 7 + y * 13) & 0xFF));
        }
    return recipe;
}

ScratchFolder::ScratchFolder()
{
    std::string pattern = testing::TempDir() + "qg-images-XXXXXX";
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a scratch folder from " << pattern;
    path_ = pattern;
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string &name, const Bytes &bytes) const
{
    const std::string path = Path(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}
