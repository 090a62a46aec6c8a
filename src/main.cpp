// Pelorin: browse, view and manage image files.

#include "shell/mainform.h"
#include "shell/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorin"));
    QApplication::setOrganizationName(QStringLiteral("Korvel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pelorin"));

    pelorin::createLongLivedWindows();
    pelorin::MainForm->show();
    const int code = QApplication::exec();
    pelorin::destroyLongLivedWindows();
    return code;
}
