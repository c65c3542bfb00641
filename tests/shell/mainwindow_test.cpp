#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "core/helptopics.h"
#include "platform/inifile.h"
#include "shell/aboutbox.h"
#include "shell/features.h"
#include "shell/mainwindow.h"
#include "shell/menu.h"
#include "shell/program.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "shelltest.h"
#include "ui/controls.h"

using shell::MainWindow;
using shelltest::ShellTest;

namespace {

// The menu as the user reads it: one line per item, "—" for separators, "(aus)" after disabled items, submenus
// indented below their caption.
void describe(const QMenu* menu, const QString& indent, QStringList& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            out << indent + QStringLiteral("—");
            continue;
        }
        out << indent + a->text() + (a->isEnabled() ? QString() : QStringLiteral(" (aus)"));
        if (a->menu()) describe(a->menu(), indent + QStringLiteral("  "), out);
    }
}

QStringList describe(const QMenuBar* bar) {
    QStringList out;
    for (QAction* a : bar->actions()) {
        out << a->text();
        describe(a->menu(), QStringLiteral("  "), out);
    }
    return out;
}

QAction* findItem(const QMenuBar* bar, const QString& caption) {
    const auto all = bar->findChildren<QAction*>();
    for (QAction* a : all)
        if (a->text() == caption) return a;
    return nullptr;
}

QStringList lines(std::initializer_list<const char*> l) {
    QStringList out;
    for (const char* s : l)
        out << QString::fromUtf8(s);
    return out;
}

} // namespace

class Menu : public ShellTest {
protected:
    MainWindow& window(const shell::Features& features = {}) {
        shell::SETPUBLICS(ctx, false);
        m_window = std::make_unique<MainWindow>(ctx, features, false);
        return *m_window;
    }
    QMenuBar* bar() const { return m_window->menuBar(); }
    void trigger(const char* caption) {
        QAction* a = findItem(bar(), QString::fromUtf8(caption));
        ASSERT_NE(a, nullptr) << caption;
        a->trigger();
    }

    std::unique_ptr<MainWindow> m_window;
};

