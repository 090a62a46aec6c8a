#pragma once
// THelpWindow: the one non-modal help window. A contents list and a search over the
// topics' text on the left, the topic on the right. Topics are HTML files in one
// directory: "index.html" (the contents, whose links give the order of the list),
// "usinghelp.html" (how to use this window) and "<number>.html" per help context.

#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace pelorin {

class THelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit THelpWindow(QWidget *parent = nullptr);
    ~THelpWindow() override;

    // The absolute directory of the topics; the contents list is read from it again.
    void setTopicDirectory(const QString &directory);
    const QString &topicDirectory() const { return mDirectory; }

    void showContents();
    void showSearch();
    // Shows one topic file of the directory; false (and a note in the window) when it is missing.
    bool showTopic(const QString &fileName);
    // The file name of the topic on show, empty when none.
    QString currentTopic() const;

    // The topics whose text holds every word of query (case-insensitive), in contents
    // order, as (file name, title) pairs.
    struct Topic
    {
        QString file;
        QString title;
    };
    QList<Topic> findTopics(const QString &query) const;
    const QList<Topic> &topics() const { return mTopics; }

    static QString fileNameForContext(int number);

private:
    void readContents();
    void runSearch();
    QString topicText(const QString &file) const;

    QString mDirectory;
    QList<Topic> mTopics;
    mutable QHash<QString, QString> mTexts; // plain text of each topic, read when first searched
    QTabWidget *mTabs;
    QListWidget *mContentsList;
    QLineEdit *mSearchEdit;
    QListWidget *mSearchResults;
    QTextBrowser *mView;
};

} // namespace pelorin
