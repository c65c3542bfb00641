#include "shell/aboutbox.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include "platform/inifile.h"
#include "shell/layouts.h"
#include "shell/settings.h"
#include "ui/bitmaps.h"
#include "core/context.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace shell {

namespace {

AboutTimes& times() {
    static AboutTimes t;
    return t;
}

const QString kAbout = QStringLiteral("About");

QString aboutLine(const QString& ini, const char* key, const char* def) {
    return platform::readProfileString(ini, kAbout, QString::fromLatin1(key), QString::fromUtf8(def));
}

} // namespace

void setAboutTimes(const AboutTimes& t) {
    times() = t;
}

AboutTimes aboutTimes() {
    return times();
}

AboutDialog::AboutDialog(core::Context& ctx, bool startup, QWidget* parent)
    : ui::SkinnedDialog(parent), m_waitMs(startup ? times().startupMs : times().menuMs) {
    const QString ini = iniPath(ctx);
    const platform::ProfileReadBatch batch;
    setWindowTitle(QStringLiteral("Über ") + ctx.settings.CRELEASE);
    ui::DLGPUTBMP(this, QStringLiteral("ABOUT"));
    if (skin().isNull()) setDialogSize(369, 258);
    const QFont font = ui::fontPt(QStringLiteral("MS Sans Serif"), 8);
    const QColor ink(0x20, 0x20, 0x20);

    m_picture = ui::place(new QLabel(this), layout::about::logo);
    m_picture->setAlignment(Qt::AlignCenter);
    const QPixmap picture = ui::Bitmaps::get(aboutLine(ini, "Bitmap", "AB_QRT"));
    if (!picture.isNull()) {
        const QSize room(320, 110);
        const bool fits = ui::Bitmaps::logicalSize(picture).boundedTo(room) == ui::Bitmaps::logicalSize(picture);
        m_picture->setPixmap(
            fits ? picture
                 : picture.scaled(room * picture.devicePixelRatio(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    } else {
        // Without the publisher's picture the box would open with a blank top half; the release fills it.
        m_picture->setText(ctx.settings.CRELEASE);
        m_picture->setWordWrap(true);
        m_picture->setFont(ui::fontPx(QStringLiteral("Arial"), 20, true));
        ui::setColors(m_picture, QColor(0x1c, 0x3b, 0x6e));
    }

    auto text = [&](const QString& lines, const QRect& rect, bool bold) {
        auto* label = ui::place(new ui::Label(lines, this), rect);
        label->setFont(bold ? ui::fontPt(QStringLiteral("MS Sans Serif"), 8, true) : font);
        label->setColors(ink);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    };
    m_firm = text(aboutLine(ini, "Firma1", "Norvale Lernsoftware GmbH") + QLatin1Char('\n') +
                      aboutLine(ini, "Firma2", "Musterweg 7, 12345 Musterstadt") + QLatin1Char('\n') +
                      aboutLine(ini, "Firma3", "Telefon 01234 / 56 78 90"),
                  layout::about::address, false);
    m_contact = text(aboutLine(ini, "Internet", "Internet: www.norvale.example") + QLatin1Char('\n') +
                         aboutLine(ini, "Email", "E-Mail: info@norvale.example"),
                     layout::about::web, false);
    m_rights = text(QStringLiteral("© 2007 Norvale Lernsoftware GmbH. Alle Rechte vorbehalten."),
                    layout::about::rights, true);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    ui::SkinnedDialog::paintEvent(event);
    // Counted from the first paint, so the box stays its full time even when the start-up was slow to show it.
    if (!m_timer) m_timer = ABOUTWAIT(this, m_waitMs);
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    event->accept();
    accept();
}

QTimer* ABOUTWAIT(QDialog* dialog, int milliseconds) {
    auto* timer = new QTimer(dialog);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, dialog, &QDialog::accept);
    timer->start(milliseconds);
    return timer;
}

bool ABOUTINFO(core::Context& ctx, bool startup, QWidget* parent) {
    const QString ini = iniPath(ctx);
    ctx.settings.CRELEASE = aboutLine(ini, "Release", "QRT Lenkwerk-Trainer 2007 v2.41");
    ctx.settings.CRELNUM = aboutLine(ini, "RelSub", "2.41");
    AboutDialog dialog(ctx, startup, parent);
    dialog.exec();
    return true;
}

} // namespace shell
