#include "messagelog.h"

namespace pelorin::test {

QStringList MessageLog::texts() const
{
    QStringList result;
    for (const ShownMessage &m : shown)
        result << m.text;
    return result;
}

Answer MessageLog::record(MessageKind kind, const QString &text, Buttons buttons)
{
    shown.append({kind, text, buttons});
    if (!mAnswers.isEmpty())
        return mAnswers.takeFirst();
    return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

ScriptedMessages::ScriptedMessages()
{
    setUser(this);
}

ScriptedMessages::~ScriptedMessages()
{
    setUser(nullptr);
}

QString corpusDir()
{
    return QStringLiteral(PELORIN_CORPUS_DIR);
}

} // namespace pelorin::test
