#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <cmath>
#include <functional>

#include "support/testdir.h"
#include "app/artwork.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/geometry.h"
#include "uitest.h"

namespace {

// The features' pictures are drawn by the toolkit once they are registered, as the program does at start-up.
class FeatureArtwork : public ::testing::Environment {
public:
    void SetUp() override { app::registerArtwork(); }
};
[[maybe_unused]] auto* const g_artwork = ::testing::AddGlobalTestEnvironment(new FeatureArtwork);

} // namespace

namespace {

QString str(const char* s) {
    return QString::fromUtf8(s);
}

// Standard deviation of the grey values, the picture laid on white: 0 for a blank picture.
double greySpread(const QImage& source) {
    QImage img(source.size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.drawImage(0, 0, source);
    p.end();
    double sum = 0, sumSq = 0;
    const int n = img.width() * img.height();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const double g = qGray(img.pixel(x, y));
            sum += g;
            sumSq += g * g;
        }
    const double mean = sum / n;
    return std::sqrt(qMax(0.0, sumSq / n - mean * mean));
}

QColor at(const QString& name, int x, int y) {
    return ui::art::draw(name, 1.0).toImage().pixelColor(x, y);
}

// Every picture name the dialogs use, spelt as they spell it, with the size their descriptions give
// (0 x 0 where the size follows from the dialog's controls).
struct Named {
    const char* name;
    int width;
    int height;
};

const Named kNamesTheDialogsUse[] = {
    {"MsgYesNo", 386, 174}, {"MsgInfo", 382, 173},  {"MsgBlank", 384, 134}, {"ABOUT", 370, 259},
    {"Login", 364, 204},    {"SetupA", 456, 304},   {"SetupZ", 456, 304},   {"Setup2", 0, 0},
    {"ThemAusw", 0, 0},     {"Fragen1", 0, 0},      {"Fragen2", 0, 0},      {"Auswert", 0, 0},
    {"Statist1", 476, 270}, {"StatistT", 476, 270}, {"StatThem", 546, 330}, {"StatRic1", 546, 501},
    {"StatRic2", 546, 500}, {"StatVerg", 546, 501}, {"KataAusw", 370, 304}, {"KataTab", 632, 454},
    {"Katalog1", 642, 517}, {"Katalog2", 642, 517}, {"Suchen", 370, 303},   {"KataDruck", 370, 304},
    {"KataStat", 520, 369}, {"Kfz_Steu", 0, 0},     {"BussGeld", 0, 0},     {"Bussgel2", 0, 0},
    {"AnhaWeg", 0, 0},      {"Ja", 99, 31},         {"Nein", 99, 31},       {"Ok", 99, 31},
    {"BZ_WEIT", 0, 0},      {"BZ_HELP", 0, 0},      {"BZ_ENDE", 0, 0},      {"BZ_Zeig", 0, 0},
    {"BZ_Such", 0, 0},      {"BZ_Alle", 0, 0},      {"BZ_Alle0", 0, 0},     {"BZ_ZURUK", 0, 0},
    {"BZ_ZURU0", 0, 0},     {"BZ_Berec", 0, 0},     {"BZ_BEREC", 0, 0},     {"BZ_Bere0", 0, 0},
    {"BZ_Steue", 0, 0},     {"BZ_KATAL", 0, 0},     {"BS_SPEIC", 0, 0},     {"BS_HELP", 0, 0},
    {"BS_ENDE", 0, 0},      {"BK_ENDE", 0, 0},      {"BK_THST", 0, 0},      {"BK_BVER", 0, 0},
    {"BK_BVER0", 0, 0},     {"BK_ZURUK", 0, 0},     {"BK_WEIT", 0, 0},      {"B_NEXT", 0, 0},
    {"B_LOES", 0, 0},       {"B_HELP", 0, 0},       {"B_ENDE", 0, 0},       {"BT_Gefah", 0, 0},
    {"BT_Verha", 0, 0},     {"BT_Vorfa", 0, 0},     {"BT_Verke", 0, 0},     {"BT_Umwel", 0, 0},
    {"BT_Vorsc", 0, 0},     {"BT_Techn", 0, 0},     {"BT_Eignu", 0, 0},     {"BT_Werte", 0, 0},
    {"BT_Pruef", 0, 0},     {"BT_Stati", 0, 0},     {"BT_Beend", 0, 0},     {"AB_QRT", 320, 110},
    {"SEEK_WIN", 40, 40},   {"Stop_Max", 32, 32},   {"Tavolin", 0, 0},      {"Update", 0, 0},
    {"START1", 0, 0},       {"START2", 0, 0},       {"START3", 0, 0},       {"START4", 0, 0},
    {"KEINBKAT", 318, 200}, {"Bild1", 0, 0},       {"InetUpd", 401, 171},
    {"Lernstd", 640, 480},  {"BL_ZEIG", 99, 33},    {"BL_UEBEN", 99, 33},   {"BL_DRUCK", 99, 33},   {"B_ZURUK", 99, 31},
};

} // namespace

