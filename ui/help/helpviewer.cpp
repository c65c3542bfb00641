#include "ui/help/helpviewer.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHelpContentWidget>
#include <QHelpEngine>
#include <QHelpIndexWidget>
#include <QHelpLink>
#include <QHelpSearchEngine>
#include <QHelpSearchQueryWidget>
#include <QHelpSearchResultWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <map>
#include <utility>

namespace ui {

namespace {

class HelpBrowser : public QTextBrowser {
public:
    HelpBrowser(QHelpEngine* engine, QWidget* parent) : QTextBrowser(parent), m_engine(engine) {
        setOpenExternalLinks(true);
    }
    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() == QLatin1String("qthelp")) return m_engine->fileData(url);
        return QTextBrowser::loadResource(type, url);
    }

private:
    QHelpEngine* m_engine;
};

std::map<QString, QPointer<HelpViewer>>& viewers() {
    static std::map<QString, QPointer<HelpViewer>> v;
    return v;
}

// One window per collection, reused and brought to the front. It has no owner: the dialogs of the program block
// only their own owners, so the help stays usable beside the dialog that opened it.
HelpViewer* viewerFor(const QString& collectionFile, const QFont& pageFont) {
    const QString key = QFileInfo(collectionFile).absoluteFilePath();
    QPointer<HelpViewer>& v = viewers()[key];
    if (!v) {
        // Placed once, beside the window the user is working in; later it stays where the user put it.
        QWidget* opener = QApplication::activeModalWidget();
        if (!opener) opener = QApplication::activeWindow();
        const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
        v = new HelpViewer(key, pageFont);
        v->setAttribute(Qt::WA_DeleteOnClose);
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
        const QRect place = helpWindowPlace(opener ? opener->frameGeometry() : QRect(), area, QSize(900, 640));
        v->resize(place.size());
        v->move(place.topLeft());
    }
    if (v->isMinimized()) v->showNormal();
    v->show();
    v->raise();
    v->activateWindow();
    return v;
}

bool sameFile(const QFileInfo& a, const QFileInfo& b) {
    return b.exists() && a.size() == b.size() && a.lastModified() == b.lastModified();
}

} // namespace

QRect helpWindowPlace(const QRect& opener, const QRect& area, QSize wanted) {
    constexpr int kNarrowest = 560; // contents beside a readable page
    QSize size = wanted.boundedTo(area.size());
    int x = area.right() + 1 - size.width();
    int y = area.top();
    if (opener.isValid()) {
        const int right = area.right() - opener.right();
        const int left = opener.left() - area.left();
        if (right >= kNarrowest) {
            size.setWidth(qMin(size.width(), right));
            x = opener.right() + 1;
        } else if (left >= kNarrowest) {
            size.setWidth(qMin(size.width(), left));
            x = opener.left() - size.width();
        }
        y = qBound(area.top(), opener.top(), qMax(area.top(), area.bottom() + 1 - size.height()));
    }
    return QRect(QPoint(x, y), size);
}

