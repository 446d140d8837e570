// image.cpp - PNG input and output through libpng's simplified API, and the exact
// comparison and difference picture of the conformance test.
#include "image.h"

#include <png.h>

#include <cstring>

namespace scene {

bool ReadPng(const std::string &path, Pixels &out, std::string &error)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) {
        error = path + ": " + img.message;
        return false;
    }
    img.format = PNG_FORMAT_RGB;
    std::vector<png_byte> buf(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) {
        error = path + ": " + img.message;
        png_image_free(&img);
        return false;
    }
    out.width = static_cast<int>(img.width);
    out.height = static_cast<int>(img.height);
    out.data.resize(static_cast<size_t>(out.width) * out.height);
    for (size_t i = 0; i < out.data.size(); ++i)
        out.data[i] = (uint32_t{buf[i * 3]} << 16) | (uint32_t{buf[i * 3 + 1]} << 8) | buf[i * 3 + 2];
    return true;
}

bool WritePng(const std::string &path, const Pixels &image, std::string &error)
{
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = static_cast<png_uint_32>(image.width);
    img.height = static_cast<png_uint_32>(image.height);
    img.format = PNG_FORMAT_RGB;
    std::vector<png_byte> buf(image.data.size() * 3);
    for (size_t i = 0; i < image.data.size(); ++i) {
        buf[i * 3] = static_cast<png_byte>(image.data[i] >> 16);
        buf[i * 3 + 1] = static_cast<png_byte>(image.data[i] >> 8);
        buf[i * 3 + 2] = static_cast<png_byte>(image.data[i]);
    }
    if (!png_image_write_to_file(&img, path.c_str(), 0, buf.data(), 0, nullptr)) {
        error = path + ": " + img.message;
        return false;
    }
    return true;
}

Difference Compare(const Pixels &actual, const Pixels &expected)
{
    Difference d;
    if (actual.width != expected.width || actual.height != expected.height ||
        actual.data.size() != expected.data.size()) {
        d.sizesDiffer = true;
        d.count = static_cast<long>(expected.data.size() > actual.data.size() ? expected.data.size() : actual.data.size());
        d.firstX = d.firstY = 0;
        return d;
    }
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if ((actual.At(x, y) & 0xFFFFFF) != (expected.At(x, y) & 0xFFFFFF)) {
                if (d.count++ == 0) {
                    d.firstX = x;
                    d.firstY = y;
                }
            }
    return d;
}

Pixels DiffImage(const Pixels &actual, const Pixels &expected)
{
    Pixels out;
    out.width = expected.width;
    out.height = expected.height;
    out.data.assign(expected.data.size(), 0);
    auto sum = [](uint32_t p) { return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF); };
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            uint32_t e = expected.At(x, y) & 0xFFFFFF;
            bool inActual = x < actual.width && y < actual.height;
            uint32_t a = inActual ? actual.At(x, y) & 0xFFFFFF : ~e & 0xFFFFFF;
            uint32_t &o = out.data[static_cast<size_t>(y) * out.width + x];
            if (a == e) {
                uint32_t grey = 40 + sum(e) / 12; // 40..103: visible but quiet
                o = (grey << 16) | (grey << 8) | grey;
            } else {
                o = sum(a) < sum(e) ? 0xFF0000 : 0x00FF00;
            }
        }
    return out;
}

} // namespace scene
