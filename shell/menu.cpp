#include "shell/menu.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QUrl>
#include <QUrlQuery>

#include "shell/aboutbox.h"
#include "shell/features.h"
#include "shell/logindialog.h"
#include "shell/setupdialog.h"
#include "shell/setupuser.h"
#include "shell/startup.h"
#include "core/context.h"
#include "core/helptopics.h"

namespace shell {

namespace {

struct TrainingClass {
    const char* caption;
    const char* code;
    const char* description;
    bool separatorAfter;
};

// The Training menu in its order; the description goes to the theme selection with the code. The units of the A1
// and CE captions are the right ones (cubic centimetres, kilowatts, tonnes).
const TrainingClass kClasses[] = {
    {"Klasse &A (Krafträder mit oder ohne Beiwagen)", "A", "Krafträder, mit oder ohne Beiwagen", false},
    {"Klasse A1 (Krafträder mit Hubraum bis 125 ccm und Leistung bis 11 kW)", "A1",
     "Krafträder mit Hubraum 125 cm3 und Leistung bis 11 kw", true},
    {"Klasse &B/BE (Pkw mit/ohne Anhänger und Kfz bis 3,5 t)", "B / BE",
     "Pkw mit/ohne Anhänger bis 750 Kg und Kfz bis 3,5 t", true},
    {"Klasse &C (Kfz über 3,5 t mit/ohne Anhänger bis 750 kg)", "C", "Kfz über 3,5 t und Anhänger bis 750 kg", false},
    {"Klasse C1 (Kfz über 3,5 bis 7,5 t mit/ohne Anhänger bis 750 kg)", "C1",
     "Kfz über 3,5 - 7,5 t und Anhänger bis 750 kg", false},
    {"Klasse CE (Kfz über 3,5 t und Anhänger über 750 kg)", "CE", "Kfz über 3,5 t und Anhänger über 750 kg", true},
    {"Klasse &D (Kfz zur Personenbeförderung mit über 8 Sitzplätzen mit/ohne Anhänger bis 750 kg)", "D",
     "Kraftomnibusse mit mehr als 8 Plätzen", false},
    {"Klasse D1 (Kfz zur Personenbeförderung mit 8 bis 16 Sitzplätzen mit/ohne Anhänger bis 750 kg)", "D1",
     "Kraftomnibusse mit 8 - 15 Sitzplätzen und Anhänger bis 750 kg", false},
    {"Klasse DE (Kfz zur Personenbeförderung mit mehr als 8 Sitzplätzen und Anhänger über 750 kg)", "DE",
     "Kraftomnibusse mit Anhänger über 750 kg", true},
    {"Klasse &M (Kleinkrafträder und Fahrräder mit Hilfsmotor)", "M", "Kleinkrafträder und Fahrräder mit Hilfsmotor",
     false},
    {"Klasse M&O (Mofas)", "MO", "Mofas", false},
    {"Klasse &L (selbstfahrende Arbeitsmaschinen)", "L", "selbstfahrende Arbeitsmaschinen", false},
    {"Klasse &S (dreirädrige Kleinkrafträder oder vierrädrige Leicht-Kfz)", "S",
     "dreirädrige Kleinkrafträder oder vierrädrige Leicht-Kfz", false},
    {"Klasse &T (land- und forstwirtschaftliche Zugmaschinen bis 60 km/h)", "T",
     "land- und forstwirtschaftliche Zugmaschinen bis 60 km/h", false},
};


bool looksLikeAddress(const QString& target) {
    const QString t = target.trimmed().toLower();
    return t.startsWith(QStringLiteral("www.")) || t.startsWith(QStringLiteral("http:")) ||
           t.startsWith(QStringLiteral("https:")) || t.startsWith(QStringLiteral("ftp:")) ||
           t.startsWith(QStringLiteral("mailto:"));
}

// A menu item that starts `run`, or a disabled one when there is nothing to start.
QAction* addItem(QMenu* menu, const QString& caption, std::function<void()> run) {
    QAction* action = menu->addAction(caption);
    if (run)
        QObject::connect(action, &QAction::triggered, menu, [run = std::move(run)] { run(); });
    else
        action->setEnabled(false);
    return action;
}

// A feature's dialog with the main window as owner; nothing when the feature is not there.
std::function<void()> dialog(core::Context& ctx, QMainWindow* window, const Features::Dialog& feature) {
    if (!feature) return {};
    return [&ctx, window, feature] { feature(ctx, window); };
}

std::function<void()> command(core::Context& ctx, const Features::Command& feature) {
    if (!feature) return {};
    return [&ctx, feature] { feature(ctx); };
}

} // namespace

void openAddress(core::Context& ctx, const QString& target) {
    const QString t = target.trimmed();
    if (t.isEmpty()) return;
    if (looksLikeAddress(t))
        openUrl(ctx, QUrl::fromUserInput(t).toString(QUrl::FullyEncoded));
    else
        openDocument(ctx, t);
}

QString mailtoAddress(const QString& address, const QString& subject) {
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(address.trimmed());
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), subject);
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

