#pragma once

#include <QFont>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QHelpEngine;
class QLineEdit;
class QTabWidget;
class QTextBrowser;

namespace ui {

// The program's help window over one Qt help collection: contents, keyword index with a filter field, full-text
// search, and the page itself, set in `pageFont`. It needs nothing of the rest of the toolkit, so that the help
// module can hold it without a second copy of the toolkit's state.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(const QString& collectionFile, const QFont& pageFont = QFont(), QWidget* parent = nullptr);
    ~HelpViewer() override;

    bool isValid() const { return m_valid; }
    QString collectionFile() const { return m_collection; }

    // Opens the page of the keyword; an unknown keyword shows the index filtered by it instead (false).
    bool showTopic(const QString& keyword);
    void showContents();
    void showIndex(const QString& searchText);
    void search(const QString& text);

    QUrl currentUrl() const;
    QString currentTitle() const;
    QStringList indexEntries() const;  // what the index list shows now
    QStringList searchResults() const; // titles of the last search's hits
    QHelpEngine* engine() const { return m_engine; }
    QTabWidget* tabs() const { return m_tabs; }
    QLineEdit* indexFilter() const { return m_filter; }

signals:
    void pageShown(const QUrl& url);
    void searchFinished(int hits);

private:
    void open(const QUrl& url);
    void openFirstContentsPage();
    void applyFilter(QString text); // by value: it may be handed the pending filter, which it clears

    QString m_collection;
    bool m_valid = false;
    bool m_contentsReady = false;
    bool m_indexReady = false;
    bool m_wantContents = false;
    bool m_indexing = false;
    QString m_pendingSearch;
    QString m_pendingFilter;
    QHelpEngine* m_engine = nullptr;
    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_filter = nullptr;
    QTextBrowser* m_browser = nullptr;
    QStringList m_lastResults;
};

// Where a new help window goes on the screen area: beside the window it was opened from (right of it, else left
// of it, narrowed as far as 560 pixels if need be), else at the right edge; `wanted` is its usual size.
QRect helpWindowPlace(const QRect& opener, const QRect& area, QSize wanted);

// The collection the help window works on: a copy in the user's cache folder, refreshed when the delivered one
// changes (the engine keeps its search index beside it). The delivered file when no copy can be made.
QString helpWorkingCopy(const QString& collectionFile);

// Opens (or raises) the help window of a collection file: one window per collection, titled as the collection.
// `pageFont` sets the page of a window opened now.
HelpViewer* showHelpTopic(const QString& collectionFile, const QString& keyword, const QFont& pageFont = QFont());
HelpViewer* showHelpContents(const QString& collectionFile, const QFont& pageFont = QFont());
HelpViewer* showHelpIndex(const QString& collectionFile, const QString& searchText, const QFont& pageFont = QFont());
// Closes and deletes every help window opened through the functions above (the program ends).
void closeHelpWindows();

} // namespace ui
