// Renders the toolkit's built-in bitmaps and dialogs into PNG files, so their look can be reviewed without a
// screen: lw_gallery <output dir> [help collection file]. Run under QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "platform/inifile.h"
#include "shell/aboutbox.h"
#include "shell/features.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/setupdialog.h"
#include "shell/setupuser.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/context.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"
#include "ui/helpviewer.h"
#include "ui/maskededit.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"
#include "ui/skinneddialog.h"

namespace {

QDir g_out;

void save(QWidget& w, const QString& name) {
    w.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    const QString path = g_out.filePath(QStringLiteral("dialogs/") + name + QStringLiteral(".png"));
    if (!w.grab().save(path)) qWarning("could not write %s", qPrintable(path));
    w.hide();
}

void renderBitmaps() {
    const QStringList names = ui::Bitmaps::builtInSkins() + ui::Bitmaps::builtInButtons();
    for (const QString& name : names) {
        for (qreal dpr : {1.0, 2.0}) {
            const QPixmap pm = ui::Bitmaps::builtIn(name, dpr);
            const QString suffix = dpr > 1 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
            pm.save(g_out.filePath(QStringLiteral("bitmaps/") + name + suffix));
        }
    }
}

// A dialog with one of every control, to see them together on a skin.
void renderSampler() {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("SetupA"), true);
    dlg.addCloseButton(12, 426, 18);

    auto* tabs = ui::place(new ui::TabWidget(&dlg), ui::pxRect(36, 6, 416, 206));
    tabs->setColors(Qt::black, QColor(158, 176, 152));
    auto* page = tabs->addSkinnedPage(QStringLiteral("S&ystem"), QStringLiteral("Setup2"));
    tabs->addSkinnedPage(QStringLiteral("&Training"), QStringLiteral("Setup2"));
    tabs->addSkinnedPage(QStringLiteral("E&mails"), QStringLiteral("Setup2"));
    tabs->setTabEnabled(2, false);

    auto* l1 = ui::place(new ui::Label(QStringLiteral("Fenstergröße"), page), ui::pxRect(24, 20, 96, 20));
    l1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* radios = new ui::RadioGroup(page);
    radios->addColumn({QStringLiteral(" Maximal"), QStringLiteral(" Normal (800 * 600)")}, 20, 130, 180, 20, 20);
    radios->setValue(2);
    auto* l2 = ui::place(new ui::Label(QStringLiteral("Klangunterstützung"), page), ui::pxRect(68, 20, 100, 20));
    l2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* check = ui::place(new ui::CheckBox(QStringLiteral(" einschalten"), page), ui::pxRect(68, 130, 100, 20));
    check->setChecked(true);
    auto* l3 = ui::place(new ui::Label(QStringLiteral("Anzahl Fragen"), page), ui::pxRect(94, 20, 100, 20));
    l3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* digits = ui::place(new ui::MaskedEdit(page), ui::pxRect(94, 130, 30, 20));
    digits->setDigits(2);
    digits->setText(QStringLiteral("30"));
    digits->setAlignment(Qt::AlignCenter);
    ui::setColors(digits, QColor(1, 0, 0), QColor(255, 255, 208));
    auto* date = ui::place(new ui::MaskedEdit(page), ui::pxRect(94, 180, 90, 20));
    date->setDateMask();
    date->setDate(QDate(2007, 3, 14));
    ui::setColors(date, QColor(1, 0, 0), QColor(255, 255, 208));
    auto* amount = ui::place(new ui::MaskedEdit(page), ui::pxRect(94, 290, 80, 20));
    amount->setPicture(QStringLiteral("@E 99999.99"));
    amount->setDecimal(1234.5);
    amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui::setColors(amount, QColor(1, 0, 0), QColor(255, 255, 140));
    auto* combo = ui::place(new ui::ComboBox({QStringLiteral("Benzin"), QStringLiteral("Diesel")}, page),
                            ui::pxRect(120, 130, 120, 22));
    combo->setValue(1);
    auto* bar = ui::place(new ui::ProgressBar(page), ui::pxRect(150, 20, 370, 14));
    bar->setTotal(200);
    bar->setPosition(90);
    bar->setBarColor(QColor(140, 0, 115));
    bar->setBackgroundColor(QColor(185, 180, 173));
    bar->setTextColor(Qt::black);

