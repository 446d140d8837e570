// report.cpp - error lines go to the standard output stream, each flushed at once so
// that they interleave correctly with everything else the program prints.
#include "report.h"

#include <iostream>

void ReportError(const char *message)
{
    std::cout << message << std::endl;
}
