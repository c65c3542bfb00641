// Every skinned dialog of the program as its Part lays it out, with sample contents: labels in the colours
// the dialogs give them, bitmap buttons, bars, fields. The real dialogs live in their modules; these
// stand-ins only show how the artwork carries the controls.
#include "mocks.h"

#include <QLabel>
#include <QRadioButton>

#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "ui/skinneddialog.h"

namespace gallery {

namespace {

ui::Label* label(QWidget* parent, const QRect& r, const QString& text, std::optional<QColor> back = std::nullopt,
                 Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter, const QFont& font = ui::dialogFont()) {
    auto* l = ui::place(new ui::Label(text, parent), r);
    l->setColors(Qt::black, back);
    l->setAlignment(align);
    l->setFont(font);
    l->setWordWrap(r.height() > 24);
    return l;
}

void button(QWidget* parent, const char* name, const QRect& r) {
    ui::place(new ui::BitmapButton(QString::fromLatin1(name), QString(), parent), r);
}

ui::MaskedEdit* edit(QWidget* parent, const QRect& r, const QString& text, const QColor& back = ui::art::palette::NCOLB) {
    auto* e = ui::place(new ui::MaskedEdit(parent), r);
    e->setText(text);
    ui::setColors(e, ui::art::palette::NCOLF, back);
    return e;
}

QLabel* picture(QWidget* parent, const QRect& r, const char* name) {
    auto* l = ui::place(new QLabel(parent), r);
    l->setPixmap(ui::Bitmaps::builtIn(QString::fromLatin1(name)));
    l->setScaledContents(true);
    return l;
}

void themes(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("ThemAusw"), true);
    label(&dlg, ui::luRect(7, 6, 150, 8), QStringLiteral("Themenauswahl für Klasse 'B / BE'"), QColor(230, 230, 21),
          Qt::AlignLeft | Qt::AlignVCenter, ui::fontPx(QStringLiteral("Arial"), 14));
    const char* left[] = {"BT_Verha", "BT_Vorfa", "BT_Gefah", "BT_Vorsc", "BT_Umwel", "BT_Stati"};
    const char* rightCol[] = {"BT_Techn", "BT_Verke", "BT_Eignu", "BT_Werte", "BT_Pruef", "BT_Beend"};
    const int tops[] = {25, 61, 97, 133, 168, 204};
    for (int i = 0; i < 6; ++i) {
        button(&dlg, left[i], ui::luRect(tops[i], 8, 155, 33));
        button(&dlg, rightCol[i], ui::luRect(tops[i], 165, 155, 33));
    }
    dlg.addCloseButton(ui::units(7), ui::units(315));
    save(dlg, QStringLiteral("ThemAusw"));
}

void questionCommon(ui::SkinnedDialog& dlg) {
    auto* header =
        label(&dlg, ui::luRect(6, 6, 250, 8), QStringLiteral("Fragen zum Thema: 'Gefahrenlehre'  Klasse: 'B / BE'"),
              std::nullopt, Qt::AlignLeft | Qt::AlignVCenter, ui::fontPx(QStringLiteral("Arial"), 14));
    header->setTransparent(true);
    picture(&dlg, ui::luRect(22, 4, 159, 100), "Bild2");
    label(&dlg, ui::luRect(225, 34, 39, 9), QStringLiteral("1.1.02.104"));
    label(&dlg, ui::luRect(225, 103, 10, 9), QStringLiteral("3"), std::nullopt, Qt::AlignCenter);
    label(&dlg, ui::luRect(225, 132, 10, 9), QStringLiteral("30"));
    label(&dlg, ui::luRect(225, 202, 8, 9), QStringLiteral("4"));
    auto* err = label(&dlg, ui::luRect(224, 303, 12, 9), QStringLiteral("  8"), QColor(255, 0, 0), Qt::AlignCenter,
                      ui::dialogFont(true));
    err->setColors(QColor(255, 255, 0), QColor(255, 0, 0));
    err->setFrameShape(QFrame::Box);
    const char* buttons[] = {"B_NEXT", "B_LOES", "B_HELP", "B_ENDE"};
    const int lefts[] = {3, 56, 109, 162};
    for (int i = 0; i < 4; ++i)
        button(&dlg, buttons[i], ui::luRect(238, lefts[i], 50, 16));
    ui::place(new ui::CheckBox(QString(), &dlg), ui::luRect(241, 235, 8, 8));
    dlg.addCloseButton(ui::units(7), ui::units(308));
}

void question1(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Fragen1"), true);
    questionCommon(dlg);
    label(&dlg, ui::luRect(131, 7, 153, 74),
          QStringLiteral("Womit müssen Sie rechnen, wenn Sie bei Nässe durch eine Pfütze fahren?"),
          QColor(201, 255, 255), Qt::AlignLeft | Qt::AlignTop, ui::dialogFont(true));
    const QColor backs[] = {QColor(207, 255, 231), QColor(183, 255, 231), QColor(115, 255, 228)};
    const char* answers[] = {"Die Lenkung kann kurzzeitig wirkungslos werden.",
                             "Fußgänger können durch Spritzwasser beschmutzt werden.", "Der Bremsweg wird kürzer."};
    const int tops[] = {25, 90, 155};
    for (int i = 0; i < 3; ++i) {
        auto* box =
            ui::place(new ui::CheckBox(QStringLiteral("&%1").arg(i + 1), &dlg), ui::luRect(tops[i], 172, 13, 49));
        box->setColors(Qt::black, backs[i]);
        label(&dlg, ui::luRect(tops[i], 186, 124, 50), QString::fromUtf8(answers[i]), backs[i],
              Qt::AlignLeft | Qt::AlignVCenter);
    }
    save(dlg, QStringLiteral("Fragen1"));
}

void question2(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Fragen2"), true);
    questionCommon(dlg);
    label(&dlg, ui::luRect(27, 173, 141, 91),
          QStringLiteral("Sie fahren 50 km/h. Wie lang ist Ihr Reaktionsweg, wenn Sie eine Sekunde "
                         "Reaktionszeit annehmen?"),
          QColor(115, 255, 228), Qt::AlignLeft | Qt::AlignTop, ui::dialogFont(true));
    label(&dlg, ui::luRect(172, 33, 115, 9), QStringLiteral("Der Reaktionsweg beträgt etwa"), QColor(201, 255, 255),
          Qt::AlignRight | Qt::AlignVCenter, ui::dialogFont(true));
    auto* e = edit(&dlg, ui::luRect(171, 150, 35, 11), QStringLiteral("15"), Qt::white);
    e->setAlignment(Qt::AlignCenter);
    label(&dlg, ui::luRect(172, 188, 100, 9), QStringLiteral("Meter"), std::nullopt, Qt::AlignLeft | Qt::AlignVCenter,
          ui::dialogFont(true));
    save(dlg, QStringLiteral("Fragen2"));
}

void solution(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Auswert"), true);
    const QColor back(224, 101, 48);
    label(&dlg, ui::luRect(27, 32, 90, 11), QStringLiteral("Die richtige Lösung lautet:"), back, Qt::AlignCenter,
          ui::fontPx(QStringLiteral("MS Sans Serif"), 13, true));
    label(&dlg, ui::luRect(35, 50, 58, 28), QStringLiteral("\nAntwort 1 = Richtig\nAntwort 2 = Falsch"), back,
          Qt::AlignLeft | Qt::AlignTop, ui::dialogFont(true));
    button(&dlg, "BZ_WEIT", ui::luRect(72, 51, 50, 16));
    save(dlg, QStringLiteral("Auswert"));
}

void catalogChoice(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataAusw"));
    const QColor amber(246, 205, 42);
    label(&dlg, ui::duRect(30, 23, 198, 18),
          QStringLiteral("Wählen Sie die Führerscheinklasse oder den Bereich aus dem Fragenkatalog, den Sie "
                         "anzeigen möchten."),
          amber, Qt::AlignCenter);
    auto* radios = new ui::RadioGroup(&dlg);
    const char* areas[] = {"Klasse &A / A1", "Klasse B / B&E", "Klasse &C / C1 / CE", "Klasse &D / D1 / DE",
                           "Klasse &M",      "Klasse M&ofa",   "Klasse &L",           "Klasse &S",
                           "Klasse &T",      "alle &Fragen",   "&nur Bilderfragen"};
    const int tops[] = {57, 72, 87, 102, 117, 132, 57, 72, 87, 117, 132};
    for (int i = 0; i < 11; ++i)
        radios->addItem(QString::fromUtf8(areas[i]), ui::duRect(tops[i], i < 6 ? 35 : 128, 90, 12));
    radios->setValue(2);
    radios->setColors(ui::art::palette::NCOLF, amber);
    button(&dlg, "BZ_WEIT", ui::duRect(165, 40, 57, 20));
    button(&dlg, "BZ_HELP", ui::duRect(165, 110, 57, 20));
    button(&dlg, "BZ_ENDE", ui::duRect(165, 180, 57, 20));
    dlg.addCloseButton(13, 343);
    save(dlg, QStringLiteral("KataAusw"));
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

void catalogTable(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataTab"));
    dlg.addCloseButton(12, 604);
    label(&dlg, ui::pxRect(8, 12, 280, 16), QStringLiteral("Fragenkatalog - Klasse B, BE"), QColor(249, 224, 109),
          Qt::AlignLeft | Qt::AlignVCenter, ui::fontPx(QStringLiteral("Arial"), 14));
    static SampleRows rows;
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
        button(&dlg, buttons[i], ui::pxRect(408, 102 + 104 * i, 100, 34));
    save(dlg, QStringLiteral("KataTab"));
}

void catalogView(const SaveFn& save, bool values) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QString::fromLatin1(values ? "Katalog2" : "Katalog1"));
    picture(&dlg, ui::pxRect(44, 8, 318, 200), values ? "KEINBKAT" : "Bild1");
    const QFont bold = ui::dialogFont(true);
    if (!values) {
        label(&dlg, ui::pxRect(262, 14, 306, 148),
              QStringLiteral("Welche Verkehrszeichen verlangen, dass Sie an der Haltlinie anhalten?"),
              QColor(254, 204, 51), Qt::AlignLeft | Qt::AlignTop, bold);
        const QColor backs[] = {QColor(255, 255, 102), QColor(255, 255, 51), QColor(255, 255, 0)};
        const char* answers[] = {"Das achteckige Schild mit der Aufschrift STOP",
                                 "Das Dreieck mit der Spitze nach unten", "Die gelbe Raute"};
        for (int i = 0; i < 3; ++i) {
            auto* box = ui::place(new ui::CheckBox(QStringLiteral("&%1").arg(i + 1), &dlg),
                                  ui::pxRect(50 + 130 * i, 344, 26, 90));
            box->setChecked(i == 0);
            box->setColors(Qt::black, backs[i]);
            label(&dlg, ui::pxRect(50 + 130 * i, 372, 258, 100), QString::fromUtf8(answers[i]), backs[i]);
        }
    } else {
        label(&dlg, ui::pxRect(54, 346, 282, 182),
              QStringLiteral("Wie viele Meter vor einem Bahnübergang darf höchstens überholt werden?"),
              QColor(254, 204, 51), Qt::AlignLeft | Qt::AlignTop, bold);
        const QColor y(255, 255, 0);
        label(&dlg, ui::pxRect(344, 66, 180, 18), QStringLiteral("Zwischen"), y, Qt::AlignRight | Qt::AlignVCenter);
        label(&dlg, ui::pxRect(344, 250, 50, 22), QStringLiteral("50"), y, Qt::AlignRight | Qt::AlignVCenter, bold);
        label(&dlg, ui::pxRect(344, 304, 40, 18), QStringLiteral(" und "), y);
        label(&dlg, ui::pxRect(344, 350, 50, 22), QStringLiteral("80"), y, Qt::AlignRight | Qt::AlignVCenter, bold);
        label(&dlg, ui::pxRect(344, 404, 200, 18), QStringLiteral(" Metern"), y);
    }
    const QColor bar(132, 67, 54);
    auto value = [&](int top, int left, int width, const QString& text) {
        auto* l = label(&dlg, ui::pxRect(top, left, width, 18), text, bar, Qt::AlignLeft | Qt::AlignVCenter, bold);
        l->setColors(Qt::white, bar);
    };
    const int shift = values ? 2 : 0;
    value(450, 62, 60, QStringLiteral("B / BE"));
    value(450, 214, 18, QStringLiteral("2"));
    value(450, 310, 78, QStringLiteral("1.2.02.101"));
    value(450, 530, 18, QStringLiteral("4"));
    value(482, 480 - shift, 36, QStringLiteral("3"));
    value(482, 560 - shift, 36, QStringLiteral("2"));
    button(&dlg, "BZ_ENDE", ui::pxRect(476, 6, 100, 34));
    button(&dlg, "BZ_HELP", ui::pxRect(476, 112, 100, 34));
    button(&dlg, "BZ_ZURUK", ui::pxRect(476, 218, 100, 34));
    dlg.addCloseButton(10, 614);
    save(dlg, QString::fromLatin1(values ? "Katalog2" : "Katalog1"));
}

