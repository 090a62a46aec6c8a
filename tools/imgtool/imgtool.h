#pragma once
// The commands of imgtool. Each returns the exit code: 0 success, 1 refused input,
// 2 usage error. Messages the user would have seen are printed one per line.

#include <QStringList>

namespace imgtool {

enum Exit { Success = 0, Refused = 1, Usage = 2 };

int info(const QStringList &args);
int convert(const QStringList &args);
int render(const QStringList &args);

} // namespace imgtool
