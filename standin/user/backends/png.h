// png.h - a surface written as a PNG picture (8-bit RGB), for the runner's screenshots.
#ifndef STANDIN_USER_BACKENDS_PNG_H
#define STANDIN_USER_BACKENDS_PNG_H

#include "gdi/surface.h"

#include <string>

namespace standin::user {

// False, with `error` saying why, when the file cannot be written.
bool WritePng(const std::string &path, const gdi::Surface &surface, std::string &error);

} // namespace standin::user

#endif // STANDIN_USER_BACKENDS_PNG_H