void search(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Suchen"));
    const QColor amber(246, 205, 42);
    picture(&dlg, ui::pxRect(56, 24, 40, 40), "SEEK_WIN");
    label(&dlg, ui::pxRect(68, 80, 240, 80),
          QStringLiteral("Die Suche erfolgt als Volltextsuche in der gesamten Datenbank aller Prüfungsfragen. Wenn "
                         "die Suche erfolgreich ist, werden im Fragenkatalog alle Treffer zum ausgewählten "
                         "Themengebiet aufgelistet."),
          amber, Qt::AlignCenter);
    label(&dlg, ui::pxRect(168, 100, 200, 20), QStringLiteral("Geben Sie nun Ihren Suchbegriff ein !"), amber,
          Qt::AlignCenter);
    label(&dlg, ui::pxRect(212, 40, 60, 20), QStringLiteral("Suchbegriff:"), amber);
    edit(&dlg, ui::pxRect(208, 100, 240, 20), QStringLiteral("VORFAHRT"));
    button(&dlg, "BZ_WEIT", ui::pxRect(264, 52, 100, 34));
    button(&dlg, "BZ_HELP", ui::pxRect(264, 156, 100, 34));
    button(&dlg, "BZ_ENDE", ui::pxRect(264, 260, 100, 34));
    dlg.addCloseButton(12, 344);
    save(dlg, QStringLiteral("Suchen"));
}