QMenuBar* MAKEMENU(core::Context& ctx, QMainWindow* window, const Features& features) {
    auto* bar = new QMenuBar(window);
    // Menus keep the desktop's menu font; the window's small dialog font is for its dialogs.
    bar->setFont(QApplication::font(bar));
    core::Settings& s = ctx.settings;

    QMenu* program = bar->addMenu(QStringLiteral("&Lenkwerk"));
    QAction* login = addItem(program, QStringLiteral("&Benutzeranmeldung"), [&ctx, window] { LOGIN(ctx, window); });
    // Offered while two-user mode is on.
    QObject::connect(&ctx, &core::Context::loginChanged, login, [&ctx, login] { login->setEnabled(ctx.login().twoUser); });
    program->addSeparator();
    addItem(program, QStringLiteral("&Über ") + s.CRELEASE, [&ctx, window] { ABOUTINFO(ctx, false, window); });
    addItem(program, QStringLiteral("&Verlassen / Alt-F4"), [window] { window->close(); });
    if (s.maintainerMode) {
        program->addSeparator();
        QMenu* care = program->addMenu(QStringLiteral("&Pflege"));
        addItem(care, QStringLiteral("Konvertieren DBT -> DBV"), command(ctx, features.KONVTRANS));
        addItem(care, QStringLiteral("Verschlüsseln"), command(ctx, features.DECRYPTALL));
        addItem(care, QStringLiteral("Entschlüsseln"), command(ctx, features.ENCRYPTALL));
        addItem(care, QStringLiteral("Bilder einlesen"), command(ctx, features.IMPORTPICS));
    }

    QMenu* training = bar->addMenu(QStringLiteral("&Training"));
    for (const TrainingClass& c : kClasses) {
        std::function<void()> run;
        if (features.GETTHEMA) {
            const QString code = QString::fromUtf8(c.code);
            const QString description = QString::fromUtf8(c.description);
            run = [&ctx, window, f = features.GETTHEMA, code, description] { f(ctx, window, code, description); };
        }
        addItem(training, QString::fromUtf8(c.caption), run);
        if (c.separatorAfter) training->addSeparator();
    }
    training->addSeparator();
    QAction* progressItem =
        addItem(training, QStringLiteral("Lernstand und &Prüfungsreife …"), dialog(ctx, window, features.LERNSTAND));
    // Training and exams need a readable catalog; without one their items say why they are off.
    training->setToolTipsVisible(true);
    QObject::connect(training, &QMenu::aboutToShow, training,
                     [&ctx, training, progressItem, offered = bool(features.GETTHEMA),
                      progressOffered = bool(features.LERNSTAND)] {
        const QString why =
            ctx.catalogProblem.isEmpty()
                ? QString()
                : QStringLiteral("Die Fragendatenbank kann nicht gelesen werden: ") + ctx.catalogProblem;
        for (QAction* item : training->actions()) {
            if (item->isSeparator()) continue;
            item->setEnabled((item == progressItem ? progressOffered : offered) && why.isEmpty());
            item->setToolTip(why);
        }
    });

    QMenu* extras = bar->addMenu(QStringLiteral("&Zusätze"));
    addItem(extras, QStringLiteral("Der komplette &Fragenkatalog"), dialog(ctx, window, features.KATALOG));
    addItem(extras, QStringLiteral("Fragenkatalog &drucken"), dialog(ctx, window, features.KATADRUCK));
    addItem(extras, QStringLiteral("&Statistik zum Fragenkatalog"), dialog(ctx, window, features.KATASTAT));
    extras->addSeparator();
    addItem(extras, QStringLiteral("&Kfz-Steuern berechnen"), dialog(ctx, window, features.KFZ_STEUER));
    addItem(extras, QStringLiteral("&Bussgeld berechnen"), dialog(ctx, window, features.BUSSRECH));
    addItem(extras, QStringLiteral("&Anhalteweg berechnen"), dialog(ctx, window, features.ANHAWEG));

    auto pdf = [&ctx](const QString& name) { return [&ctx, name] { openPdf(ctx, name); }; };
    auto help = [&ctx](const QString& name) { return [&ctx, name] { ctx.help().showContents(name); }; };
    auto document = [&ctx](const QString& name) { return [&ctx, name] { openDocument(ctx, name); }; };
    auto web = [&ctx](const QString& url) { return [&ctx, url] { openUrl(ctx, url); }; };

    QMenu* laws = bar->addMenu(QStringLiteral("&Gesetzestexte"));
    addItem(laws, QStringLiteral("Straßenverkehrs&ordnung"), pdf(QStringLiteral(".\\texte\\Stvo.pdf")));
    addItem(laws, QStringLiteral("Straßenverkehrs&gesetz"), pdf(QStringLiteral(".\\texte\\Stvg.pdf")));
    addItem(laws, QStringLiteral("&Fahrschülerausbildungsverordnung"), pdf(QStringLiteral(".\\texte\\Aubvo.pdf")));

    QMenu* info = bar->addMenu(QStringLiteral("&Informationen"));
    addItem(info, QStringLiteral("Infos zum &Euro-Führerschein"), help(QStringLiteral(".\\TEXTE\\EUROFSCH.HLP")));
    addItem(info, QStringLiteral("&Informationen und Tipps"), help(QStringLiteral(".\\TEXTE\\AKTINFOS.HLP")));
    info->addSeparator();
    addItem(info, QStringLiteral("&Bußgeld-Katalog"), pdf(QStringLiteral(".\\texte\\BuGeKata.pdf")));
    addItem(info, QStringLiteral("Kfz-Steuer-&Tabelle"), help(QStringLiteral(".\\TEXTE\\KFZSTEUR.HLP")));
    addItem(info, QStringLiteral("&Kfz-Kennzeichen der BRD"), help(QStringLiteral(".\\TEXTE\\KFZKENNZ.HLP")));
    addItem(info, QStringLiteral("&Verkehrsübungsplätze"), help(QStringLiteral(".\\TEXTE\\VerPlatz.HLP")));
    info->addSeparator();
    addItem(info, QStringLiteral("Ti&pps zum Kauf eines Kfz"), help(QStringLiteral(".\\TEXTE\\KaufTipp.HLP")));
    QMenu* forms = info->addMenu(QStringLiteral("&Checklisten und Formulare"));
    addItem(forms, QStringLiteral("&Checkliste zum Kauf eines Kfz"),
            document(QStringLiteral(".\\texte\\Kauftipp.rtf")));
    addItem(forms, QStringLiteral("Checkliste zum &Betrieb eines Kfz"),
            document(QStringLiteral(".\\texte\\Checkliste.rtf")));
    addItem(forms, QStringLiteral("Checkliste zum &Wintereinsatz eines Kfz"),
            document(QStringLiteral(".\\texte\\Winter.rtf")));
    addItem(forms, QStringLiteral("&Formular zum Thema 'Falschparken'"),
            document(QStringLiteral(".\\texte\\Falschparken.rtf")));
    addItem(forms, QStringLiteral("&Muster-Kaufvertrag"), document(QStringLiteral(".\\texte\\KV.rtf")));
    info->addSeparator();
    QMenu* links = info->addMenu(QStringLiteral("Internet-&Links"));
    addItem(links, QStringLiteral("&Baustellen auf Autobahnen"), web(QStringLiteral("https://verkehr.autobahn.de/")));
    addItem(links, QStringLiteral("&Radarfallen und Starenkästen"), web(QStringLiteral("https://www.blitzer.de/")));
    addItem(links, QStringLiteral("&Mitfahrzentrale"), web(QStringLiteral("https://www.blablacar.de/")));
    addItem(links, QStringLiteral("&Preisgünstig Tanken"), web(QStringLiteral("https://www.clever-tanken.de/")));
    links->addSeparator();
    // The route planner the item is named after is gone; the address is an open one that does the same.
    addItem(links, QStringLiteral("Map&24 Routenplaner"),
            web(QStringLiteral("https://www.openstreetmap.org/directions")));

    QMenu* settings = bar->addMenu(QStringLiteral("&Einstellungen"));
    addItem(settings, QStringLiteral("&Voreinstellungen"), [&ctx, window] { SETUP(ctx, window); });
    addItem(settings, QStringLiteral("&Zweibenutzer-Modus"), [&ctx, window] { SETUPUSER(ctx, window); });

    QMenu* helpMenu = bar->addMenu(QStringLiteral("&Hilfe"));
    helpMenu->setToolTipsVisible(true);
    addItem(helpMenu, QStringLiteral("&Dokumentation"), help(core::kHelpFile));
    QAction* index = addItem(helpMenu, QStringLiteral("&Stichwortverzeichnis"),
                             [&ctx] { ctx.help().showIndex(core::kHelpFile, QString()); });
    index->setStatusTip(QStringLiteral("Stichwortverzeichnis anzeigen"));
    index->setToolTip(index->statusTip());
    if (!s.CS_WWW_M.isEmpty() || !s.CS_EMAIL_M.isEmpty()) helpMenu->addSeparator();
    if (!s.CS_WWW_M.isEmpty()) {
        addItem(helpMenu, projectText(ctx, s.CS_WWW_M), [&ctx] { openAddress(ctx, ctx.settings.CS_WWW); });
    }
    if (!s.CS_EMAIL_M.isEmpty()) {
        addItem(helpMenu, projectText(ctx, s.CS_EMAIL_M), [&ctx] {
            openUrl(ctx, mailtoAddress(ctx.settings.CS_EMAIL, projectText(ctx, ctx.settings.CRELEASE)));
        });
    }
    helpMenu->addSeparator();
    QAction* update =
        addItem(helpMenu, QStringLiteral("&Lenkwerk Update suchen"), dialog(ctx, window, features.DOWNLOADIT));
    update->setStatusTip(QStringLiteral("Im Internet nach neuer Version suchen"));
    update->setToolTip(update->statusTip());

    window->setMenuBar(bar);
    return bar;
}

} // namespace shell