    auto* save1 =
        ui::place(new ui::BitmapButton(QStringLiteral("BS_SPEIC"), QStringLiteral("Einstellungen speichern"), &dlg),
                  ui::pxRect(256, 118, 100, 32));
    ui::place(new ui::BitmapButton(QStringLiteral("BS_HELP"), QStringLiteral("Hilfe anzeigen"), &dlg),
              ui::pxRect(256, 222, 100, 32));
    ui::place(new ui::BitmapButton(QStringLiteral("BS_ENDE"), QStringLiteral("Beenden ohne Speichern"), &dlg),
              ui::pxRect(256, 326, 100, 32));
    save1->setFocus();
    save(dlg, QStringLiteral("toolkit_sampler"));
}

class SampleRows : public ui::GridSource {
public:
    int rowCount() const override { return 14; }
    int columnCount() const override { return 5; }
    QString cell(int row, int column) const override {
        static const char* texts[] = {
            "Womit müssen Sie an dieser Kreuzung rechnen?", "Wie verhalten Sie sich bei Glätte?",
            "Was ist beim Überholen eines Radfahrers zu beachten?", "Welches Verhalten ist richtig?"};
        switch (column) {
        case 0:
            return QStringLiteral(" 1.1.%1.%2").arg(row / 3 + 1, 2, 10, QLatin1Char('0')).arg(100 + row);
        case 1:
            return QStringLiteral("%1").arg(row % 8 + 1, 4);
        case 2:
            return QString::fromUtf8(texts[row % 4]);
        case 3:
            return QStringLiteral("%1 ").arg(row * 3 % 7, 4);
        default:
            return QStringLiteral("%1 ").arg(row % 3, 4);
        }
    }
};

void renderGrid() {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataTab"));
    dlg.addCloseButton(12, 604);
    auto* title =
        ui::place(new ui::Label(QStringLiteral("Fragenkatalog - Klasse B, BE"), &dlg), ui::pxRect(8, 12, 280, 16));
    title->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    title->setColors(Qt::black, QColor(249, 224, 109));
    SampleRows rows;
    auto* grid = ui::place(new ui::Grid(&dlg), ui::pxRect(44, 12, 610, 356));
    grid->setSource(&rows, {{QStringLiteral("Nummer"), 70, Qt::AlignLeft},
                            {QStringLiteral("Thema"), 45, Qt::AlignHCenter},
                            {QStringLiteral("Text "), 415, Qt::AlignLeft},
                            {QStringLiteral("Anz. "), 30, Qt::AlignRight},
                            {QStringLiteral("Ok "), 30, Qt::AlignRight}});
    grid->setRowColorFunction([](int row) {
        return ui::RowColors{Qt::black, row % 2 == 0 ? QColor(240, 207, 32) : QColor(243, 212, 65)};
    });
    grid->setExtraHeights(7, 2);
    grid->setCurrentRow(2);
    const char* buttons[] = {"BZ_Zeig", "BZ_Such", "BZ_Alle0", "BZ_HELP", "BZ_ENDE"};
    for (int i = 0; i < 5; ++i)
        ui::place(new ui::BitmapButton(QString::fromLatin1(buttons[i]), QString(), &dlg),
                  ui::pxRect(408, 102 + 104 * i, 100, 34));
    save(dlg, QStringLiteral("grid_sample"));
}

void renderMessages() {
    {
        ui::MessageDialog dlg(ui::MessageDialog::Kind::YesNo, QStringLiteral("Alle Statistik-Daten löschen ?"),
                              QStringLiteral("Frage"));
        save(dlg, QStringLiteral("MSGYESNO"));
    }
    {
        ui::MessageDialog dlg(ui::MessageDialog::Kind::NoYes,
                              QStringLiteral("Soll das Fehlerprotokoll über das Internet\ran den Support gesendet "
                                             "werden ?"),
                              QStringLiteral("Fehlerprotokoll senden"));
        save(dlg, QStringLiteral("MSGNOYES"));
    }
    {
        ui::MessageDialog dlg(ui::MessageDialog::Kind::Info,
                              QStringLiteral("Die Einstellungen werden erst nach\rdem nächsten Start aktiviert !"),
                              QStringLiteral("Setup"));
        save(dlg, QStringLiteral("MSGINFO"));
    }
    {
        ui::MessageDialog dlg(ui::MessageDialog::Kind::YesNo,
                              QStringLiteral("Sie haben 12 Fehlerpunkte.\rÜben Sie lieber noch ein wenig !\r"
                                             "Statistik anzeigen ?"),
                              QStringLiteral("Tja, leider ..."));
        save(dlg, QStringLiteral("MSGYESNO_three_lines"));
    }
    {
        ui::MeterDialog dlg({}, QStringLiteral("Statistik-Daten ermitteln ..."), QStringLiteral("Bitte warten"));
        dlg.bar()->setTotal(1000);
        dlg.bar()->setPosition(420);
        dlg.bar()->setBarColor(QColor(107, 0, 0));
        save(dlg, QStringLiteral("MSGMETER"));
    }
}

