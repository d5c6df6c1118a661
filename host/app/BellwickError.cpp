#include "BellwickError.h"

#include <cstdio>

void printBellwickError(const QString& text)
{
    std::fprintf(stderr, "bellwick: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}