QString helpWorkingCopy(const QString& collectionFile) {
    const QFileInfo source(collectionFile);
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (!source.isFile() || cache.isEmpty()) return collectionFile;
    const QByteArray id =
        QCryptographicHash::hash(source.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QDir dir(cache + QStringLiteral("/help/") + QString::fromLatin1(id));
    if (!dir.mkpath(QStringLiteral("."))) return collectionFile;

    // The collection and the documentation files it registers, which lie beside it under the same names.
    QStringList files{source.absoluteFilePath()};
    {
        QHelpEngineCore probe(source.absoluteFilePath());
        probe.setReadOnly(true);
        if (probe.setupData()) {
            for (const QString& ns : probe.registeredDocumentations()) {
                const QString doc = probe.documentationFileName(ns);
                if (QFileInfo(doc).isFile()) files << QFileInfo(doc).absoluteFilePath();
            }
        }
    }
    bool changed = false;
    for (const QString& file : files) {
        const QFileInfo from(file);
        const QString target = dir.filePath(from.fileName());
        if (sameFile(from, QFileInfo(target))) continue;
        changed = true;
        QFile::remove(target);
        if (!QFile::copy(file, target)) return collectionFile;
        QFile copy(target);
        // A copy of a read-only delivery is read-only too; the engine writes into its collection.
        copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
        if (copy.open(QIODevice::ReadWrite)) copy.setFileTime(from.lastModified(), QFileDevice::FileModificationTime);
    }
    // A changed collection needs a new search index (kept by the engine in a hidden folder beside it).
    if (changed) QDir(dir.filePath(QLatin1Char('.') + source.completeBaseName())).removeRecursively();
    return dir.filePath(source.fileName());
}

HelpViewer::HelpViewer(const QString& collectionFile, const QFont& pageFont, QWidget* parent)
    : QWidget(parent, Qt::Window), m_collection(collectionFile) {
    // The engine works on a copy in the user's cache folder: its full-text index is written beside the
    // collection, and the program folder may be read-only (and stays as delivered either way).
    m_engine = new QHelpEngine(helpWorkingCopy(collectionFile), this);
    m_engine->setReadOnly(false);
    m_valid = QFileInfo(collectionFile).isFile() && m_engine->setupData();
    // The collection's own title, as its project names it.
    const QString title = m_valid ? m_engine->customValue(QStringLiteral("WindowTitle")).toString() : QString();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Lenkwerk - Hilfe") : title);

    m_tabs = new QTabWidget;
    auto* contents = m_engine->contentWidget();
    m_tabs->addTab(contents, QStringLiteral("&Inhalt"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    auto* filterLabel = new QLabel(QStringLiteral("&Suchbegriff:"));
    m_filter = new QLineEdit;
    filterLabel->setBuddy(m_filter);
    indexLayout->addWidget(filterLabel);
    indexLayout->addWidget(m_filter);
    indexLayout->addWidget(m_engine->indexWidget());
    m_tabs->addTab(indexPage, QStringLiteral("In&dex"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(m_engine->searchEngine()->queryWidget());
    searchLayout->addWidget(m_engine->searchEngine()->resultWidget());
    m_tabs->addTab(searchPage, QStringLiteral("S&uchen"));

    m_browser = new HelpBrowser(m_engine, this);
    m_browser->setFont(pageFont);

    // Back, forward and the first page, as every help window has them.
    auto* pagePane = new QWidget;
    auto* pageLayout = new QVBoxLayout(pagePane);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    auto* navigation = new QHBoxLayout;
    auto* back = new QPushButton(QStringLiteral("< &Zurück"));
    auto* forward = new QPushButton(QStringLiteral("&Vor >"));
    auto* home = new QPushButton(QStringLiteral("&Startseite"));
    for (QPushButton* b : {back, forward, home}) {
        b->setAutoDefault(false);
        navigation->addWidget(b);
    }
    navigation->addStretch();
    back->setEnabled(false);
    forward->setEnabled(false);
    pageLayout->addLayout(navigation);
    pageLayout->addWidget(m_browser);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_tabs);
    splitter->addWidget(pagePane);
    splitter->setStretchFactor(1, 3);
    // The page gets most of the room from the start, also in a narrow window beside a dialog.
    splitter->setSizes({240, 660});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(contents, &QHelpContentWidget::linkActivated, this, &HelpViewer::open);
    connect(m_engine->contentModel(), &QHelpContentModel::contentsCreated, this, [this] {
        m_contentsReady = true;
        m_engine->contentWidget()->expandToDepth(0);
        if (m_wantContents) openFirstContentsPage();
    });
    connect(m_engine->indexModel(), &QHelpIndexModel::indexCreated, this, [this] {
        m_indexReady = true;
        if (!m_pendingFilter.isNull()) applyFilter(m_pendingFilter);
    });
    connect(m_filter, &QLineEdit::textChanged, this, [this](const QString& text) { applyFilter(text); });
    connect(m_filter, &QLineEdit::returnPressed, m_engine->indexWidget(), &QHelpIndexWidget::activateCurrentItem);
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentActivated, this,
            [this](const QHelpLink& link, const QString&) { open(link.url); });
    connect(m_engine->indexWidget(), &QHelpIndexWidget::documentsActivated, this,
            [this](const QList<QHelpLink>& links, const QString&) {
                if (!links.isEmpty()) open(links.first().url);
            });

    auto* searchEngine = m_engine->searchEngine();
    connect(searchEngine->queryWidget(), &QHelpSearchQueryWidget::search, this,
            [this, searchEngine] { search(searchEngine->queryWidget()->searchInput()); });
    connect(searchEngine->resultWidget(), &QHelpSearchResultWidget::requestShowLink, this, &HelpViewer::open);
    connect(searchEngine, &QHelpSearchEngine::indexingFinished, this, [this] {
        m_indexing = false;
        if (!m_pendingSearch.isEmpty()) search(std::exchange(m_pendingSearch, QString()));
    });
    connect(searchEngine, &QHelpSearchEngine::searchingFinished, this, [this, searchEngine](int hits) {
        m_lastResults.clear();
        for (const QHelpSearchResult& r : searchEngine->searchResults(0, hits))
            m_lastResults << r.title();
        emit searchFinished(hits);
    });
    if (m_valid) {
        m_indexing = true;
        searchEngine->reindexDocumentation();
    }
}

HelpViewer::~HelpViewer() {
    // The engine's views go before the engine, whose models they still use.
    delete m_tabs;
    delete m_browser;
}

void HelpViewer::open(const QUrl& url) {
    m_browser->setSource(url);
    emit pageShown(url);
}

QUrl HelpViewer::currentUrl() const {
    return m_browser->source();
}

QString HelpViewer::currentTitle() const {
    return m_browser->documentTitle();
}

bool HelpViewer::showTopic(const QString& keyword) {
    const QList<QHelpLink> links = m_valid ? m_engine->documentsForKeyword(keyword) : QList<QHelpLink>();
    if (links.isEmpty()) {
        showIndex(keyword);
        return false;
    }
    open(links.first().url);
    return true;
}

void HelpViewer::showContents() {
    m_tabs->setCurrentIndex(0);
    m_wantContents = true;
    if (m_contentsReady) openFirstContentsPage();
}

void HelpViewer::openFirstContentsPage() {
    m_wantContents = false;
    QHelpContentModel* model = m_engine->contentModel();
    if (model->rowCount() == 0) return;
    if (QHelpContentItem* item = model->contentItemAt(model->index(0, 0))) open(item->url());
}

void HelpViewer::showIndex(const QString& searchText) {
    m_tabs->setCurrentIndex(1);
    m_filter->setText(searchText);
    applyFilter(searchText);
    m_filter->setFocus();
}

void HelpViewer::applyFilter(QString text) {
    if (!m_indexReady) {
        m_pendingFilter = text;
        return;
    }
    m_pendingFilter = QString();
    m_engine->indexWidget()->filterIndices(text);
}

QStringList HelpViewer::indexEntries() const {
    QStringList entries;
    const QAbstractItemModel* model = m_engine->indexWidget()->model();
    for (int i = 0; model && i < model->rowCount(); ++i)
        entries << model->index(i, 0).data().toString();
    return entries;
}

QStringList HelpViewer::searchResults() const {
    return m_lastResults;
}

void HelpViewer::search(const QString& text) {
    m_tabs->setCurrentIndex(2);
    // Without a collection there is nothing to search, and the engine's search thread must not be started.
    if (!m_valid) return;
    if (m_indexing) {
        m_pendingSearch = text;
        return;
    }
    m_engine->searchEngine()->search(text);
}

void closeHelpWindows() {
    // Deleted at once, not later: the engine's indexing thread must end before the program (or a test) removes
    // what it writes to.
    for (auto& [collection, viewer] : viewers())
        delete viewer.data();
    viewers().clear();
}

HelpViewer* showHelpTopic(const QString& collectionFile, const QString& keyword, const QFont& pageFont) {
    HelpViewer* v = viewerFor(collectionFile, pageFont);
    v->showTopic(keyword);
    return v;
}

HelpViewer* showHelpContents(const QString& collectionFile, const QFont& pageFont) {
    HelpViewer* v = viewerFor(collectionFile, pageFont);
    v->showContents();
    return v;
}

HelpViewer* showHelpIndex(const QString& collectionFile, const QString& searchText, const QFont& pageFont) {
    HelpViewer* v = viewerFor(collectionFile, pageFont);
    v->showIndex(searchText);
    return v;
}

} // namespace ui
