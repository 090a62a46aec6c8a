#include "imgtool.h"

#include <cstdio>

int imgtool::convert(const QStringList &)
{
    std::fputs("imgtool convert: not built yet\n", stderr);
    return Usage;
}