TEST_F(Menu, EveryCaptionIsThereAndLaterFeaturesAreGreyed) {
    window();
    const QStringList expected = lines({
        "&Lenkwerk",
        "  &Benutzeranmeldung",
        "  —",
        "  &Über QRT Lenkwerk-Trainer 2007 v2.41",
        "  &Verlassen / Alt-F4",
        "&Training",
        "  Klasse &A (Krafträder mit oder ohne Beiwagen) (aus)",
        "  Klasse A1 (Krafträder mit Hubraum bis 125 ccm und Leistung bis 11 kW) (aus)",
        "  —",
        "  Klasse &B/BE (Pkw mit/ohne Anhänger und Kfz bis 3,5 t) (aus)",
        "  —",
        "  Klasse &C (Kfz über 3,5 t mit/ohne Anhänger bis 750 kg) (aus)",
        "  Klasse C1 (Kfz über 3,5 bis 7,5 t mit/ohne Anhänger bis 750 kg) (aus)",
        "  Klasse CE (Kfz über 3,5 t und Anhänger über 750 kg) (aus)",
        "  —",
        "  Klasse &D (Kfz zur Personenbeförderung mit über 8 Sitzplätzen mit/ohne Anhänger bis 750 kg) (aus)",
        "  Klasse D1 (Kfz zur Personenbeförderung mit 8 bis 16 Sitzplätzen mit/ohne Anhänger bis 750 kg) (aus)",
        "  Klasse DE (Kfz zur Personenbeförderung mit mehr als 8 Sitzplätzen und Anhänger über 750 kg) (aus)",
        "  —",
        "  Klasse &M (Kleinkrafträder und Fahrräder mit Hilfsmotor) (aus)",
        "  Klasse M&O (Mofas) (aus)",
        "  Klasse &L (selbstfahrende Arbeitsmaschinen) (aus)",
        "  Klasse &S (dreirädrige Kleinkrafträder oder vierrädrige Leicht-Kfz) (aus)",
        "  Klasse &T (land- und forstwirtschaftliche Zugmaschinen bis 60 km/h) (aus)",
        "  —",
        "  Lernstand und &Prüfungsreife … (aus)",
        "&Zusätze",
        "  Der komplette &Fragenkatalog (aus)",
        "  Fragenkatalog &drucken (aus)",
        "  &Statistik zum Fragenkatalog (aus)",
        "  —",
        "  &Kfz-Steuern berechnen (aus)",
        "  &Bussgeld berechnen (aus)",
        "  &Anhalteweg berechnen (aus)",
        "&Gesetzestexte",
        "  Straßenverkehrs&ordnung",
        "  Straßenverkehrs&gesetz",
        "  &Fahrschülerausbildungsverordnung",
        "&Informationen",
        "  Infos zum &Euro-Führerschein",
        "  &Informationen und Tipps",
        "  —",
        "  &Bußgeld-Katalog",
        "  Kfz-Steuer-&Tabelle",
        "  &Kfz-Kennzeichen der BRD",
        "  &Verkehrsübungsplätze",
        "  —",
        "  Ti&pps zum Kauf eines Kfz",
        "  &Checklisten und Formulare",
        "    &Checkliste zum Kauf eines Kfz",
        "    Checkliste zum &Betrieb eines Kfz",
        "    Checkliste zum &Wintereinsatz eines Kfz",
        "    &Formular zum Thema 'Falschparken'",
        "    &Muster-Kaufvertrag",
        "  —",
        "  Internet-&Links",
        "    &Baustellen auf Autobahnen",
        "    &Radarfallen und Starenkästen",
        "    &Mitfahrzentrale",
        "    &Preisgünstig Tanken",
        "    —",
        "    Map&24 Routenplaner",
        "&Einstellungen",
        "  &Voreinstellungen",
        "  &Zweibenutzer-Modus",
        "&Hilfe",
        "  &Dokumentation",
        "  &Stichwortverzeichnis",
        "  —",
        "  &Lenkwerk Update suchen (aus)",
    });
    EXPECT_EQ(describe(bar()), expected);
    // The login item follows the login state.
    QAction* login = findItem(bar(), QStringLiteral("&Benutzeranmeldung"));
    ASSERT_NE(login, nullptr);
    ctx.setLogin(core::LoginState{0, {}, QStringLiteral("LOCAL1"), false});
    EXPECT_FALSE(login->isEnabled());
    ctx.setLogin(core::LoginState{1, QStringLiteral("Anna"), QStringLiteral("LOCAL1"), true});
    EXPECT_TRUE(login->isEnabled());
}

TEST_F(Menu, ALinkedFeatureIsEnabledAndGetsItsClass) {
    QStringList calls;
    shell::Features f;
    f.GETTHEMA = [&](core::Context&, QWidget* owner, const QString& code, const QString& description) {
        EXPECT_EQ(owner, m_window.get());
        calls << code + QStringLiteral(": ") + description;
    };
    f.BUSSRECH = [&](core::Context&, QWidget*) { calls << QStringLiteral("BUSSRECH"); };
    window(f);
    trigger("Klasse A1 (Krafträder mit Hubraum bis 125 ccm und Leistung bis 11 kW)");
    trigger("Klasse &B/BE (Pkw mit/ohne Anhänger und Kfz bis 3,5 t)");
    trigger("Klasse DE (Kfz zur Personenbeförderung mit mehr als 8 Sitzplätzen und Anhänger über 750 kg)");
    trigger("&Bussgeld berechnen");
    EXPECT_EQ(calls, lines({"A1: Krafträder mit Hubraum 125 cm3 und Leistung bis 11 kw",
                            "B / BE: Pkw mit/ohne Anhänger bis 750 Kg und Kfz bis 3,5 t",
                            "DE: Kraftomnibusse mit Anhänger über 750 kg", "BUSSRECH"}));
    EXPECT_FALSE(findItem(bar(), QStringLiteral("&Anhalteweg berechnen"))->isEnabled());
}

