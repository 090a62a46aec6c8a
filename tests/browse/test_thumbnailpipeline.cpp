#include "browse/thumbnailpipeline.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>

using namespace pelorin;

namespace {

// Every file a different size, so a result shows which file it came from.
QStringList makeFiles(const QTemporaryDir &dir, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        QImage image(10 + i, 5, QImage::Format_RGB32);
        image.fill(QColor::fromHsv(i * 7 % 360, 200, 200));
        const QString path = dir.filePath(QStringLiteral("f%1.png").arg(i));
        image.save(path);
        paths << path;
    }
    return paths;
}

QImage readFile(const QString &path)
{
    QImageReader reader(path);
    return reader.read();
}

} // namespace

class TestThumbnailPipeline : public QObject
{
    Q_OBJECT
private slots:
    void resultsBelongToTheirIndexInOrder()
    {
        QTemporaryDir dir;
        const QStringList paths = makeFiles(dir, 60);
        ThumbnailPipeline<QImage> ahead(2, 4);
        ahead.start(int(paths.size()), [paths](int i) { return readFile(paths.at(i)); });
        for (int i = 0; i < paths.size(); ++i) {
            const std::optional<QImage> image = ahead.take(i);
            QVERIFY(image);
            QCOMPARE(image->width(), 10 + i);
            // Never more than the window ahead of the consumer.
            QVERIFY(ahead.submittedCount() <= i + 1 + 4);
        }
        QVERIFY(!ahead.take(60));
        QVERIFY(!ahead.take(3)); // taken already
    }

    // The consumer stops after 20 items: the rest is dropped, nothing decoded later is
    // handed out, and the next run starts afresh with its own items.
    void cancelDiscardsAndANewRunStartsClean()
    {
        QTemporaryDir dir;
        const QStringList paths = makeFiles(dir, 100);
        std::atomic<int> decoded = 0;
        ThumbnailPipeline<QImage> ahead(2, 8);
        for (int run = 0; run < 2; ++run) {
            const int first = run * 50; // the second run lists other files
            ahead.start(100 - first, [&, paths, first](int i) {
                ++decoded;
                return readFile(paths.at(first + i));
            });
            for (int i = 0; i < 20; ++i) {
                const std::optional<QImage> image = ahead.take(i);
                QVERIFY(image);
                QCOMPARE(image->width(), 10 + first + i);
            }
            ahead.cancel();
            QVERIFY(!ahead.isActive());
            QVERIFY(!ahead.take(20));
        }
        QVERIFY(decoded.load() <= 2 * (20 + 8));
    }

    void unwantedItemsAreLeftToTheConsumer()
    {
        QTemporaryDir dir;
        const QStringList paths = makeFiles(dir, 10);
        ThumbnailPipeline<QImage> ahead(2);
        ahead.start(int(paths.size()), [paths](int i) { return readFile(paths.at(i)); },
                    [](int i) { return i % 3 != 0; });
        for (int i = 0; i < paths.size(); ++i)
            QCOMPARE(bool(ahead.take(i)), i % 3 != 0);
    }
};

QTEST_GUILESS_MAIN(TestThumbnailPipeline)
#include "test_thumbnailpipeline.moc"
