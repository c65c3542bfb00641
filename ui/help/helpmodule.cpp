// The help window as a module of its own, loaded by ui::HelpWindowService with the first help request: Qt Help and
// the Qt Sql it brings along then cost nothing at the program's start. The windows live in this module's
// registry; the program closes them through lenkwerk_help_close_all.
#include <QFont>
#include <QString>

#include "ui/help/helpviewer.h"

extern "C" Q_DECL_EXPORT QWidget* lenkwerk_help_topic(const QString& collection, const QString& keyword,
                                                      const QFont& pageFont) {
    return ui::showHelpTopic(collection, keyword, pageFont);
}

extern "C" Q_DECL_EXPORT QWidget* lenkwerk_help_contents(const QString& collection, const QFont& pageFont) {
    return ui::showHelpContents(collection, pageFont);
}

extern "C" Q_DECL_EXPORT QWidget* lenkwerk_help_index(const QString& collection, const QString& searchText,
                                                      const QFont& pageFont) {
    return ui::showHelpIndex(collection, searchText, pageFont);
}

extern "C" Q_DECL_EXPORT void lenkwerk_help_close_all() {
    ui::closeHelpWindows();
}
