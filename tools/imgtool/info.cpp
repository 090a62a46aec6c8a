#include "imgtool.h"

#include <cstdio>

int imgtool::info(const QStringList &)
{
    std::fputs("imgtool info: not built yet\n", stderr);
    return Usage;
}