TEST(Artwork, EveryNameTheDialogsUseIsDrawnAtItsSizeAndNotBlankAtBothScales) {
    for (const Named& n : kNamesTheDialogsUse) {
        const QString name = str(n.name);
        ASSERT_TRUE(ui::Bitmaps::hasBuiltIn(name)) << n.name;
        const QSize size1 = ui::Bitmaps::logicalSize(ui::Bitmaps::builtIn(name, 1.0));
        if (n.width > 0) {
            EXPECT_EQ(size1, QSize(n.width, n.height)) << n.name;
        }
        for (qreal dpr : {1.0, 2.0}) {
            const QPixmap pm = ui::Bitmaps::builtIn(name, dpr);
            EXPECT_EQ(ui::Bitmaps::logicalSize(pm), size1) << n.name;
            EXPECT_EQ(pm.size(), size1 * dpr) << n.name << " is not drawn at " << dpr << "x";
            // A tab page is nearly one colour by design; a blank canvas has no spread at all.
            EXPECT_GT(greySpread(pm.toImage()), 2.0) << n.name << " at " << dpr << "x looks blank";
        }
    }
}

TEST(Artwork, SkinsDerivedFromTheirControlsHoldEveryControl) {
    // Outermost controls of the dialogs whose descriptions give no picture size, as top, left, width,
    // height in layout units; the dialog is the skin less one pixel (the exam shows the question skins
    // two pixels smaller).
    struct Case {
        const char* skin;
        int cut;
        QRect control;
    };
    const Case cases[] = {
        {"ThemAusw", 1, ui::luRect(204, 165, 155, 33)}, // BT_Beend, bottom right
        {"ThemAusw", 1, ui::luRect(7, 315, 8, 8)},      // the close box
        {"Fragen1", 2, ui::luRect(238, 162, 50, 16)},   // B_ENDE
        {"Fragen1", 2, ui::luRect(25, 186, 124, 50)},   // answer text 1
        {"Fragen1", 2, ui::luRect(224, 303, 12, 9)},    // error points
        {"Fragen2", 2, ui::luRect(172, 202, 100, 9)},   // text after the second value
        {"Fragen2", 2, ui::luRect(7, 308, 8, 8)},       {"Auswert", 1, ui::luRect(72, 51, 50, 16)}, // BZ_WEIT
        {"Auswert", 1, ui::luRect(27, 32, 90, 11)},                                                 // title
        {"Kfz_Steu", 1, ui::luRect(191, 231, 50, 17)},  {"Kfz_Steu", 1, ui::luRect(142, 6, 274, 41)},
        {"Kfz_Steu", 1, ui::luRect(7, 275, 8, 8)},      {"BussGeld", 1, ui::luRect(19, 6, 250, 175)},
        {"BussGeld", 1, ui::luRect(197, 205, 50, 17)},  {"BussGeld", 1, ui::luRect(7, 251, 8, 8)},
        {"AnhaWeg", 1, ui::luRect(154, 192, 50, 17)},   {"AnhaWeg", 1, ui::luRect(38, 133, 100, 11)},
        {"AnhaWeg", 1, ui::luRect(8, 236, 8, 8)},
    };
    for (const Case& c : cases) {
        const QSize skin = ui::Bitmaps::logicalSize(ui::art::draw(str(c.skin), 1.0));
        const QRect dialog(QPoint(0, 0), skin - QSize(c.cut, c.cut));
        EXPECT_TRUE(dialog.contains(c.control)) << c.skin << " " << dialog.width() << "x" << dialog.height();
    }
    // A tab page covers the page area of its tab control: as wide, and as high less the tab strip.
    const QSize page = ui::Bitmaps::logicalSize(ui::art::draw(QStringLiteral("Bussgel2"), 1.0));
    EXPECT_EQ(page.width(), ui::units(250));
    EXPECT_GE(page.height(), ui::units(175) - 30);
    EXPECT_GE(page.height(), ui::units(130 + 20)); // the info text of the alcohol tab
}

