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


void catalogChoice(const SaveFn& save) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataAusw"));
    dlg.setWindowTitle(QString::fromUtf8("Fragenkatalog - Auswahl"));
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
    dlg.setWindowTitle(QString::fromUtf8("Fragenkatalog"));
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
    dlg.setWindowTitle(QStringLiteral("Fragenkatalog"));
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
    dlg.setWindowTitle(QString::fromUtf8("Suchen"));
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
    dlg.setWindowTitle(QString::fromUtf8("Fragenkatalog drucken"));
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
    dlg.setWindowTitle(QString::fromUtf8("Katalogstatistik"));
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
    grid->setAccessibleName(QStringLiteral("Fragen je Klasse"));
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

} // namespace

void renderMocks(const SaveFn& save) {
    catalogChoice(save);
    catalogTable(save);
    catalogView(save, false);
    catalogView(save, true);
    search(save);
    catalogPrint(save);
    catalogStatistics(save);
}

} // namespace gallery
