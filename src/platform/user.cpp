#include "platform/user.h"

#include <cstdio>

namespace pelorin {

namespace {

class FallbackUser final : public User
{
public:
    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &) override
    {
        const char *tag = kind == MessageKind::Error ? "error" : kind == MessageKind::Information ? "information" : "question";
        std::fprintf(stderr, "%s: %s\n", tag, qPrintable(text));
        switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
        case Buttons::NoOk:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::Yes;
        }
        return Answer::Ok;
    }
};

FallbackUser fallback;
User *current = nullptr;

} // namespace

User &user()
{
    return current ? *current : fallback;
}

void setUser(User *service)
{
    current = service;
}

void showError(const QString &text, const QString &title)
{
    user().message(MessageKind::Error, text, Buttons::Ok, title);
}

void showInformation(const QString &text, const QString &title)
{
    user().message(MessageKind::Information, text, Buttons::Ok, title);
}

Answer askConfirmation(const QString &text, Buttons buttons, const QString &title)
{
    return user().message(MessageKind::Confirmation, text, buttons, title);
}

} // namespace pelorin