TEST_F(Menu, MaintainerModeAddsTheCareMenu) {
    std::filesystem::create_directories(path("maint/Bitmaps"));
    EXPECT_FALSE(shell::maintainerModeRequested(ctx)); // the picture folder alone is no switch
    lwtest::writeFile(path("maint/PFLEGEMODUS"), "");
    EXPECT_TRUE(shell::maintainerModeRequested(ctx));
    window();
    QMenuBar* plain = bar();
    EXPECT_EQ(findItem(plain, QStringLiteral("&Pflege")), nullptr);
    ctx.settings.maintainerMode = true;
    m_window = std::make_unique<MainWindow>(ctx, shell::Features{}, false);
    const QStringList all = describe(bar());
    const qsizetype at = all.indexOf(QStringLiteral("  &Verlassen / Alt-F4"));
    EXPECT_EQ(all.mid(at + 1, 6),
              lines({"  —", "  &Pflege", "    Konvertieren DBT -> DBV (aus)", "    Verschlüsseln (aus)",
                     "    Entschlüsseln (aus)", "    Bilder einlesen (aus)"}));
}

TEST_F(Menu, ProjectItemsAppearWithTheirOwnSeparator) {
    writeIni("[Project]\r\nInternet_Menue=Unsere \x9A"
             "bungsseite\r\nInternet_URL=www.example.org/lenkwerk\r\n"
             "[About]\r\nRelease=Lenkwerk \x84nderung 3\r\n");
    window();
    QStringList help = describe(bar());
    help = help.mid(help.indexOf(QStringLiteral("&Hilfe")));
    EXPECT_EQ(help, lines({"&Hilfe", "  &Dokumentation", "  &Stichwortverzeichnis", "  —", "  Unsere Übungsseite",
                           "  —", "  &Lenkwerk Update suchen (aus)"}));
    trigger("Unsere Übungsseite");
    ASSERT_EQ(scripted.shell->calls().size(), 1u);
    EXPECT_EQ(scripted.shell->calls()[0].target, QStringLiteral("http://www.example.org/lenkwerk"));

    writeIni("[Project]\r\nEmail_Menue=Schreiben Sie uns\r\nEmail_URL=info@example.org\r\n"
             "[About]\r\nRelease=Lenkwerk \x84nderung 3\r\n");
    window();
    trigger("Schreiben Sie uns");
    // The release in the subject is OEM text too, and a subject with blanks must be encoded to be an address.
    EXPECT_EQ(scripted.shell->calls().back().target,
              QStringLiteral("mailto:info@example.org?subject=Lenkwerk%20%C3%A4nderung%203"));
}

