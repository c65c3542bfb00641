#include "diag/printerr.h"

#include <QButtonGroup>
#include <QFile>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include "core/context.h"
#include "core/helptopics.h"
#include "diag/errorsys.h"
#include "diag/layouts.h"
#include "diag/logpages.h"
#include "ui/bitmaps.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/services.h"

namespace diag {

namespace at = layout::printErr;

PrintErrDialog::PrintErrDialog(core::Context& ctx, bool mailAvailable, QWidget* parent) : ui::SkinnedDialog(parent) {
    setWindowTitle(QStringLiteral("Fehler-Protokoll"));
    setDialogSize(at::kWidth, at::kHeight);
    ui::DLGPUTBMP(this, QStringLiteral("PrintErr"));
    setFont(ui::dialogFont());

    auto* stop = ui::place(new QLabel(this), at::stop);
    stop->setPixmap(ui::Bitmaps::get(QStringLiteral("Stop_Max")));
    auto* heading = ui::place(new QLabel(QStringLiteral("Es wurde ein Fehlerprotokoll gefunden!"), this), at::heading);
    heading->setFont(ui::dialogFont(true));
    heading->setAlignment(Qt::AlignCenter);
    auto* prompt =
        ui::place(new QLabel(QStringLiteral("Wählen Sie nun, wie Sie damit verfahren möchten !"), this), at::prompt);
    prompt->setAlignment(Qt::AlignCenter);
    prompt->setWordWrap(true);

    auto* group = new QButtonGroup(this);
    const QString captions[3] = {QStringLiteral(" &Löschen"), QStringLiteral(" &Drucken"),
                                 QStringLiteral(" &Email-Versand")};
    for (int i = 0; i < 3; ++i) {
        m_options[i] = ui::place(new QRadioButton(captions[i], this), at::choice.translated(0, i * at::kChoiceStep));
        group->addButton(m_options[i], i + 1);
    }
    // Mailing needs the support mail; without it the choice is not offered.
    m_options[kMail - 1]->setEnabled(mailAvailable);
    int preset = ctx.settings.NS_ERROR;
    if (preset < kDelete || preset > kMail || (preset == kMail && !mailAvailable)) preset = kDelete;
    m_options[preset - 1]->setChecked(true);

    m_next = ui::place(new QPushButton(QStringLiteral("&Weiter"), this), at::next);
    m_next->setDefault(true);
    m_help = ui::place(new QPushButton(QStringLiteral("&Hilfe"), this), at::help);
    m_cancel = ui::place(new QPushButton(QStringLiteral("&Abbrechen"), this), at::cancel);
    connect(m_next, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, [&ctx] { ctx.help().showTopic(core::kHelpFile, ctx.helpTopic); });
    m_options[preset - 1]->setFocus();
}

int PrintErrDialog::choice() const {
    for (int i = 0; i < 3; ++i)
        if (m_options[i]->isChecked()) return i + 1;
    return kDelete;
}

void PRINTERR(core::Context& ctx, const SupportMail& mail) {
    attach(ctx);
    if (ctx.resolve(QStringLiteral(".\\ERROR.LOG")).isEmpty()) return;
    PrintErrDialog dialog(ctx, bool(mail), ui::ownerWindow(ctx));
    if (dialog.exec() == QDialog::Accepted) DOWITHLOG(ctx, dialog.choice(), mail);
}

void DOWITHLOG(core::Context& ctx, int choice, const SupportMail& mail) {
    const QString path = ctx.resolve(QStringLiteral(".\\ERROR.LOG"));
    if (path.isEmpty()) return;
    switch (choice) {
    case kPrint:
        // A printout that did not happen (cancelled, no printer) keeps the log for the next start.
        if (!PRINTERRORLOG(ctx)) return;
        break;
    case kMail:
        if (core::MSGNOYES(ctx, QStringLiteral("Möchten Sie das Fehlerprotokoll nun per Email versenden ?"),
                           QStringLiteral("Email-Versand")) &&
            mail)
            mail(ctx, QStringLiteral("Programmfehler in ") + ctx.settings.CRELEASE, path);
        break;
    default:
        break;
    }
    QFile::remove(path);
}

bool PRINTERRORLOG(core::Context& ctx) {
    QFile file(ctx.resolve(QStringLiteral(".\\ERROR.LOG")));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    const QList<QStringList> pages = logPages(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    return ctx.printer().print(QStringLiteral("Error.log"), [&pages](QPainter& painter, QPagedPaintDevice& device) {
        // The page is 60 lines high and 80 characters wide; the text starts 8 characters in.
        const int lineHeight = device.height() / 60;
        const int charWidth = device.width() / 80;
        for (int p = 0; p < pages.size(); ++p) {
            if (p > 0 && !device.newPage()) return false;
            for (int i = 0; i < pages[p].size(); ++i)
                painter.drawText(QRect(8 * charWidth, i * lineHeight, device.width() - 8 * charWidth, lineHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip, pages[p][i]);
        }
        return true;
    });
}

} // namespace diag
