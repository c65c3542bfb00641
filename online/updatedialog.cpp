#include "online/updatedialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>

#include "core/helptopics.h"
#include "online/layouts.h"
#include "ui/bitmaps.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace online {

namespace at = layout::update;

UpdateDialog::UpdateDialog(core::Context& ctx, QWidget* parent)
    : QDialog(parent), m_ctx(ctx), m_run{ctx, {}, {}, {}}, m_topic(ctx, core::topicKeyword(core::topic::kOnline)) {
    setWindowTitle(ctx.settings.CRELEASE + QStringLiteral(" Internet-Update"));
    setWindowIcon(ui::Bitmaps::icon(QStringLiteral("Update")));
    setFixedSize(at::size);
    setFont(ui::dialogFont());

    auto label = [this](const QString& text, const QRect& rect, Qt::Alignment align, bool bold) {
        auto* l = ui::place(new ui::Label(text, this), rect);
        l->setColors(Qt::black);
        l->setFont(ui::dialogFont(bold));
        l->setAlignment(align | Qt::AlignTop);
        return l;
    };
    label(QStringLiteral("Es wird nach einem Update gesucht ..."), at::heading, Qt::AlignLeft, false);
    const QRect labels[4] = {at::urlLabel, at::statusLabel, at::fileLabel, at::downloadLabel};
    const QRect values[4] = {at::url, at::status, at::file, at::download};
    const QString names[4] = {QStringLiteral("Verbinden mit"), QStringLiteral("Status"), QStringLiteral("Dateistatus"),
                              QStringLiteral("Download")};
    for (int i = 0; i < 4; ++i) {
        label(names[i], labels[i], Qt::AlignRight, false);
        m_values[i] = label(QString(), values[i], Qt::AlignLeft, true);
    }
    m_values[3]->setWordWrap(true);

    m_start = ui::place(new QPushButton(QStringLiteral("&Start"), this), at::start);
    m_end = ui::place(new QPushButton(QStringLiteral("&Ende"), this), at::end);
    m_start->setDefault(true);
    connect(m_start, &QPushButton::clicked, this, &UpdateDialog::start);
    connect(m_end, &QPushButton::clicked, this, &UpdateDialog::reject);

    m_run.changed = [this] { showState(); };
    // The dialog stays responsive while a transfer waits; there is no cancel, so input only repaints.
    m_run.pump = [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); };
}

void UpdateDialog::showState() {
    const UpdateState& st = m_run.state;
    const QString texts[4] = {st.CVURL, st.CVSTAT, st.CFSTAT, st.CDLOAD};
    for (int i = 0; i < 4; ++i) {
        m_values[i]->setDisplayText(texts[i]);
        m_values[i]->setToolTip(m_values[i]->text());
    }
}

void UpdateDialog::start() {
    if (m_running) return;
    m_running = true;
    m_start->setEnabled(false);
    m_end->setEnabled(false);
    DOWNLOADS(m_run);
    showState();
    m_running = false;
    m_end->setEnabled(true);
    m_end->setFocus();
    if (m_run.state.LOK) accept();
}

void UpdateDialog::reject() {
    // While the check runs its state lives in this dialog; it ends when the check ends.
    if (!m_running) QDialog::reject();
}

void UpdateDialog::closeEvent(QCloseEvent* event) {
    if (m_running)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void UpdateDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPixmap skin = ui::Bitmaps::get(QStringLiteral("InetUpd"));
    if (!skin.isNull()) p.drawPixmap(0, 0, skin);
}

void DOWNLOADIT(core::Context& ctx, QWidget* mainWindow, const QString& programFile) {
    bool received = false;
    {
        UpdateDialog dialog(ctx, mainWindow);
        dialog.exec();
        received = dialog.received();
    }
    if (!received) return;
    const QString program = programFile.isEmpty() ? QCoreApplication::applicationFilePath() : programFile;
    if (!startInstaller(ctx, program)) {
        core::WARNBOX(ctx, QStringLiteral("Das Update-Programm konnte nicht gestartet werden."),
                      QStringLiteral("Problem"));
        return;
    }
    if (mainWindow) mainWindow->close();
}

} // namespace online
