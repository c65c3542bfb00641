#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QTabWidget>

#include "support/testdir.h"
#include "ui/help/helpviewer.h"
#include "ui/services.h"
#include "uitest.h"

namespace {

// Every file and folder under `dir`, hidden ones included.
QStringList everything(const QString& dir) {
    QStringList found;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    found.sort();
    return found;
}

// The fixture collection built by the same build step as the program's help, copied into a program folder of
// its own; the user's cache folder is one of the test's own too.
class Help : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldCache = qgetenv("XDG_CACHE_HOME");
        qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(m_cache.path().string()));
        m_texte = QDir(QString::fromStdString(m_dir.path().string())).filePath(QStringLiteral("Texte"));
        QDir().mkpath(m_texte);
        for (const char* f : {"fixture.qhc", "fixture.qch"}) {
            const QString from = QStringLiteral(LW_TEST_HELP_DIR "/") + QLatin1String(f);
            ASSERT_TRUE(QFile::copy(from, m_texte + QLatin1Char('/') + QLatin1String(f))) << f;
        }
    }
    void TearDown() override {
        ui::closeHelpWindows();
        qputenv("XDG_CACHE_HOME", m_oldCache);
    }
    QString collection() const { return m_texte + QStringLiteral("/fixture.qhc"); }

    lwtest::TempDir m_dir;
    lwtest::TempDir m_cache;
    QByteArray m_oldCache;
    QString m_texte;
};

} // namespace

TEST_F(Help, TopicKeywordOpensItsPage) {
    ui::HelpViewer viewer(collection());
    ASSERT_TRUE(viewer.isValid());
    EXPECT_TRUE(viewer.showTopic(QStringLiteral("Anhalteweg")));
    EXPECT_TRUE(viewer.currentUrl().path().endsWith(QStringLiteral("anhalteweg.html")));
    EXPECT_EQ(viewer.currentTitle(), QStringLiteral("Anhalteweg"));
    // A second keyword of the same page.
    EXPECT_TRUE(viewer.showTopic(QStringLiteral("Fragentraining")));
    EXPECT_TRUE(viewer.currentUrl().path().endsWith(QStringLiteral("vorfahrt.html")));
}

TEST_F(Help, UnknownKeywordShowsTheIndexFilteredByIt) {
    ui::HelpViewer viewer(collection());
    viewer.show();
    const QUrl before = viewer.currentUrl();
    EXPECT_FALSE(viewer.showTopic(QStringLiteral("Vor")));
    EXPECT_EQ(viewer.currentUrl(), before);
    EXPECT_EQ(viewer.tabs()->currentIndex(), 1);
    EXPECT_EQ(viewer.indexFilter()->text(), QStringLiteral("Vor"));
    EXPECT_TRUE(uitest::waitFor([&] { return viewer.indexEntries() == QStringList{QStringLiteral("Vorfahrt")}; }))
        << viewer.indexEntries().join(QLatin1Char(','));
}

TEST_F(Help, IndexWithEmptySearchListsEveryKeywordAndFilterNarrowsIt) {
    ui::HelpViewer viewer(collection());
    viewer.show();
    viewer.showIndex(QString());
    EXPECT_TRUE(uitest::waitFor([&] { return viewer.indexEntries().size() == 5; }))
        << viewer.indexEntries().join(QLatin1Char(','));
    viewer.indexFilter()->setText(QStringLiteral("b"));
    EXPECT_TRUE(uitest::waitFor([&] { return viewer.indexEntries() == QStringList{QStringLiteral("Bremsweg")}; }));
}

TEST_F(Help, ContentsOpenTheFirstPage) {
    ui::HelpViewer viewer(collection());
    viewer.show();
    viewer.showContents();
    EXPECT_TRUE(uitest::waitFor([&] { return viewer.currentUrl().path().endsWith(QStringLiteral("start.html")); }));
    EXPECT_EQ(viewer.tabs()->currentIndex(), 0);
}

TEST_F(Help, FullTextSearchFindsPagesByTheirWords) {
    ui::HelpViewer viewer(collection());
    viewer.show();
    int hits = -1;
    QObject::connect(&viewer, &ui::HelpViewer::searchFinished, [&](int n) { hits = n; });
    viewer.search(QStringLiteral("Faustformel"));
    ASSERT_TRUE(uitest::waitFor([&] { return hits >= 0; }, 15000));
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(viewer.searchResults(), QStringList{QStringLiteral("Anhalteweg")});
}