TEST_F(Menu, DocumentsHelpFilesAndLinksOpenThroughTheServices) {
    window();
    std::filesystem::create_directory(path("TEXTE"));
    lwtest::writeFile(path("TEXTE/STVG.PDF"), "%PDF-1.4");
    trigger("Straßenverkehrs&gesetz");
    EXPECT_TRUE(scripted.messages->shown().empty());
    EXPECT_EQ(scripted.shell->calls().back().target, QString::fromStdString(path("TEXTE/STVG.PDF").string()));
    trigger("&Radarfallen und Starenkästen");
    EXPECT_TRUE(scripted.shell->calls().back().target.startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(scripted.messages->shown().empty());

    trigger("Infos zum &Euro-Führerschein");
    trigger("&Stichwortverzeichnis");
    const auto& help = scripted.help->calls();
    ASSERT_EQ(help.size(), 2u);
    EXPECT_EQ(help[0].what, QStringLiteral("contents"));
    EXPECT_EQ(help[0].helpFile, QStringLiteral(".\\TEXTE\\EUROFSCH.HLP"));
    EXPECT_EQ(help[1].what, QStringLiteral("index"));
    EXPECT_EQ(help[1].helpFile, core::kHelpFile);
    EXPECT_EQ(help[1].argument, QString());
}

TEST_F(Menu, WhatCannotBeOpenedIsNamedInTheWarningBox) {
    window();
    std::filesystem::create_directory(path("TEXTE"));
    lwtest::writeFile(path("TEXTE/STVG.PDF"), "%PDF-1.4");
    lwtest::writeFile(path("TEXTE/KV.RTF"), "{\\rtf1}");
    scripted.shell->setDocumentResult(core::ShellService::Result::NoProgram);
    scripted.shell->setUrlResult(false);
    trigger("Straßenverkehrs&gesetz");  // no program for PDF files at all
    trigger("&Muster-Kaufvertrag");     // none for RTF files
    trigger("&Mitfahrzentrale");        // none for web pages
    trigger("Straßenverkehrs&ordnung"); // the file is missing
    const auto& shown = scripted.messages->shown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Es wurde kein Acrobat-Reader gefunden!"));
    EXPECT_TRUE(shown[1].text.contains(QString::fromStdString(path("TEXTE/KV.RTF").string()))) << shown[1].text;
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("kein Programm"))) << shown[1].text;
    EXPECT_TRUE(shown[2].text.contains(QStringLiteral("https://www.blablacar.de/"))) << shown[2].text;
    EXPECT_TRUE(shown[3].text.contains(QStringLiteral("Stvo.pdf"))) << shown[3].text;
    EXPECT_TRUE(shown[3].text.contains(QStringLiteral("nicht gefunden"))) << shown[3].text;
    for (const auto& s : shown) {
        EXPECT_EQ(s.kind, lwtest::ScriptedMessages::Kind::Warning);
        EXPECT_EQ(s.title, QStringLiteral("Problem"));
    }

    writeIni("[Project]\r\nEmail_Menue=Schreiben Sie uns\r\nEmail_URL=info@example.org\r\n");
    window();
    trigger("Schreiben Sie uns");
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_TRUE(shown[4].text.contains(QStringLiteral("\rinfo@example.org\r"))) << shown[4].text;
}

class About : public ShellTest {
protected:
    void SetUp() override {
        writeIni("[About]\r\nRelease=Lenkwerk 7\r\nRelSub=7.01\r\nFirma1=Erste Zeile\r\nEmail=post@example.org\r\n");
    }
    void TearDown() override { shell::setAboutTimes({}); }

    // Milliseconds until the about box closed by itself.
    qint64 openAndWait(bool startup) {
        QElapsedTimer t;
        shelltest::onNextDialog<shell::AboutDialog>([&t](shell::AboutDialog*) { t.start(); });
        shell::ABOUTINFO(ctx, startup);
        return t.elapsed();
    }
};

TEST_F(About, AtStartUpItClosesAfterThreeSeconds) {
    const qint64 ms = openAndWait(true);
    EXPECT_GE(ms, 2800);
    EXPECT_LT(ms, 4500);
    EXPECT_EQ(ctx.settings.CRELEASE, QStringLiteral("Lenkwerk 7"));
    EXPECT_EQ(ctx.settings.CRELNUM, QStringLiteral("7.01"));
}

TEST_F(About, FromTheMenuItStaysLongerAndAClickClosesItAtOnce) {
    shell::setAboutTimes({100, 600});
    EXPECT_GE(openAndWait(false), 500);
    EXPECT_LT(openAndWait(true), 450);

    shell::setAboutTimes({60000, 60000});
    QElapsedTimer t;
    t.start();
    shelltest::onNextDialog<shell::AboutDialog>([](shell::AboutDialog* d) {
        EXPECT_TRUE(d->firmLines()->text().startsWith(QStringLiteral("Erste Zeile\n")));
        EXPECT_TRUE(d->contactLines()->text().endsWith(QStringLiteral("\npost@example.org")));
        QTest::mouseClick(d->firmLines(), Qt::LeftButton);
    });
    shell::ABOUTINFO(ctx, false);
    EXPECT_LT(t.elapsed(), 5000);
}

class Window : public ShellTest {
protected:
    void SetUp() override {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(QColor(20, 120, 200));
        std::filesystem::create_directories(path("Bitmaps"));
        ASSERT_TRUE(picture.save(QString::fromStdString(path("Bitmaps/start2.bmp").string()), "BMP"));
        writeIni("[Setup]\r\nBackground=START1\r\n");
        shell::SETPUBLICS(ctx, false);
        ASSERT_EQ(ctx.settings.CS_BRUSH, QStringLiteral("START2"));
    }

