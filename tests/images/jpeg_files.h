// Moved: the JPEG writer and scratch folders live in tests/support.
#include "files.h"
#include "jpeg.h"