TEST_F(Help, TheSearchNeedsNoWritableProgramFolder) {
    const QString folder = QString::fromStdString(m_dir.path().string());
    const QStringList before = everything(folder);
    {
        ui::HelpViewer viewer(collection());
        viewer.show();
        int hits = -1;
        QObject::connect(&viewer, &ui::HelpViewer::searchFinished, [&](int n) { hits = n; });
        viewer.search(QStringLiteral("Bremsweg"));
        ASSERT_TRUE(uitest::waitFor([&] { return hits >= 0; }, 15000));
        EXPECT_GE(hits, 1);
    }
    // The index went to the cache folder; the program folder is as delivered.
    EXPECT_EQ(everything(folder), before);
    EXPECT_FALSE(everything(QString::fromStdString(m_cache.path().string())).isEmpty());

    // A changed delivery replaces the copy, and the new one is searched.
    const QString working = ui::helpWorkingCopy(collection());
    EXPECT_NE(working, collection());
    EXPECT_EQ(ui::helpWorkingCopy(collection()), working);
    QFile::remove(working);
    EXPECT_EQ(ui::helpWorkingCopy(collection()), working);
    EXPECT_TRUE(QFile::exists(working));
}

TEST_F(Help, OneWindowPerCollectionIsReusedAndTitledAsTheCollection) {
    ui::HelpViewer* first = ui::showHelpTopic(collection(), QStringLiteral("Anhalteweg"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("Prüfhilfe"));
    EXPECT_EQ(first->parentWidget(), nullptr); // a window of its own, owned by no dialog
    ui::HelpViewer* again = ui::showHelpIndex(collection(), QStringLiteral("B"));
    EXPECT_EQ(again, first);
    int viewers = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        viewers += qobject_cast<ui::HelpViewer*>(w) && w->isVisible() ? 1 : 0;
    EXPECT_EQ(viewers, 1);
}

TEST(HelpPlace, ANewHelpWindowGoesBesideTheWindowItWasOpenedFrom) {
    const QRect screen(0, 0, 1280, 1024);
    // The settings dialog over the middle of the main window: the help fills the room to its right.
    EXPECT_EQ(ui::helpWindowPlace(QRect(172, 149, 455, 303), screen, QSize(900, 640)), QRect(627, 149, 653, 640));
    // Room on the left only.
    EXPECT_EQ(ui::helpWindowPlace(QRect(700, 900, 500, 300), screen, QSize(900, 640)), QRect(0, 384, 700, 640));
    // No room either side: the right edge of the screen, as without an opener.
    EXPECT_EQ(ui::helpWindowPlace(QRect(300, 0, 800, 600), screen, QSize(900, 640)), QRect(380, 0, 900, 640));
    EXPECT_EQ(ui::helpWindowPlace(QRect(), screen, QSize(900, 640)), QRect(380, 0, 900, 640));
    // A small screen gets a help window that fits on it.
    EXPECT_EQ(ui::helpWindowPlace(QRect(), QRect(0, 0, 800, 600), QSize(900, 640)), QRect(0, 0, 800, 600));
}

TEST_F(Help, ServiceMapsHelpFileNamesToCollections) {
    QFile::copy(collection(), m_texte + QStringLiteral("/TAVOLIN.qhc"));
    const QString base = QString::fromStdString(m_dir.path().string());
    ui::HelpWindowService service([&](const QString& name) {
        const QString p = QDir(base).filePath(QString(name).replace(QLatin1Char('\\'), QLatin1Char('/')));
        return QFile::exists(p) ? p : QString();
    });
    EXPECT_EQ(service.collectionFor(QString()), base + QStringLiteral("/Texte/TAVOLIN.qhc"));
    EXPECT_EQ(service.collectionFor(QStringLiteral(".\\Texte\\fixture.HLP")),
              base + QStringLiteral("/Texte/fixture.qhc"));
    // A help file that is not there opens nothing and does not fail.
    EXPECT_TRUE(service.collectionFor(QStringLiteral(".\\TEXTE\\EUROFSCH.HLP")).isEmpty());
    service.showContents(QStringLiteral(".\\TEXTE\\EUROFSCH.HLP"));
}

TEST(HelpViewer, MissingCollectionIsInvalidButHarmless) {
    lwtest::TempDir dir;
    ui::HelpViewer viewer(QString::fromStdString((dir.path() / "fehlt.qhc").string()));
    EXPECT_FALSE(viewer.isValid());
    EXPECT_FALSE(viewer.showTopic(QStringLiteral("Lenkwerk")));
    viewer.showContents();
    viewer.search(QStringLiteral("x"));
}