TEST(Artwork, ButtonBitmapsFitTheButtonsTheDialogsPlaceThemOn) {
    // Control sizes in pixels: theme buttons 155 x 33 units, question and calculator buttons 50 x 16 and
    // 50 x 17 units, the other dialogs' buttons 100 x 34 and 100 x 32 pixels.
    struct Case {
        const char* prefix;
        QSize control;
    };
    const Case cases[] = {{"BT_", {310, 66}}, {"B_", {100, 32}}, {"BZ_", {100, 34}},  {"BK_", {100, 34}},
                          {"BS_", {100, 32}}, {"Ja", {100, 34}}, {"Nein", {100, 34}}, {"Ok", {100, 34}}};
    for (const auto& e : ui::art::buttonTable()) {
        const QString name = str(e.name);
        const Case* match = nullptr;
        for (const Case& c : cases)
            if (name.startsWith(str(c.prefix))) {
                match = &c;
                break;
            }
        ASSERT_NE(match, nullptr) << e.name << " belongs to no dialog";
        EXPECT_LE(e.width, match->control.width()) << e.name;
        EXPECT_LE(e.height, match->control.height()) << e.name;
        // Not so small that it looks lost on its button.
        EXPECT_GE(e.width, match->control.width() - 2) << e.name;
        EXPECT_GE(e.height, match->control.height() - 3) << e.name;
    }
}

TEST(Artwork, EveryButtonUnderlinesTheLetterOfItsAltKey) {
    const std::pair<const char*, char> keys[] = {
        {"Ja", 'J'},       {"Nein", 'N'},     {"Ok", 'O'},       {"BZ_WEIT", 'W'},  {"BZ_HELP", 'H'},
        {"BZ_ENDE", 'B'},  {"BZ_Zeig", 'Z'},  {"BZ_Such", 'S'},  {"BZ_Alle", 'A'},  {"BZ_Alle0", 'A'},
        {"BZ_ZURUK", 'Z'}, {"BZ_ZURU0", 'Z'}, {"BZ_Berec", 'R'}, {"BZ_Bere0", 'R'}, {"BZ_Steue", 'S'},
        {"BZ_KATAL", 'K'}, {"BS_SPEIC", 'S'}, {"BS_HELP", 'H'},  {"BS_ENDE", 'B'},  {"BK_ENDE", 'B'},
        {"BK_THST", 'T'},  {"BK_BVER", 'V'},  {"BK_BVER0", 'V'}, {"BK_ZURUK", 'Z'}, {"BK_WEIT", 'W'},
        {"B_NEXT", 'N'},   {"B_LOES", 'L'},   {"B_HELP", 'H'},   {"B_ENDE", 'B'},   {"BT_Gefah", 'G'},
        {"BT_Verha", 'I'}, {"BT_Vorfa", 'V'}, {"BT_Verke", 'Z'}, {"BT_Umwel", 'U'}, {"BT_Vorsc", 'K'},
        {"BT_Techn", 'T'}, {"BT_Eignu", 'E'}, {"BT_Werte", 'W'}, {"BT_Pruef", 'P'}, {"BT_Stati", 'S'},
        {"BT_Beend", 'B'},
    };
    EXPECT_EQ(std::size(keys), ui::art::buttonTable().size()) << "a button without its key in this list";
    for (const auto& [name, key] : keys) {
        const auto* e = ui::art::findButton(str(name));
        ASSERT_NE(e, nullptr) << name;
        const QString caption = str(e->caption);
        const int amp = int(caption.indexOf(QLatin1Char('&')));
        ASSERT_GE(amp, 0) << name;
        ASSERT_LT(amp + 1, caption.size()) << name;
        EXPECT_EQ(caption.at(amp + 1).toUpper(), QChar::fromLatin1(key)) << name << ": " << caption;
        EXPECT_EQ(caption.count(QLatin1Char('&')), 1) << name;
    }
}

