// Renders the toolkit's built-in bitmaps and dialogs into PNG files, so their look can be reviewed without a
// screen: lw_gallery <output dir> [help collection file]. Run under QT_QPA_PLATFORM=offscreen.
// bitmaps/ holds every picture at 1x and 2x, sheets/ the buttons, tiles and small pictures side by side,
// dialogs/ each skinned dialog with sample contents.
// lw_gallery --accessibility walks the accessibility tree of every dialog instead and fails on a control that a
// screen reader could not name.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include "calc/anhawegdialog.h"
#include "calc/bussrechdialog.h"
#include "calc/kfzsteudialog.h"
#include "core/context.h"
#include "platform/inifile.h"
#include "shell/aboutbox.h"
#include "shell/features.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/mainwindow.h"
#include "shell/settings.h"
#include "shell/setupdialog.h"
#include "shell/setupuser.h"
#include "store/calendar.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"
#include "ui/help/helpviewer.h"
#include "ui/maskededit.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"
#include "ui/skinneddialog.h"

#include "app/artwork.h"
#include "diaggallery.h"
#include "pages.h"
#include "printgallery.h"
#include "servicegallery.h"
#include "statsgallery.h"
#include "support/accessibility.h"
#include "support/scripted.h"
#include "viewergallery.h"

