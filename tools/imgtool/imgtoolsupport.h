#pragma once
// What imgtool's commands share: the messages the user would have seen, printed one per
// line, and the option parsing.

#include "platform/user.h"

#include <QImage>
#include <QStringList>

#include <optional>

namespace imgtool {

// Prints every message box's text to stdout, one per line, and counts them.
class PrintedMessages final : public pelorin::User
{
public:
    PrintedMessages();
    ~PrintedMessages() override;
    pelorin::Answer message(pelorin::MessageKind kind, const QString &text, pelorin::Buttons buttons,
                            const QString &title) override;
    int count() const { return mCount; }

private:
    int mCount = 0;
};

// Takes "--name VALUE" out of args; nullopt when absent, an empty string when the
// value is missing.
std::optional<QString> takeOption(QStringList &args, const QString &name);
// Takes a flag out of args.
bool takeFlag(QStringList &args, const QString &name);
// Applies --display-depth N; false when N is no number from 1 to 64.
bool applyDisplayDepth(QStringList &args);

// Bits per pixel of a picture as the program holds it: 1, 4 or 8 for a palette by its
// size, 24 for true colour, 32 with an alpha channel.
int pictureDepth(const QImage &image);

void printLine(const QString &text);

} // namespace imgtool
