#include "catalog/logviewer.h"

#include <fstream>
#include <iterator>
#include <string>

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "store/codepage.h"
#include "core/context.h"
#include "ui/services.h"

namespace catalog {

LogViewer::LogViewer(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), m_view(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("LogViewer"));
    setWindowTitle(title);
    setModal(true);
    resize(640, 480);

    m_view->setReadOnly(true);
    m_view->setAccessibleName(title);
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    // The logbook lines up its columns with blanks.
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setPlainText(text);

    auto* close = new QPushButton(QStringLiteral("&Schließen"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
}

QString LogViewer::text() const {
    return m_view->toPlainText();
}

bool showTextFile(core::Context& ctx, const std::filesystem::path& file, const QString& title) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        core::WARNBOX(ctx,
                    QStringLiteral("Die Datei %1 lässt sich nicht öffnen.")
                        .arg(QString::fromStdString(file.filename().string())),
                    title);
        return false;
    }
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    QString text = QString::fromStdString(store::cp1252ToUtf8(bytes));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    LogViewer viewer(title, text, ui::ownerWindow(ctx));
    viewer.exec();
    return true;
}

} // namespace catalog