TEST(Artwork, CaptionsHeadingsAndLegendsAreOnThePictures) {
    // A button drawn without its caption, or a skin without its heading, must come out different.
    for (const auto& e : ui::art::buttonTable()) {
        ui::art::ButtonEntry bare = e;
        bare.caption = "";
        bare.subtitle = nullptr;
        EXPECT_NE(ui::art::drawButton(e, 1.0).toImage(), ui::art::drawButton(bare, 1.0).toImage()) << e.name;
    }
    for (const auto& e : ui::art::skinTable()) {
        if (!*e.heading) continue;
        ui::art::SkinEntry bare = e;
        bare.heading = "";
        const QImage with = ui::art::drawSkin(e, 1.0).toImage().copy(0, 0, e.width, 34);
        const QImage without = ui::art::drawSkin(bare, 1.0).toImage().copy(0, 0, e.width, 34);
        EXPECT_NE(with, without) << e.name;
    }
    // Theme captions and legends: dark text where the statistics pages leave room for it.
    auto hasText = [](const char* skin, const QRect& r) {
        const QImage img = ui::art::draw(str(skin), 1.0).toImage().copy(r);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 80) return true;
        return false;
    };
    for (const char* skin : {"StatThem", "StatRic1", "StatRic2", "StatVerg"})
        EXPECT_TRUE(hasText(skin, QRect(14, 40, 190, 24))) << skin << ": no theme caption in row 1";
    for (const char* skin : {"StatRic1", "StatRic2", "StatVerg"})
        EXPECT_TRUE(hasText(skin, QRect(14, 396, 190, 32))) << skin << ": no \"absolut\"";
    for (const char* skin : {"StatRic1", "StatRic2"})
        EXPECT_TRUE(hasText(skin, QRect(38, 446, 260, 40))) << skin << ": no legend";
    for (const char* skin : {"Katalog1", "Katalog2"})
        EXPECT_TRUE(hasText(skin, QRect(6, 4, 160, 30))) << skin << ": no heading";
    // The bar captions of the catalog's question view are white on the brown bar.
    const QImage view = ui::art::draw(QStringLiteral("Katalog1"), 1.0).toImage().copy(330, 482, 146, 18);
    bool white = false;
    for (int y = 0; y < view.height() && !white; ++y)
        for (int x = 0; x < view.width() && !white; ++x)
            white = qGray(view.pixel(x, y)) > 230;
    EXPECT_TRUE(white) << "no caption \"Antworten bisher:\"";
}

