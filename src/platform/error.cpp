#include "platform/error.h"

#include "platform/user.h"

#include <cstring>
#include <new>

namespace pelorin {

InOutError::InOutError(int errorNumber, const QString &path)
    : Error(QStringLiteral("I/O error %1: %2 (%3)")
                .arg(errorNumber)
                .arg(QString::fromLocal8Bit(std::strerror(errorNumber)), path))
    , mErrno(errorNumber)
{
}

void reportEscapedException() noexcept
{
    try {
        try {
            throw;
        } catch (const Error &e) {
            showError(e.text());
        } catch (const std::bad_alloc &) {
            showError(QStringLiteral("Out of memory"));
        } catch (const std::exception &e) {
            showError(QString::fromUtf8(e.what()));
        } catch (...) {
            showError(QStringLiteral("An unexpected error occurred"));
        }
    } catch (...) {
        // Reporting itself failed (no memory for the box); nothing more can be done.
    }
}

} // namespace pelorin