namespace {

QDir g_out;
bool g_accessibility = false;
int g_problems = 0;

void save(QWidget& w, const QString& name) {
    w.show();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    if (g_accessibility) {
        for (const QString& problem : lwtest::accessibilityProblems(&w)) {
            qWarning("%s: %s", qPrintable(name), qPrintable(problem));
            ++g_problems;
        }
        w.hide();
        return;
    }
    const QString path = g_out.filePath(QStringLiteral("dialogs/") + name + QStringLiteral(".png"));
    if (!w.grab().save(path)) qWarning("could not write %s", qPrintable(path));
    w.hide();
}

void renderBitmaps() {
    const QStringList names =
        ui::Bitmaps::builtInSkins() + ui::Bitmaps::builtInButtons() + ui::Bitmaps::builtInPictures();
    for (const QString& name : names) {
        for (qreal dpr : {1.0, 2.0}) {
            const QPixmap pm = ui::Bitmaps::builtIn(name, dpr);
            const QString suffix = dpr > 1 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
            pm.save(g_out.filePath(QStringLiteral("bitmaps/") + name + suffix));
        }
    }
}

// Contact sheets: every built-in bitmap of a family side by side on the dialog body colour, at one scale, so
// they can be compared at a glance.
void renderSheet(const QString& file, const QStringList& names, qreal dpr, int columns) {
    const int gap = 10;
    QList<QPixmap> pms;
    int cellW = 0, cellH = 0;
    for (const QString& n : names) {
        pms << ui::Bitmaps::builtIn(n, dpr);
        cellW = qMax(cellW, ui::Bitmaps::logicalSize(pms.last()).width());
        cellH = qMax(cellH, ui::Bitmaps::logicalSize(pms.last()).height() + 14);
    }
    const int rows = (int(names.size()) + columns - 1) / columns;
    QPixmap sheet(QSize(columns * (cellW + gap) + gap, rows * (cellH + gap) + gap) * dpr);
    sheet.setDevicePixelRatio(dpr);
    sheet.fill(QColor(0xf3, 0xea, 0xd3));
    QPainter p(&sheet);
    p.setFont(ui::fontPx(QStringLiteral("Arial"), 10));
    for (int i = 0; i < names.size(); ++i) {
        const int x = gap + (i % columns) * (cellW + gap), y = gap + (i / columns) * (cellH + gap);
        p.setPen(Qt::darkGray);
        p.drawText(QRect(x, y, cellW, 12), Qt::AlignLeft, names[i]);
        p.drawPixmap(x, y + 14, pms[i]);
    }
    p.end();
    sheet.save(g_out.filePath(QStringLiteral("sheets/") + file));
}

void renderSheets() {
    QStringList buttons, tiles;
    for (const QString& n : ui::Bitmaps::builtInButtons())
        (n.startsWith(QLatin1String("BT_")) ? tiles : buttons) << n;
    const QStringList small = {QStringLiteral("SEEK_WIN"), QStringLiteral("Stop_Max"), QStringLiteral("Tavolin"),
                               QStringLiteral("Update")};
    const QStringList fillers = {QStringLiteral("KEINBKAT"), QStringLiteral("Bild1"), QStringLiteral("Bild2"),
                                 QStringLiteral("Bild3"),    QStringLiteral("Bild4"), QStringLiteral("AB_QRT")};
    for (qreal dpr : {1.0, 2.0}) {
        const QString suffix = dpr > 1 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
        renderSheet(QStringLiteral("buttons") + suffix, buttons, dpr, 6);
        renderSheet(QStringLiteral("tiles") + suffix, tiles, dpr, 2);
        renderSheet(QStringLiteral("icons") + suffix, small, dpr, 4);
        renderSheet(QStringLiteral("fillers") + suffix, fillers, dpr, 2);
    }
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
    ui::HelpViewer viewer(collection, ui::helpPageFont());
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
    core::Context ctx(folder.path());
    lwtest::useScriptedServices(ctx);
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

// The calculators with the results of typical cases, over a program folder with the delivered fine table.
void renderCalculators() {
    QTemporaryDir folder;
    core::Context ctx(folder.path());
    lwtest::useScriptedServices(ctx);
    {
        // The example car of the tax office's leaflet, a three-litre diesel.
        namespace kfz = calc::kfzsteu;
        kfz::SteuerTable table(ctx.dir());
        kfz::Input input;
        input.NHUBRAUM = 1598;
        input.NKEYNR = 40;
        input.DERSTZUL = store::julianDay(2003, 3, 1);
        input.NVERBRAUCH = 3;
        input.NANTRIEB = 2;
        kfz::EuroNorm norm;
        calc::TaxDialog dlg(ctx, table, input, norm);
        dlg.calculate();
        save(dlg, QStringLiteral("Kfz_Steu"));
    }
    if (QFile::copy(QStringLiteral(LW_GALLERY_FINES), folder.filePath(QStringLiteral("BUSSRECH.DBF")))) {
        QString error;
        auto table = calc::bussrech::FineTable::open(ctx.dir(), &error);
        if (!table) qWarning("%s", qPrintable(error));
        if (table) {
            calc::FineDialog dlg(ctx, *table);
            // 31 km/h too fast in town; 120 km/h at less than 3/10 of half the speedometer; 0,6 per mille the
            // first time; the first of the miscellaneous offences.
            dlg.excessField()->setText(QStringLiteral("31"));
            dlg.lookUp(calc::FineDialog::Speeding);
            for (int i = 0; i < dlg.distanceList()->count(); ++i)
                if (dlg.distanceList()->itemText(i).contains(QStringLiteral("unter 3/10"))) {
                    dlg.distanceList()->setCurrentIndex(i);
                    break;
                }
            dlg.speedField()->setText(QStringLiteral("120"));
            dlg.lookUp(calc::FineDialog::Distance);
            dlg.promilleField()->setText(QStringLiteral("0,6"));
            dlg.lookUp(calc::FineDialog::Alcohol);
            dlg.miscList()->setCurrentIndex(1);
            for (int tab = 0; tab < dlg.tabs()->count(); ++tab) {
                dlg.tabs()->setCurrentIndex(tab);
                save(dlg, QStringLiteral("BussGeld_%1").arg(tab + 1));
            }
        }
    } else {
        qWarning("no fine table at %s: the fine calculator is left out", LW_GALLERY_FINES);
    }
    {
        // 100 km/h on wet concrete.
        calc::StoppingDialog dlg(ctx);
        dlg.speedField()->setText(QStringLiteral("100"));
        dlg.roadList()->setCurrentIndex(3);
        save(dlg, QStringLiteral("AnhaWeg"));
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "--accessibility") {
        g_accessibility = true;
        --argc;
        ++argv;
    }
    if (argc < 2) {
        qWarning("usage: lw_gallery [--accessibility] <output dir> [help collection]");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    g_out.mkpath(QStringLiteral("bitmaps"));
    g_out.mkpath(QStringLiteral("dialogs"));
    g_out.mkpath(QStringLiteral("sheets"));
    // Only the built-in pictures: a Styles folder beside the tool must not leak into the gallery.
    ui::Bitmaps::setProgramDir(g_out.absolutePath());
    app.setFont(ui::dialogFont());

    app::registerArtwork();
    if (!g_accessibility) {
        renderBitmaps();
        renderSheets();
    }
    renderMessages();
    gallery::renderTraining(save);
    gallery::renderExam(save);
    gallery::renderStatistics(save);
    gallery::renderViewer(save);
    gallery::renderPrintout(save);
    gallery::renderServices(save);
    gallery::renderDiagnostics(save);
    gallery::renderProgress(save);
    renderShell();
    renderCalculators();
    if (argc > 2) renderHelp(QString::fromLocal8Bit(argv[2]));
    if (g_accessibility) qWarning("%d controls without name or role", g_problems);
    return g_problems == 0 ? 0 : 1;
}
