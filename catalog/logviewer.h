#pragma once

#include <QDialog>
#include <QString>

#include <filesystem>

class QPlainTextEdit;

namespace core {
class Context;
}

namespace catalog {

// A plain window that shows a text file read-only until the user closes it (the logbook of an update import).
class LogViewer : public QDialog {
public:
    LogViewer(const QString& title, const QString& text, QWidget* parent = nullptr);
    QString text() const;

private:
    QPlainTextEdit* m_view;
};

// Shows the file (Windows ANSI, any line ends) in a LogViewer and waits until it is closed. False, with a warning,
// when the file cannot be read.
bool showTextFile(core::Context& ctx, const std::filesystem::path& file, const QString& title);

} // namespace catalog