void catalogPrint(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataDruck"));
    label(&dlg, ui::pxRect(8, 12, 160, 16), QStringLiteral("Fragenkatalog drucken"), QColor(249, 224, 109),
          Qt::AlignLeft | Qt::AlignVCenter, ui::fontPx(QStringLiteral("Arial"), 14));
    label(&dlg, ui::pxRect(60, 40, 290, 40),
          QStringLiteral("Wählen Sie zuerst die Führerscheinklasse aus dem Fragenkatalog, die Sie drucken möchten."),
          QColor(246, 205, 42), Qt::AlignCenter);
    auto* radios = new ui::RadioGroup(&dlg);
    const char* classes[] = {"Klasse A",    "Klasse A1", "Klasse B / BE", "Klasse C",  "Klasse C1",
                             "Klasse CE",   "Klasse D",  "Klasse D1",     "Klasse DE", "Klasse M",
                             "Klasse Mofa", "Klasse L",  "Klasse S",      "Klasse T"};
    for (int i = 0; i < 14; ++i)
        radios->addItem(QString::fromUtf8(classes[i]), ui::pxRect(120 + 18 * (i % 7), 40 + 150 * (i / 7), 140, 18));
    radios->setValue(3);
    button(&dlg, "BZ_WEIT", ui::pxRect(268, 54, 100, 34));
    button(&dlg, "BZ_HELP", ui::pxRect(268, 158, 100, 34));
    button(&dlg, "BZ_ENDE", ui::pxRect(268, 262, 100, 34));
    dlg.addCloseButton(12, 342);
    save(dlg, QStringLiteral("KataDruck"));
}