TEST(Artwork, SkinsBearTheColourTheDialogsGiveTheControlsOnThem) {
    // A label with a filled background must not show as a patch: under it the skin has its colour.
    struct Case {
        const char* skin;
        QPoint point;
        QColor colour;
    };
    const Case cases[] = {
        {"Statist1", {60, 60}, QColor(180, 169, 150)},   // first row of labels
        {"Statist1", {60, 140}, QColor(213, 106, 106)},  // second row
        {"Statist1", {150, 16}, QColor(249, 224, 109)},  // title
        {"StatistT", {340, 16}, QColor(249, 224, 109)},  // the longer title
        {"ThemAusw", {200, 22}, QColor(230, 230, 21)},   // header
        {"KataTab", {150, 16}, QColor(249, 224, 109)},   // title
        {"KataDruck", {100, 16}, QColor(249, 224, 109)}, // title
        {"KataDruck", {100, 70}, QColor(246, 205, 42)},  // text
        {"KataAusw", {100, 60}, QColor(246, 205, 42)},   // text and radio buttons
        {"Suchen", {70, 220}, QColor(246, 205, 42)},     // "Suchbegriff:"
        {"Kfz_Steu", {50, 78}, QColor(246, 205, 42)},    // "Hubraum"
        {"Kfz_Steu", {50, 266}, QColor(246, 205, 42)},   // "Ozonalarm"
        {"Bussgel2", {60, 120}, QColor(240, 207, 32)},   // "Fahrzeug"
        {"Bussgel2", {40, 250}, QColor(240, 207, 32)},   // "Bussgeld"
        {"AnhaWeg", {100, 88}, QColor(245, 205, 41)},    // "Anfangsgeschwindigkeit"
        {"AnhaWeg", {100, 280}, QColor(245, 205, 41)},   // "Anhaltezeit"
        {"Setup2", {60, 40}, QColor(123, 171, 121)},     // "Fenstergröße"
        {"Fragen1", {160, 330}, QColor(201, 255, 255)},  // question text
        {"Fragen1", {500, 100}, QColor(207, 255, 231)},  // answer 1
        {"Fragen1", {500, 230}, QColor(183, 255, 231)},  // answer 2
        {"Fragen1", {500, 360}, QColor(115, 255, 228)},  // answer 3
        {"Fragen2", {480, 140}, QColor(115, 255, 228)},  // question text of the value layouts
        {"Fragen2", {150, 352}, QColor(201, 255, 255)},  // text before the value
        {"Katalog1", {160, 330}, QColor(254, 204, 51)},  // question text
        {"Katalog1", {500, 100}, QColor(255, 255, 102)}, // answer 1
        {"Katalog2", {480, 140}, QColor(254, 204, 51)},
        {"Katalog2", {150, 354}, QColor(255, 255, 0)}, // the value line
        {"Auswert", {100, 60}, QColor(224, 101, 48)},  // title and solution
        {"StatVerg", {130, 464}, QColor(253, 253, 0)}, // a learner's name
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(str(c.skin), c.point.x(), c.point.y()), c.colour)
            << c.skin << " at " << c.point.x() << "," << c.point.y();
}

TEST(Artwork, PicturesAreTheSameEveryTimeTheyAreDrawn) {
    // The build writes them as files; a change between two builds must come from a change of the code.
    for (const char* name : {"START1", "START2", "START3", "START4", "Bild1", "Bild3", "KEINBKAT"})
        EXPECT_EQ(ui::art::draw(str(name), 1.0).toImage(), ui::art::draw(str(name), 1.0).toImage()) << name;
}

TEST(Artwork, IconsComeInEverySizeAndUnknownNamesGiveNone) {
    for (const char* name : {"Tavolin", "Update"}) {
        const QIcon icon = ui::Bitmaps::icon(str(name));
        ASSERT_FALSE(icon.isNull()) << name;
        for (int side : {16, 32, 48, 256}) {
            EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << name << " " << side;
            EXPECT_GT(greySpread(icon.pixmap(QSize(side, side)).toImage()), 8.0) << name << " " << side;
        }
    }
    EXPECT_TRUE(ui::Bitmaps::icon(QStringLiteral("NoSuchIcon")).isNull());
    EXPECT_TRUE(ui::art::draw(QStringLiteral("NoSuchPicture"), 1.0).isNull());
}

