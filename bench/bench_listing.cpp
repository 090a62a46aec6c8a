// Times the main window's listing of a directory of 10,000 matching files without
// thumbnails (No Thumbs on), through the real UpdateListbox with the window shown and
// repainting. Prints the median of several runs, for the unsorted and the sorted list.
//
//   bench_listing [runs]        (default 7; run under xvfb-run or with QT_QPA_PLATFORM)

#include "browse/imagelistview.h"
#include "shell/appstate.h"
#include "shell/mainform.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace pelorin;

namespace {

constexpr int kFiles = 10000;

double medianMs(TMainForm &form, int runs)
{
    QList<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        form.UpdateListbox();
        times.append(timer.nsecsElapsed() / 1e6);
        if (form.ListView1->count() != kFiles) {
            std::fprintf(stderr, "listed %d files instead of %d\n", form.ListView1->count(), kFiles);
            std::exit(1);
        }
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // never the user's own settings
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    QTemporaryDir dir;
    for (int i = 0; i < kFiles; ++i) {
        QFile file(dir.path() + QStringLiteral("/image%1.bmp").arg(i, 5, 10, QLatin1Char('0')));
        if (!file.open(QIODevice::WriteOnly))
            return 1;
    }

    TMainForm form;
    form.NoThumbs1->setChecked(true);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    appState().CurrentDir = dir.path() + QLatin1Char('/');
    appState().FirstActivation = false;

    form.Sorted1->setChecked(false);
    form.ListView1->setSorted(false);
    const double unsorted = medianMs(form, runs);
    form.Sorted1->setChecked(true);
    form.ListView1->setSorted(true);
    const double sorted = medianMs(form, runs);

    std::printf("bench_listing: %d files, No Thumbs on, No Stop off, %s platform, median of %d runs\n", kFiles,
                qPrintable(QGuiApplication::platformName()), runs);
    std::printf("  unsorted: %.1f ms\n  sorted:   %.1f ms\n", unsorted, sorted);
    form.hide();
    return 0;
}