void catalogStatistics(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataStat"));
    static ui::ListGridSource rows(6, {});
    if (rows.rows().empty()) {
        const char* classes[][2] = {{"A1", "Motorräder bis 125 qm und max. 11 KW"},
                                    {"A", "Motorräder"},
                                    {"B / BE", "PKW bis 3,5 T"},
                                    {"C1", "KFZ von 3,5 - 7,5 T"},
                                    {"CE", "KFZ über 3,5 T mit Anhänger über 750 Kg"},
                                    {"C", "KFZ über 3,5 T"},
                                    {"D1", "Busse mit 8 - 15 Sitzplätzen"},
                                    {"DE", "Busse ab 8 Sitzplätze mit Anhänger über 750 Kg"},
                                    {"D", "Busse ab 8 Sitzplätze"},
                                    {"M", "Kleinkrafträder und Fahrräder mit Hilfsmotor"},
                                    {"MO", "Mofas"},
                                    {"L", "selbstfahrende Arbeitsmaschinen"},
                                    {"S", "dreirädrige Kleinkrad oder vierrädrige Leicht-Kfz"},
                                    {"T", "land- und forstwirtschaftliche Zugmaschinen"},
                                    {"", " --> Anzahl Fragen"}};
        for (int i = 0; i < 15; ++i)
            rows.rows().push_back({QString::fromUtf8(classes[i][0]), QString::fromUtf8(classes[i][1]),
                                   QStringLiteral("%1 ").arg(300 + 37 * i, 5),
                                   QStringLiteral("%1 ").arg(900 + 91 * i, 5), QStringLiteral("%1 ").arg(80 + 7 * i, 5),
                                   QStringLiteral("%1 ").arg(20 + i, 5)});
    }
    auto* grid = ui::place(new ui::Grid(&dlg), ui::pxRect(46, 14, 492, 262));
    grid->setSource(&rows, {{QStringLiteral("Klasse"), 50, Qt::AlignLeft},
                            {QStringLiteral("Text"), 243, Qt::AlignLeft},
                            {QStringLiteral("Fragen "), 50, Qt::AlignRight},
                            {QStringLiteral("Punkte "), 50, Qt::AlignRight},
                            {QStringLiteral("Bilder "), 50, Qt::AlignRight},
                            {QStringLiteral("Werte "), 50, Qt::AlignRight}});
    grid->setRowColorFunction([](int row) {
        return ui::RowColors{Qt::black, row % 2 == 0 ? QColor(240, 207, 32) : QColor(243, 212, 65)};
    });
    grid->setExtraHeights(4, 1);
    button(&dlg, "BZ_HELP", ui::pxRect(326, 298, 100, 34));
    button(&dlg, "BZ_ENDE", ui::pxRect(326, 404, 100, 34));
    dlg.addCloseButton(14, 486);
    save(dlg, QStringLiteral("KataStat"));
}