namespace {

class ArtworkFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = ui::Bitmaps::programDir();
        m_root = QString::fromStdString(m_dir.path().string());
        ui::Bitmaps::setProgramDir(m_root);
    }
    void TearDown() override {
        ui::Bitmaps::setProgramDir(m_previous);
        ui::Bitmaps::clearCache();
    }

    lwtest::TempDir m_dir;
    QString m_root;
    QString m_previous;
};

} // namespace

TEST_F(ArtworkFiles, AStylesFileStillReplacesTheBuiltInPicture) {
    QDir().mkpath(m_root + QStringLiteral("/Styles"));
    QImage img(QSize(120, 90), QImage::Format_RGB32);
    img.fill(QColor(10, 200, 30));
    ASSERT_TRUE(img.save(m_root + QStringLiteral("/Styles/THEMAUSW.bmp"), "BMP"));
    ASSERT_TRUE(img.save(m_root + QStringLiteral("/Styles/BT_Gefah.bmp"), "BMP"));
    ASSERT_TRUE(img.save(m_root + QStringLiteral("/Styles/Tavolin.bmp"), "BMP"));
    for (const char* name : {"ThemAusw", "BT_Gefah", "Tavolin"}) {
        const QPixmap pm = ui::Bitmaps::get(str(name));
        EXPECT_EQ(ui::Bitmaps::logicalSize(pm), QSize(120, 90)) << name;
        EXPECT_EQ(pm.toImage().pixelColor(5, 5), QColor(10, 200, 30)) << name;
    }
    EXPECT_EQ(ui::Bitmaps::icon(QStringLiteral("Tavolin")).pixmap(QSize(120, 90)).toImage().pixelColor(5, 5),
              QColor(10, 200, 30));
    // The built-in picture is still there for names without a file.
    EXPECT_EQ(ui::Bitmaps::logicalSize(ui::Bitmaps::get(QStringLiteral("BT_Techn"))), QSize(309, 65));
}

