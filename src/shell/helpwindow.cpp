#include "shell/helpwindow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace pelorin {

namespace {

const QString kContentsFile = QStringLiteral("index.html");
const QString kUsingHelpFile = QStringLiteral("usinghelp.html");

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QListWidgetItem *topicItem(const THelpWindow::Topic &topic)
{
    auto *item = new QListWidgetItem(topic.title);
    item->setData(Qt::UserRole, topic.file);
    return item;
}

} // namespace

THelpWindow::THelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , mTabs(new QTabWidget)
    , mContentsList(new QListWidget)
    , mSearchEdit(new QLineEdit)
    , mSearchResults(new QListWidget)
    , mView(new QTextBrowser)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Pelorin Help"));
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(760, 520);

    mTabs->setObjectName(QStringLiteral("HelpTabs"));
    mContentsList->setObjectName(QStringLiteral("ContentsList"));
    mContentsList->setAccessibleName(QStringLiteral("Contents"));
    mSearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    mSearchEdit->setAccessibleName(QStringLiteral("Search For"));
    mSearchEdit->setPlaceholderText(QStringLiteral("Type the words to find"));
    mSearchEdit->setClearButtonEnabled(true);
    mSearchResults->setObjectName(QStringLiteral("SearchResults"));
    mSearchResults->setAccessibleName(QStringLiteral("Topics Found"));
    mView->setObjectName(QStringLiteral("TopicView"));
    mView->setAccessibleName(QStringLiteral("Help Topic"));
    mView->setOpenExternalLinks(true);

    auto *searchPage = new QWidget;
    auto *searchLayout = new QVBoxLayout(searchPage);
    auto *searchLabel = new QLabel(QStringLiteral("&Words to find:"));
    searchLabel->setBuddy(mSearchEdit);
    searchLayout->addWidget(searchLabel);
    searchLayout->addWidget(mSearchEdit);
    searchLayout->addWidget(mSearchResults);
    mTabs->addTab(mContentsList, QStringLiteral("&Contents"));
    mTabs->addTab(searchPage, QStringLiteral("&Search"));

    auto *back = new QPushButton(QStringLiteral("&Back"));
    back->setObjectName(QStringLiteral("BackButton"));
    back->setEnabled(false);
    auto *contentsButton = new QPushButton(QStringLiteral("C&ontents"));
    contentsButton->setObjectName(QStringLiteral("ContentsButton"));
    auto *usingButton = new QPushButton(QStringLiteral("&Using Help"));
    usingButton->setObjectName(QStringLiteral("UsingHelpButton"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(contentsButton);
    buttons->addWidget(usingButton);
    buttons->addStretch();

    auto *splitter = new QSplitter;
    splitter->addWidget(mTabs);
    splitter->addWidget(mView);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 530});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);

    const auto openItem = [this](QListWidgetItem *item) {
        if (item)
            showTopic(item->data(Qt::UserRole).toString());
    };
    connect(mContentsList, &QListWidget::itemActivated, this, openItem);
    connect(mContentsList, &QListWidget::itemClicked, this, openItem);
    connect(mSearchResults, &QListWidget::itemActivated, this, openItem);
    connect(mSearchResults, &QListWidget::itemClicked, this, openItem);
    connect(mSearchEdit, &QLineEdit::textChanged, this, &THelpWindow::runSearch);
    connect(mSearchEdit, &QLineEdit::returnPressed, this, [this, openItem] { openItem(mSearchResults->item(0)); });
    auto *close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    connect(mView, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(back, &QPushButton::clicked, mView, &QTextBrowser::backward);
    connect(contentsButton, &QPushButton::clicked, this, &THelpWindow::showContents);
    connect(usingButton, &QPushButton::clicked, this, [this] { showTopic(kUsingHelpFile); });
}

THelpWindow::~THelpWindow() = default;

void THelpWindow::setTopicDirectory(const QString &directory)
{
    mDirectory = QDir::cleanPath(directory);
    mTexts.clear();
    mView->setSearchPaths({mDirectory});
    readContents();
    runSearch();
}

void THelpWindow::readContents()
{
    // The contents page lists the topics as plain links; their order is the list's.
    mTopics.clear();
    mContentsList->clear();
    static const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"#:/]+\\.html)\"\\s*>(.*?)</a>"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::DotMatchesEverythingOption);
    const QString index = readFile(mDirectory + QLatin1Char('/') + kContentsFile);
    QStringList seen;
    for (auto it = link.globalMatch(index); it.hasNext();) {
        const auto match = it.next();
        const QString file = match.captured(1);
        if (seen.contains(file))
            continue;
        seen.append(file);
        QTextDocument title;
        title.setHtml(match.captured(2));
        mTopics.append({file, title.toPlainText().simplified()});
        mContentsList->addItem(topicItem(mTopics.last()));
    }
}

void THelpWindow::showContents()
{
    mTabs->setCurrentIndex(0);
    showTopic(kContentsFile);
    mContentsList->setFocus();
}

void THelpWindow::showSearch()
{
    mTabs->setCurrentIndex(1);
    mSearchEdit->setFocus();
    mSearchEdit->selectAll();
}

bool THelpWindow::showTopic(const QString &fileName)
{
    const QString path = mDirectory + QLatin1Char('/') + fileName;
    if (!QFile::exists(path)) {
        mView->clearHistory();
        mView->setHtml(QStringLiteral("<h2>Topic not found</h2><p>The help topic <b>%1</b> is not in %2. "
                                      "Choose a topic from the contents.</p>")
                           .arg(fileName.toHtmlEscaped(), mDirectory.toHtmlEscaped()));
        return false;
    }
    mView->setSource(QUrl::fromLocalFile(path));
    return true;
}

QString THelpWindow::currentTopic() const
{
    const QUrl source = mView->source();
    return source.isLocalFile() ? QFileInfo(source.toLocalFile()).fileName() : QString();
}

QString THelpWindow::topicText(const QString &file) const
{
    auto cached = mTexts.constFind(file);
    if (cached != mTexts.constEnd())
        return *cached;
    QTextDocument document;
    document.setHtml(readFile(mDirectory + QLatin1Char('/') + file));
    return *mTexts.insert(file, document.toPlainText());
}

QList<THelpWindow::Topic> THelpWindow::findTopics(const QString &query) const
{
    const QStringList words = query.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    QList<Topic> found;
    if (words.isEmpty())
        return found;
    for (const Topic &topic : mTopics) {
        const QString text = topic.title + QLatin1Char(' ') + topicText(topic.file);
        const bool all = std::all_of(words.begin(), words.end(),
                                     [&text](const QString &word) { return text.contains(word, Qt::CaseInsensitive); });
        if (all)
            found.append(topic);
    }
    return found;
}

void THelpWindow::runSearch()
{
    mSearchResults->clear();
    for (const Topic &topic : findTopics(mSearchEdit->text()))
        mSearchResults->addItem(topicItem(topic));
}

QString THelpWindow::fileNameForContext(int number)
{
    return QStringLiteral("%1.html").arg(number);
}

} // namespace pelorin