void tax(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Kfz_Steu"), true);
    const QColor amber(246, 205, 42);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const char* labels[] = {"Hubraum", "Schlüssel-Nr.", "Erstzulassung", "Euronorm", "Ozonalarm"};
    const int rows[] = {35, 47, 59, 119, 130};
    for (int i = 0; i < 5; ++i)
        label(&dlg, ui::luRect(rows[i], 5, 40, 8), QString::fromUtf8(labels[i]), amber, right);
    label(&dlg, ui::luRect(35, 81, 20, 8), QStringLiteral("ccm"), amber);
    label(&dlg, ui::luRect(47, 81, 105, 8), QStringLiteral("Schlüssel-Nr. zu 1 - Stelle 5/6 im Kfz-Schein"), amber);
    label(&dlg, ui::luRect(59, 81, 20, 8), QStringLiteral("Datum"), amber);
    label(&dlg, ui::luRect(35, 190, 30, 8), QStringLiteral("Verbrauch"), amber, right);
    label(&dlg, ui::luRect(72, 190, 30, 8), QStringLiteral("Antriebsart"), amber, right);
    edit(&dlg, ui::luRect(33, 49, 30, 10), QStringLiteral("1598"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit(&dlg, ui::luRect(45, 49, 30, 10), QStringLiteral("40"))->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit(&dlg, ui::luRect(57, 49, 30, 10), QStringLiteral("01.03.2003"))->setAlignment(Qt::AlignCenter);
    auto* use = new ui::RadioGroup(&dlg);
    use->addColumn({QStringLiteral(" enorm"), QStringLiteral(" unter 5 Liter"), QStringLiteral(" unter 3 Liter")}, 66,
                   450, 100, 20, 20);
    use->setValue(1);
    use->setColors(ui::art::palette::NCOLF, amber);
    auto* fuel = new ui::RadioGroup(&dlg);
    fuel->addColumn({QStringLiteral(" Otto"), QStringLiteral(" Diesel")}, 140, 450, 100, 20, 20);
    fuel->setValue(2);
    fuel->setColors(ui::art::palette::NCOLF, amber);
    auto* kat = ui::place(new ui::CheckBox(QStringLiteral(" Katalysator"), &dlg), ui::luRect(75, 49, 40, 10));
    kat->setEnabled(false);
    kat->setColors(ui::art::palette::NCOLF, amber);
    label(&dlg, ui::luRect(119, 49, 150, 10), QStringLiteral("Es wird die Euronorm 3 erfüllt."), amber,
          Qt::AlignLeft | Qt::AlignVCenter, ui::dialogFont(true));
    label(&dlg, ui::luRect(130, 49, 150, 10), QStringLiteral("Sie dürfen bei Ozonalarm fahren."), amber,
          Qt::AlignLeft | Qt::AlignVCenter, ui::dialogFont(true));
    static ui::ListGridSource results(5, {{QStringLiteral(" ab"),
                                           QStringLiteral(" 01.01.2001"),
                                           QStringLiteral("  EUR      13,81 "),
                                           QStringLiteral("  EUR     219,58 "),
                                           {}},
                                          {QStringLiteral(" ab"),
                                           QStringLiteral(" 01.01.2004"),
                                           QStringLiteral("  EUR      15,44 "),
                                           QStringLiteral("  EUR     245,50 "),
                                           {}},
                                          {QStringLiteral(" ab"),
                                           QStringLiteral(" 01.01.2005"),
                                           QStringLiteral("  EUR      15,44 "),
                                           QStringLiteral("  EUR     245,50 "),
                                           {}}});
    auto* grid = ui::place(new ui::Grid(&dlg), ui::luRect(142, 6, 274, 41));
    grid->setSource(&results, {{QString(), 40, Qt::AlignLeft},
                               {QStringLiteral("Datum"), 80, Qt::AlignHCenter},
                               {QStringLiteral("Steuersatz pro 100 ccm "), 150, Qt::AlignRight},
                               {QStringLiteral("Steuersatz pro Jahr "), 150, Qt::AlignRight},
                               {QStringLiteral("Freibetrag pro Jahr "), 150, Qt::AlignRight}});
    grid->setRowColorFunction([](int) { return ui::RowColors{Qt::black, QColor(255, 255, 140)}; });
    grid->setExtraHeights(7, 2);
    button(&dlg, "BZ_Berec", ui::luRect(191, 72, 50, 17));
    button(&dlg, "BZ_Steue", ui::luRect(191, 125, 50, 17));
    button(&dlg, "BZ_HELP", ui::luRect(191, 178, 50, 17));
    button(&dlg, "BZ_ENDE", ui::luRect(191, 231, 50, 17));
    dlg.addCloseButton(ui::units(7), ui::units(275));
    save(dlg, QStringLiteral("Kfz_Steu"));
}

void fine(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("BussGeld"), true);
    const QColor back(188, 188, 187), amber(240, 207, 32);
    auto* tabs = ui::place(new ui::TabWidget(&dlg), ui::luRect(19, 6, 250, 175));
    tabs->setColors(Qt::black, back);
    auto* page = tabs->addSkinnedPage(QStringLiteral("&Geschwindigkeit"), QStringLiteral("Bussgel2"));
    tabs->addSkinnedPage(QStringLiteral("&Abstand"), QStringLiteral("Bussgel2"));
    tabs->addSkinnedPage(QStringLiteral("A&lkohol"), QStringLiteral("Bussgel2"));
    tabs->addSkinnedPage(QStringLiteral("&Diverses"), QStringLiteral("Bussgel2"));
    label(page, ui::luRect(7, 20, 210, 16),
          QStringLiteral("Dieser Bussgeldrechner berechnet das Bussgeld für Geschwindigkeitsübertretungen nach dem "
                         "Bussgeldkatalog vom 13. November 2001."),
          amber, Qt::AlignCenter);
    label(page, ui::luRect(56, 10, 40, 8), QStringLiteral("Fahrzeug"), amber);
    ui::place(new ui::ComboBox({QStringLiteral("Pkw / Motorrad"), QStringLiteral("Lkw")}, page),
              ui::luRect(54, 53, 180, 11));
    label(page, ui::luRect(68, 10, 40, 8), QStringLiteral("Übertretung"), amber);
    edit(page, ui::luRect(66, 53, 25, 10), QStringLiteral("23"))->setAlignment(Qt::AlignCenter);
    label(page, ui::luRect(68, 80, 20, 8), QStringLiteral("km/h"), amber);
    auto* where = new ui::RadioGroup(page);
    where->addItem(QStringLiteral(" innerorts"), ui::luRect(66, 103, 45, 10));
    where->addItem(QStringLiteral(" ausserorts"), ui::luRect(66, 150, 45, 10));
    where->setValue(1);
    where->setColors(Qt::black, amber);
    const QFont bold = ui::dialogFont(true);
    label(page, ui::luRect(122, 10, 40, 8), QStringLiteral("Bussgeld"), amber);
    auto* money = label(page, ui::luRect(122, 53, 25, 8), QStringLiteral("80,00"), amber,
                        Qt::AlignRight | Qt::AlignVCenter, bold);
    money->setColors(QColor(255, 0, 0), amber);
    label(page, ui::luRect(122, 80, 15, 8), QStringLiteral("EUR"), amber);
    label(page, ui::luRect(122, 95, 25, 8), QStringLiteral("Punkte"), amber);
    label(page, ui::luRect(122, 123, 10, 8), QStringLiteral("1"), amber, Qt::AlignRight | Qt::AlignVCenter, bold)
        ->setColors(QColor(255, 0, 0), amber);
    label(page, ui::luRect(122, 150, 28, 8), QStringLiteral("Fahrverbot"), amber);
    label(page, ui::luRect(122, 180, 10, 8), QStringLiteral("0"), amber, Qt::AlignRight | Qt::AlignVCenter, bold);
    label(page, ui::luRect(122, 197, 25, 8), QStringLiteral("Monate"), amber);
    button(&dlg, "BZ_Berec", ui::luRect(197, 43, 50, 17));
    button(&dlg, "BZ_KATAL", ui::luRect(197, 97, 50, 17));
    button(&dlg, "BZ_HELP", ui::luRect(197, 151, 50, 17));
    button(&dlg, "BZ_ENDE", ui::luRect(197, 205, 50, 17));
    dlg.addCloseButton(ui::units(7), ui::units(251));
    save(dlg, QStringLiteral("BussGeld"));
}

void stopping(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("AnhaWeg"), true);
    const QColor amber(245, 205, 41);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const char* names[] = {"Anfangsgeschwindigkeit",
                           "Reakationszeit",
                           "Bremsverzögerung",
                           "Reaktionsweg",
                           "Bremsweg",
                           "Anhalteweg",
                           "Anhaltezeit"};
    const char* units[] = {"km/h", "Sek.", "m/s²", "Meter", "Meter", "Meter", "Sek."};
    const char* values[] = {"50", "1,00", "8,00", "13,89", "12,06", "25,95", "2,74"};
    const int rows[] = {40, 52, 64, 102, 114, 126, 138};
    for (int i = 0; i < 7; ++i) {
        label(&dlg, ui::luRect(rows[i], 21, 58, 8), QString::fromUtf8(names[i]), amber, right);
        auto* e =
            edit(&dlg, ui::luRect(rows[i] - 2, 83, 30, 10), QString::fromUtf8(values[i]), i < 3 ? ui::art::palette::NCOLB : ui::art::palette::NCOLBH);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (i >= 3) e->setFont(ui::dialogFont(true));
        label(&dlg, ui::luRect(rows[i], 116, 15, 8), QString::fromUtf8(units[i]), amber);
    }
    auto* road =
        ui::place(new ui::ComboBox({QStringLiteral("Strassenzustand - ideal")}, &dlg), ui::luRect(38, 133, 100, 11));
    ui::setColors(road, ui::art::palette::NCOLF, ui::art::palette::NCOLB);
    button(&dlg, "BZ_Berec", ui::luRect(154, 88, 50, 17));
    button(&dlg, "BZ_HELP", ui::luRect(154, 140, 50, 17));
    button(&dlg, "BZ_ENDE", ui::luRect(154, 192, 50, 17));
    dlg.addCloseButton(ui::units(8), ui::units(236));
    save(dlg, QStringLiteral("AnhaWeg"));
}

} // namespace

void renderMocks(const SaveFn& save) {
    themes(save);
    question1(save);
    question2(save);
    solution(save);
    catalogChoice(save);
    catalogTable(save);
    catalogView(save, false);
    catalogView(save, true);
    search(save);
    catalogPrint(save);
    catalogStatistics(save);
    tax(save);
    fine(save);
    stopping(save);
}

} // namespace gallery