TEST_F(ArtworkFiles, TheBitmapsFolderGetsValidWindowsBitmapsOfTheirPicturesSizes) {
    const QString dir = m_root + QStringLiteral("/Bitmaps");
    const QStringList written = ui::art::writeBitmapFiles(dir);
    // The files the program reads from Bitmaps\ by name.
    for (const char* file : {"START1.bmp", "START2.bmp", "START3.bmp", "START4.bmp", "KEINBKAT.BMP", "Bild1.bmp",
                             "ThemAusw.bmp", "SetupA.bmp", "SetupZ.bmp"})
        EXPECT_TRUE(written.contains(str(file))) << file;
    ASSERT_EQ(written.size(), qsizetype(ui::art::bitmapFileTable().size()));

    for (const auto& f : ui::art::bitmapFileTable()) {
        QFile file(QDir(dir).filePath(str(f.file)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << f.file;
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54) << f.file;
        const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
        const QSize size = ui::Bitmaps::logicalSize(ui::art::draw(str(f.name), 1.0));
        EXPECT_EQ(bytes.left(2), QByteArray("BM")) << f.file;
        EXPECT_EQ(qFromLittleEndian<quint32>(d + 2), quint32(bytes.size())) << f.file;
        EXPECT_EQ(qFromLittleEndian<quint32>(d + 10), 54u) << f.file;          // pixels after the headers
        EXPECT_EQ(qFromLittleEndian<quint32>(d + 14), 40u) << f.file;          // BITMAPINFOHEADER
        EXPECT_EQ(qFromLittleEndian<qint32>(d + 18), size.width()) << f.file;  // width
        EXPECT_EQ(qFromLittleEndian<qint32>(d + 22), size.height()) << f.file; // height, bottom-up
        EXPECT_EQ(qFromLittleEndian<quint16>(d + 26), 1) << f.file;            // planes
        EXPECT_EQ(qFromLittleEndian<quint16>(d + 28), 24) << f.file;           // true colour, no alpha
        EXPECT_EQ(qFromLittleEndian<quint32>(d + 30), 0u) << f.file;           // uncompressed
        const int stride = (size.width() * 3 + 3) / 4 * 4;
        EXPECT_EQ(bytes.size(), 54 + stride * size.height()) << f.file;

        // And it holds the picture, not an empty canvas.
        const QImage back(QDir(dir).filePath(str(f.file)));
        ASSERT_FALSE(back.isNull()) << f.file;
        EXPECT_GT(greySpread(back), 8.0) << f.file;
        EXPECT_EQ(back.pixelColor(size.width() / 2, size.height() / 2),
                  ui::art::draw(str(f.name), 1.0).toImage().pixelColor(size.width() / 2, size.height() / 2))
            << f.file;
    }
    // The pictures a dialog sizes itself by are one pixel larger than that dialog.
    EXPECT_EQ(QImage(QDir(dir).filePath(QStringLiteral("SetupA.bmp"))).size(), QSize(456, 304));
    EXPECT_EQ(QImage(QDir(dir).filePath(QStringLiteral("START1.bmp"))).size(), QSize(800, 600));
    EXPECT_EQ(QImage(QDir(dir).filePath(QStringLiteral("KEINBKAT.BMP"))).size(), QSize(318, 200));
}

TEST_F(ArtworkFiles, AFolderThatCannotBeMadeWritesNothing) {
    lwtest::writeFile(m_dir.path() / "blocker", "a file where the folder should be");
    EXPECT_TRUE(ui::art::writeBitmapFiles(m_root + QStringLiteral("/blocker/Bitmaps")).isEmpty());
}

namespace {

// The rows of a rectangle that hold pixels matching `ink` (dark text: grey below 80).
std::pair<int, int> inkRows(const QImage& img, const QRect& r, const std::function<bool(QRgb)>& ink) {
    int first = -1, last = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (ink(img.pixel(x, y))) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

bool dark(QRgb c) {
    return qGray(c) < 80;
}

bool whiteText(QRgb c) {
    return qGray(c) > 230;
}

} // namespace

TEST(Artwork, HeadingsAndCaptionsStayClearOfTheCloseBoxAndTheEdges) {
    // The close box sits in the band's right end: a heading must end before it.
    for (const auto& e : ui::art::skinTable()) {
        if (!*e.heading) continue;
        ui::art::SkinEntry bare = e;
        bare.heading = "";
        const QRect closeArea(e.width - 48, 0, 48, 34);
        EXPECT_EQ(ui::art::drawSkin(e, 1.0).toImage().copy(closeArea),
                  ui::art::drawSkin(bare, 1.0).toImage().copy(closeArea))
            << e.name << ": the heading runs under the close box";
    }
    // Button captions keep off the button's rim: the outer columns look as they do without a caption.
    for (const auto& e : ui::art::buttonTable()) {
        ui::art::ButtonEntry bare = e;
        bare.caption = "";
        bare.subtitle = nullptr;
        for (qreal dpr : {1.0, 2.0}) {
            const QImage with = ui::art::drawButton(e, dpr).toImage();
            const QImage without = ui::art::drawButton(bare, dpr).toImage();
            const int margin = int(4 * dpr);
            EXPECT_EQ(with.copy(0, 0, margin, with.height()), without.copy(0, 0, margin, with.height())) << e.name;
            EXPECT_EQ(with.copy(with.width() - margin, 0, margin, with.height()),
                      without.copy(with.width() - margin, 0, margin, with.height()))
                << e.name << " at " << dpr << "x: caption cut off at the right";
        }
    }
}

TEST(Artwork, TheFrameIsWhereTheDialogEnds) {
    // The dialog leaves the skin's last pixels off; its right and bottom edge still show the frame.
    for (const auto& e : ui::art::skinTable()) {
        if (e.kind == ui::art::SkinKind::Page || e.cut == 0) continue;
        const QImage img = ui::art::drawSkin(e, 1.0).toImage();
        const QColor ink = ui::art::palette::ink;
        EXPECT_EQ(img.pixelColor(e.width - e.cut - 1, e.height / 2), ink) << e.name << ": no frame on the right";
        EXPECT_EQ(img.pixelColor(e.width / 2, e.height - e.cut - 1), ink) << e.name << ": no frame at the bottom";
        EXPECT_EQ(img.pixelColor(0, e.height / 2), ink) << e.name;
    }
    // The exam shows the question skins two pixels smaller than the training does: both see a frame.
    for (const char* skin : {"Fragen1", "Fragen2"}) {
        const QImage img = ui::art::draw(str(skin), 1.0).toImage();
        for (int cut : {1, 2})
            EXPECT_EQ(img.pixelColor(img.width() - cut - 1, img.height() / 2), ui::art::palette::ink) << skin << cut;
    }
}

TEST(Artwork, ThemeCaptionsStandBesideTheirBars) {
    // Each caption's text lies within the height of the bar(s) of its row, not of the next row.
    struct Page {
        const char* skin;
        int firstTop;
        int step;
        int rowHeight; // from the upper bar's top to the lower bar's bottom
    };
    for (const Page& page : {Page{"StatThem", 44, 30, 10}, Page{"StatRic1", 48, 44, 24}, Page{"StatRic2", 48, 44, 24},
                             Page{"StatVerg", 48, 44, 24}}) {
        const QImage img = ui::art::draw(str(page.skin), 1.0).toImage();
        for (int n = 0; n < 8; ++n) {
            const int top = page.firstTop + page.step * n;
            const auto [first, last] = inkRows(img, QRect(14, top - 12, 190, page.rowHeight + 24), dark);
            ASSERT_GE(first, 0) << page.skin << " row " << n + 1 << " has no caption";
            const int middle = (first + last) / 2;
            EXPECT_GE(middle, top - 2) << page.skin << " row " << n + 1;
            EXPECT_LE(middle, top + page.rowHeight + 2) << page.skin << " row " << n + 1;
        }
    }
}

TEST(Artwork, CaptionsLeaveThePlacesOfTheValuesFree) {
    // The question dialogs' status line: no caption text where the dialog shows a value.
    const QRect questionValues[] = {ui::luRect(225, 34, 39, 9), ui::luRect(225, 103, 10, 9),
                                    ui::luRect(225, 132, 10, 9), ui::luRect(225, 202, 8, 9),
                                    ui::luRect(224, 303, 12, 9)};
    for (const char* skin : {"Fragen1", "Fragen2"}) {
        const QImage img = ui::art::draw(str(skin), 1.0).toImage();
        for (const QRect& r : questionValues)
            EXPECT_EQ(inkRows(img, r, dark).first, -1) << skin << " caption inside the value at " << r.x();
    }
    // The catalog view's bar: white captions, values in their own places (the value layouts two pixels left).
    for (const auto& [skin, shift] : {std::pair{"Katalog1", 0}, std::pair{"Katalog2", 2}}) {
        const QImage img = ui::art::draw(str(skin), 1.0).toImage();
        const QRect values[] = {ui::pxRect(450, 62, 60, 18),          ui::pxRect(450, 214, 18, 18),
                                ui::pxRect(450, 310, 78, 18),         ui::pxRect(450, 530, 18, 18),
                                ui::pxRect(482, 480 - shift, 36, 18), ui::pxRect(482, 560 - shift, 36, 18)};
        for (const QRect& r : values)
            EXPECT_EQ(inkRows(img, r, whiteText).first, -1) << skin << " caption inside the value at " << r.x();
    }
}