    // Shows the window and waits until the start actions have run and the background is there.
    void show(MainWindow& w) {
        w.resize(400, 300);
        w.show();
        ASSERT_TRUE(uitest::waitFor([&] { return w.started(); }));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    }
};

TEST_F(Window, ThePictureComesOnlyAfterTheStartActionsAndFillsTheClientArea) {
    MainWindow w(ctx, {}, false);
    int callsDuringStart = -1;
    bool backgroundDuringStart = true;
    w.setStartActions([&] {
        callsDuringStart = w.makeDlgCalls();
        backgroundDuringStart = w.background() != nullptr;
    });
    show(w);
    EXPECT_EQ(callsDuringStart, 1);
    EXPECT_FALSE(backgroundDuringStart);
    ASSERT_NE(w.background(), nullptr);
    EXPECT_EQ(w.background()->geometry(), w.centralWidget()->rect());
    const QImage shot = w.background()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(20, 120, 200));
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));

    w.resize(520, 410);
    ASSERT_TRUE(uitest::waitFor([&] { return w.background() && w.background()->width() > 500; }));
    EXPECT_EQ(w.background()->size(), w.centralWidget()->size());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_NE(w.background(), nullptr);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(Window, ARightClickAsksBeforeEnding) {
    MainWindow w(ctx, {}, false);
    show(w);
    bool closed = false;
    QObject::connect(&w, &MainWindow::closed, [&] { closed = true; });
    scripted.messages->queueAnswers({false, true});
    QTest::mouseClick(w.background(), Qt::RightButton);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(w.isVisible());
    QTest::mouseClick(w.background(), Qt::LeftButton); // no question
    EXPECT_EQ(scripted.messages->shown().size(), 1u);
    QTest::mouseClick(w.background(), Qt::RightButton);
    EXPECT_TRUE(closed);
    ASSERT_EQ(scripted.messages->shown().size(), 2u);
    EXPECT_EQ(scripted.messages->shown()[1].text, QStringLiteral("Norvale Lenkwerk beenden"));
    EXPECT_EQ(scripted.messages->shown()[1].title, QStringLiteral("Programmende"));
}

TEST_F(Window, TheLogoSitsBottomLeftAndOpensItsLink) {
    writeIni("[Setup]\r\nLinkLogo=BZ_HELP\r\nLogoLink=www.example.org\r\n");
    MainWindow w(ctx, {}, false);
    show(w);
    QLabel* logo = w.background()->logo();
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->x(), 20);
    EXPECT_EQ(logo->geometry().bottom() + 1, w.background()->height() - 20);
    QTest::mouseClick(logo, Qt::LeftButton);
    ASSERT_EQ(scripted.shell->calls().size(), 1u);
    EXPECT_EQ(scripted.shell->calls()[0].target, QStringLiteral("http://www.example.org"));
}

TEST_F(Window, F1OpensTheHelpAtTheCurrentTopic) {
    shell::HelpKey key(ctx);
    qApp->installEventFilter(&key);
    MainWindow w(ctx, {}, false);
    show(w);
    ctx.helpTopic = QStringLiteral("Fragentraining");
    QTest::keyClick(&w, Qt::Key_F1);
    qApp->removeEventFilter(&key);
    ASSERT_EQ(scripted.help->calls().size(), 1u);
    EXPECT_EQ(scripted.help->calls()[0].what, QStringLiteral("topic"));
    EXPECT_EQ(scripted.help->calls()[0].argument, QStringLiteral("Fragentraining"));
}

