#include "imgtool.h"

#include <cstdio>

int imgtool::render(const QStringList &)
{
    std::fputs("imgtool render: not built yet\n", stderr);
    return Usage;
}
