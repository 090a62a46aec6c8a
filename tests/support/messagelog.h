#pragma once
// Records the message boxes a test caused and answers them from a queue (the default
// button when the queue is empty). Used by both scripted stand-ins.

#include "platform/user.h"

#include <QList>
#include <QStringList>

namespace pelorin::test {

struct ShownMessage
{
    MessageKind kind;
    QString text;
    Buttons buttons;
};

class MessageLog
{
public:
    QList<ShownMessage> shown; // every message box shown, in order
    QStringList texts() const;
    void answerNext(Answer answer) { mAnswers.append(answer); }
    Answer record(MessageKind kind, const QString &text, Buttons buttons);

private:
    QList<Answer> mAnswers;
};

// The scripted user for core tests: message boxes only. Constructing one installs it.
class ScriptedMessages final : public User, public MessageLog
{
public:
    ScriptedMessages();
    ~ScriptedMessages() override;
    Answer message(MessageKind kind, const QString &text, Buttons buttons, const QString &) override
    {
        return record(kind, text, buttons);
    }
};

// Where the shared test images live (../shared/corpus beside the checkout).
QString corpusDir();

} // namespace pelorin::test