TEST_F(Window, ANormalWindowKeepsItsPlaceAndAMaximisedOneDoesNot) {
    {
        MainWindow w(ctx, {}, false);
        show(w);
        w.move(30, 40);
        ASSERT_TRUE(uitest::waitFor([&] { return ini().find("0_Left=30") != std::string::npos; }));
        EXPECT_EQ(ini().find("WINSIZE"), std::string::npos);
        // Maximising it makes the next start maximised and leaves the rectangle as it was.
        w.showMaximized();
        ASSERT_TRUE(uitest::waitFor([&] { return ini().find("WINSIZE=1") != std::string::npos; }));
        EXPECT_NE(ini().find("0_Left=30"), std::string::npos);
    }
    std::filesystem::remove(path("TAVOLIN.INI"));
    MainWindow w(ctx, {}, true);
    show(w);
    w.move(50, 60);
    w.resize(300, 200);
    QTest::qWait(50);
    EXPECT_EQ(ini(), "");
}

class Program : public ShellTest {};

TEST_F(Program, AStartRunsItsStepsInOrderAndTheExitBacksUpTheSettings) {
    shelltest::writeCatalog(dir.path());
    lwtest::writeFile(path("tvupdate.exe"), "x");
    writeIni("[Setup]\r\nBackground=START3\r\n");
    lwtest::writeFile(path("TAVOLIN.SAV"), "[Setup]\r\nBackground=START1\r\nMAXFRAGEN=20\r\n"
                                           "[System]\r\n0_Bottom=500\r\n0_Right=700\r\n");
    shell::setAboutTimes({50, 50});
    MainWindow* seen = nullptr;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* main = qobject_cast<MainWindow*>(w);
            if (!main || !main->started()) continue;
            poll.stop();
            seen = main;
            // The greeting and user 1's table came with the start, after the window was shown.
            EXPECT_TRUE(exists("LOCAL1.DBF"));
            EXPECT_EQ(scripted.sound->played().size(), 1);
            EXPECT_EQ(main->windowTitle(), QStringLiteral(" QRT Lenkwerk-Trainer 2007 v2.41"));
            EXPECT_FALSE(findItem(main->menuBar(), QStringLiteral("&Benutzeranmeldung"))->isEnabled());
            scripted.messages->queueAnswer(true);
            QTest::mouseClick(main->background(), Qt::RightButton);
        }
    });
    poll.start();
    EXPECT_EQ(shell::runProgram(ctx, {}), 0);
    shell::setAboutTimes({});
    ASSERT_NE(seen, nullptr);
    EXPECT_FALSE(exists("tvupdate.exe"));
    EXPECT_EQ(ctx.settings.NS_MAXFRAGEN, 20); // the backup won over the settings file
    EXPECT_EQ(ctx.settings.CS_BRUSH, QStringLiteral("START2"));
    EXPECT_EQ(lwtest::readFile(path("TAVOLIN.SAV")), ini());
    EXPECT_NE(ini().find("0_Width=700"), std::string::npos);
}

TEST_F(Program, ARectangleOffTheScreenStartsAVisibleWindowAndIsNotKept) {
    shelltest::writeCatalog(dir.path());
    // What a run on a larger desktop left behind, backup included.
    lwtest::writeFile(path("TAVOLIN.SAV"), "[System]\r\n0_Left=99999\r\n");
    shell::setAboutTimes({50, 50});
    QRect shown;
    QRect screen;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* main = qobject_cast<MainWindow*>(w);
            if (!main || !main->started()) continue;
            poll.stop();
            shown = main->geometry();
            screen = main->screen()->geometry();
            scripted.messages->queueAnswer(true);
            QTest::mouseClick(main->background(), Qt::RightButton);
        }
    });
    poll.start();
    EXPECT_EQ(shell::runProgram(ctx, {}), 0);
    shell::setAboutTimes({});
    EXPECT_GE(shown.width(), 640);
    EXPECT_GE(shown.height(), 480);
    EXPECT_TRUE(screen.contains(shown.center())) << shown.x() << "," << shown.y();
    // Nothing the window went through on the way was saved as a negative or tiny size.
    EXPECT_EQ(ini().find("=-"), std::string::npos) << ini();
    const int width = platform::readProfileString(shell::iniPath(ctx), QStringLiteral("System"),
                                                  QStringLiteral("0_Width"), QStringLiteral("640"))
                          .toInt();
    EXPECT_GE(width, 640) << ini();
}