void renderHelp(const QString& collection) {
    ui::HelpViewer viewer(collection);
    viewer.resize(900, 560);
    viewer.show();
    viewer.showContents();
    for (int i = 0; i < 100; ++i) {
        QApplication::processEvents();
        if (!viewer.currentUrl().isEmpty()) break;
        QThread::msleep(20);
    }
    viewer.showTopic(QStringLiteral("Anhalteweg"));
    save(viewer, QStringLiteral("help_topic"));
    viewer.show();
    viewer.showIndex(QStringLiteral("B"));
    for (int i = 0; i < 50; ++i) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    save(viewer, QStringLiteral("help_index"));
}

// The shell's dialogs and the main window over a program folder with sample settings.
void renderShell() {
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("TAVOLIN.INI"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("TwoUser"), QStringLiteral("1"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("LastUser"), QStringLiteral("ANNA BERG"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("LastPass"), QStringLiteral("GEHEIM"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName1"), QStringLiteral("Anna Berg"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserPass1"), QStringLiteral("geheim"));
    platform::writeProfileString(ini, QStringLiteral("User"), QStringLiteral("UserName2"), QStringLiteral("Ben Kurz"));
    platform::writeProfileString(ini, QStringLiteral("MailSupport"), QStringLiteral("Name"),
                                 QStringLiteral("Anna Berg"));
    platform::writeProfileString(ini, QStringLiteral("MailSupport"), QStringLiteral("Reply"),
                                 QStringLiteral("anna.berg@example.org"));
    ui::Context ctx(folder.path());
    shell::SETPUBLICS(ctx, false);
    {
        shell::AboutDialog dlg(ctx, false);
        save(dlg, QStringLiteral("shell_about"));
    }
    {
        shell::LoginSession session(ctx);
        shell::LoginDialog dlg(ctx, session);
        save(dlg, QStringLiteral("shell_login"));
    }
    {
        shell::SetupUserDialog dlg(ctx);
        for (int tab = 0; tab < dlg.tabs()->count(); ++tab) {
            dlg.tabs()->setCurrentIndex(tab);
            save(dlg, QStringLiteral("shell_setupuser_%1").arg(tab + 1));
        }
    }
    {
        shell::SetupDialog dlg(ctx);
        for (int tab = 0; tab < dlg.tabs()->count(); ++tab) {
            dlg.tabs()->setCurrentIndex(tab);
            save(dlg, QStringLiteral("shell_setup_%1").arg(tab + 1));
        }
    }
    {
        ctx.settings.CS_BRUSH = QStringLiteral("START1");
        shell::MainWindow window(ctx, shell::Features{}, false);
        window.setWindowTitle(QLatin1Char(' ') + ctx.settings.CRELEASE);
        window.resize(800, 600);
        save(window, QStringLiteral("shell_mainwindow"));
    }
    ui::Bitmaps::setProgramDir(g_out.absolutePath());
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: lw_gallery <output dir> [help collection]");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    g_out.mkpath(QStringLiteral("bitmaps"));
    g_out.mkpath(QStringLiteral("dialogs"));
    // Only the built-in pictures: a Styles folder beside the tool must not leak into the gallery.
    ui::Bitmaps::setProgramDir(g_out.absolutePath());
    app.setFont(ui::dialogFont());

    renderBitmaps();
    renderMessages();
    renderSampler();
    renderGrid();
    renderShell();
    if (argc > 2) renderHelp(QString::fromLocal8Bit(argv[2]));
    return 0;
}
