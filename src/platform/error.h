#pragma once
// Errors raised inside the program. A command that does not catch one ends, and the
// handler guard shows the error's text in an error box; the program goes on.

#include <QString>

#include <exception>
#include <utility>

namespace pelorin {

class Error : public std::exception
{
public:
    explicit Error(QString text) : mText(std::move(text)), mUtf8(mText.toUtf8()) {}
    const QString &text() const noexcept { return mText; }
    const char *what() const noexcept override { return mUtf8.constData(); }

private:
    QString mText;
    QByteArray mUtf8;
};

// The run-time library's input/output error (a directory that cannot be entered...).
class InOutError : public Error
{
public:
    InOutError(int errorNumber, const QString &path);
    int errorNumber() const noexcept { return mErrno; }

private:
    int mErrno;
};

// Shows the text of whatever escaped a handler in an error box, as the application's
// default error box does. Unknown exceptions get a generic text.
void reportEscapedException() noexcept;

// Wraps a handler so that an escaping exception is reported and the program goes on.
template<class F>
auto guarded(F handler)
{
    return [handler = std::move(handler)](auto &&...args) {
        try {
            handler(std::forward<decltype(args)>(args)...);
        } catch (...) {
            reportEscapedException();
        }
    };
}

} // namespace pelorin
