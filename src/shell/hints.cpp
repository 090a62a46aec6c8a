#include "shell/hints.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QProxyStyle>
#include <QStatusTipEvent>

namespace pelorin {

namespace {

class HintRouter : public QObject
{
public:
    QPointer<QObject> owner;
    std::function<void(const QString &)> handler;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::StatusTip && owner && handler) {
            // The same tip travels up the parent chain; pass it on once per widget it reaches.
            handler(static_cast<QStatusTipEvent *>(event)->tip());
        }
        return QObject::eventFilter(watched, event);
    }
};

HintRouter *router()
{
    static QPointer<HintRouter> instance;
    if (!instance) {
        instance = new HintRouter;
        instance->setParent(qApp);
        qApp->installEventFilter(instance);
    }
    return instance;
}

class HintPauseStyle : public QProxyStyle
{
public:
    HintPauseStyle(QStyle *base, int pause) : QProxyStyle(base), mPause(pause) {}
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget, QStyleHintReturn *ret) const override
    {
        if (hint == SH_ToolTip_WakeUpDelay)
            return mPause;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
    int mPause;
};

} // namespace

void routeHints(QObject *owner, std::function<void(const QString &)> handler)
{
    HintRouter *r = router();
    r->owner = owner;
    r->handler = std::move(handler);
}

void setHintPause(int milliseconds)
{
    if (auto *current = dynamic_cast<HintPauseStyle *>(QApplication::style())) {
        current->mPause = milliseconds;
        return;
    }
    QApplication::setStyle(new HintPauseStyle(nullptr, milliseconds));
}

} // namespace pelorin
