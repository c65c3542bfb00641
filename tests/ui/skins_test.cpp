#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMouseEvent>
#include <QShortcut>
#include <QTest>

#include "support/testdir.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/msgdialogs.h"
#include "ui/skinneddialog.h"
#include "uitest.h"

namespace {

// A program folder of its own, so Styles files of one test never reach another.
class ProgramDir : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = ui::Bitmaps::programDir();
        ui::Bitmaps::setProgramDir(QString::fromStdString(m_dir.path().string()));
    }
    void TearDown() override { ui::Bitmaps::setProgramDir(m_previous); }

    // Writes a plain BMP of one colour under the given relative name.
    void writeBmp(const QString& relative, QSize size, QColor colour) {
        const QString path = QDir(QString::fromStdString(m_dir.path().string())).filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage img(size, QImage::Format_RGB32);
        img.fill(colour);
        ASSERT_TRUE(img.save(path, "BMP"));
    }

    lwtest::TempDir m_dir;
    QString m_previous;
};

} // namespace

TEST(Bitmaps, EveryNamedPictureHasItsSizeAtEveryScale) {
    for (const auto& e : ui::art::skinTable()) {
        for (qreal dpr : {1.0, 2.0}) {
            const QPixmap pm = ui::Bitmaps::builtIn(QString::fromLatin1(e.name), dpr);
            ASSERT_FALSE(pm.isNull()) << e.name;
            EXPECT_EQ(ui::Bitmaps::logicalSize(pm), QSize(e.width, e.height)) << e.name;
            EXPECT_EQ(pm.size(), QSize(e.width, e.height) * dpr) << e.name;
        }
    }
    for (const auto& e : ui::art::buttonTable()) {
        const QPixmap pm = ui::Bitmaps::builtIn(QString::fromLatin1(e.name), 2.0);
        ASSERT_FALSE(pm.isNull()) << e.name;
        EXPECT_EQ(ui::Bitmaps::logicalSize(pm), QSize(e.width, e.height)) << e.name;
    }
}

TEST(Bitmaps, NamesAreFoundWithoutRegardToCaseAndUnknownNamesGiveNothing) {
    EXPECT_FALSE(ui::Bitmaps::builtIn(QStringLiteral("msgyesno"), 1).isNull());
    EXPECT_FALSE(ui::Bitmaps::builtIn(QStringLiteral("BZ_ALLE0"), 1).isNull());
    EXPECT_TRUE(ui::Bitmaps::builtIn(QStringLiteral("NoSuchSkin"), 1).isNull());
    EXPECT_FALSE(ui::Bitmaps::hasBuiltIn(QStringLiteral("NoSuchSkin")));
}

TEST(Bitmaps, ButtonCaptionsAreDrawnAndDifferByName) {
    // Two buttons of the same look but different captions must not come out as the same picture.
    const QImage a = ui::Bitmaps::builtIn(QStringLiteral("BZ_WEIT"), 1).toImage();
    const QImage b = ui::Bitmaps::builtIn(QStringLiteral("BZ_Zeig"), 1).toImage();
    EXPECT_NE(a, b);
    // The inactive variant is drawn differently from the active one.
    EXPECT_NE(ui::Bitmaps::builtIn(QStringLiteral("BZ_Alle"), 1).toImage(),
              ui::Bitmaps::builtIn(QStringLiteral("BZ_Alle0"), 1).toImage());
}

TEST_F(ProgramDir, StylesFileReplacesTheBuiltInSkin) {
    writeBmp(QStringLiteral("styles/msginfo.BMP"), QSize(300, 150), QColor(10, 200, 30));
    const QPixmap pm = ui::Bitmaps::get(QStringLiteral("MsgInfo"));
    EXPECT_EQ(ui::Bitmaps::logicalSize(pm), QSize(300, 150));
    EXPECT_EQ(pm.toImage().pixelColor(5, 5), QColor(10, 200, 30));
    // Other skins are untouched.
    EXPECT_EQ(ui::Bitmaps::logicalSize(ui::Bitmaps::get(QStringLiteral("MsgYesNo"))), QSize(386, 174));

    // Every notice now has the look and the size of the file.
    ui::MessageDialog dlg(ui::MessageDialog::Kind::Info, QStringLiteral("Hallo"), QStringLiteral("Titel"));
    EXPECT_EQ(dlg.size(), QSize(299, 149));
    EXPECT_EQ(dlg.grab().toImage().pixelColor(3, 140), QColor(10, 200, 30));
    // The buttons stay inside a dialog of another size, where they can still be clicked.
    EXPECT_TRUE(dlg.rect().contains(dlg.okButton()->geometry()));
    EXPECT_TRUE(dlg.rect().contains(dlg.closeButton()->geometry()));
}

TEST_F(ProgramDir, StylesFileOfAnotherHeightKeepsQuestionButtonsReachable) {
    writeBmp(QStringLiteral("Styles/MsgYesNo.bmp"), QSize(420, 260), Qt::white);
    ui::MessageDialog tall(ui::MessageDialog::Kind::YesNo, QStringLiteral("?"), QStringLiteral("T"));
    EXPECT_EQ(tall.size(), QSize(419, 259));
    EXPECT_TRUE(tall.rect().contains(tall.yesButton()->geometry()));
    EXPECT_TRUE(tall.rect().contains(tall.noButton()->geometry()));
    // Centred as on the supplied skin: (W - 1) / 2 - 106 and + 8.
    EXPECT_EQ(tall.yesButton()->x(), 209 - 106);
    EXPECT_EQ(tall.noButton()->x(), 209 + 8);
}

TEST_F(ProgramDir, AFileThatIsNoPictureFallsBackToTheBuiltInSkin) {
    const QString path = QDir(QString::fromStdString(m_dir.path().string())).filePath(QStringLiteral("Styles"));
    QDir().mkpath(path);
    lwtest::writeFile(m_dir.path() / "Styles" / "MsgBlank.bmp", "not a bitmap");
    EXPECT_EQ(ui::Bitmaps::logicalSize(ui::Bitmaps::get(QStringLiteral("MsgBlank"))), QSize(384, 134));
}

TEST_F(ProgramDir, SkinNamesCannotReachOutsideTheStylesFolder) {
    writeBmp(QStringLiteral("Secret.bmp"), QSize(20, 20), Qt::red);
    EXPECT_TRUE(ui::Bitmaps::get(QStringLiteral("../Secret")).isNull());
    EXPECT_TRUE(ui::Bitmaps::styleFile(QStringLiteral("..\\Secret")).isEmpty());
}

TEST_F(ProgramDir, PicturesOfTheProgramFolderAreFoundWithoutRegardToCase) {
    writeBmp(QStringLiteral("Bitmaps/START1.bmp"), QSize(64, 48), Qt::blue);
    EXPECT_EQ(ui::Bitmaps::file(QStringLiteral(".\\bitmaps\\Start1.BMP")).size(), QSize(64, 48));
    EXPECT_TRUE(ui::Bitmaps::file(QStringLiteral(".\\bitmaps\\Start2.BMP")).isNull());
}

TEST(SkinnedDialog, IsFramelessModalAndOnePixelSmallerThanItsSkin) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("KataTab"));
    EXPECT_EQ(dlg.size(), QSize(631, 453));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(dlg.isModal());
    EXPECT_FALSE(dlg.isDraggable());
    // The skin is painted at the top left, unstretched.
    const QImage shot = dlg.grab().toImage();
    const QImage skin = ui::Bitmaps::builtIn(QStringLiteral("KataTab"), dlg.devicePixelRatioF()).toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() / 2, 10), skin.pixelColor(skin.width() / 2, 10));
}

TEST(SkinnedDialog, WithoutSkinStillWorks) {
    ui::SkinnedDialog dlg;
    dlg.setDialogSize(200, 100);
    ui::DLGPUTBMP(&dlg, QStringLiteral("NoSuchSkin"));
    EXPECT_TRUE(dlg.skin().isNull());
    EXPECT_EQ(dlg.size(), QSize(200, 100));
    ASSERT_TRUE(uitest::showActive(&dlg));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST(SkinnedDialog, AcceleratorDoesWhatItsButtonDoesAndIsNoControl) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("Login"));
    auto* button = new ui::BitmapButton(QStringLiteral("BZ_WEIT"), QStringLiteral("Eingabe bestätigen"), &dlg);
    int clicks = 0;
    QObject::connect(button, &QAbstractButton::clicked, &dlg, [&] { ++clicks; });
    const int children = int(dlg.findChildren<QWidget*>().size());
    QShortcut* key = dlg.addAccelerator(QLatin1Char('w'), button);
    EXPECT_EQ(int(dlg.findChildren<QWidget*>().size()), children);
    ASSERT_TRUE(uitest::showActive(&dlg));
    uitest::alt(&dlg, 'W');
    EXPECT_EQ(clicks, 1);
    // The accelerator has its own enabled state, apart from the button's.
    button->setEnabled(false);
    uitest::alt(&dlg, 'W');
    EXPECT_EQ(clicks, 2);
    key->setEnabled(false);
    button->setEnabled(true);
    uitest::alt(&dlg, 'W');
    EXPECT_EQ(clicks, 2);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 3);
}

TEST(SkinnedDialog, CloseButtonIsOutsideTheTabOrder) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("MsgInfo"));
    ui::CloseButton* x = dlg.addCloseButton(8, 355);
    EXPECT_EQ(x->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(x->toolTip(), QStringLiteral("Schließen"));
    EXPECT_EQ(x->geometry(), QRect(355, 8, 16, 16));
}

TEST(SkinnedDialog, DragsByItsBackgroundOnlyWhenAllowed) {
    for (bool drag : {false, true}) {
        ui::SkinnedDialog dlg;
        ui::DLGPUTBMP(&dlg, QStringLiteral("MsgBlank"), drag);
        dlg.placeAt(QPoint(100, 100));
        ASSERT_TRUE(uitest::showActive(&dlg));
        const QPoint start = dlg.pos();
        const QPoint local(150, 100);
        QMouseEvent press(QEvent::MouseButtonPress, local, dlg.mapToGlobal(local), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(&dlg, &press);
        if (drag) {
            EXPECT_EQ(dlg.cursor().shape(), Qt::SizeAllCursor);
        }
        const QPoint to = local + QPoint(40, 25);
        QMouseEvent move(QEvent::MouseMove, to, dlg.mapToGlobal(local) + QPoint(40, 25), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&dlg, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, to, dlg.mapToGlobal(local) + QPoint(40, 25), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&dlg, &release);
        EXPECT_EQ(dlg.pos(), drag ? start + QPoint(40, 25) : start) << "drag " << drag;
        EXPECT_NE(dlg.cursor().shape(), Qt::SizeAllCursor);
    }
}

TEST(SkinnedDialog, CloseGateHoldsTheDialogOpen) {
    ui::SkinnedDialog dlg;
    ui::DLGPUTBMP(&dlg, QStringLiteral("MsgBlank"));
    bool open = false;
    dlg.setCloseGate([&] { return open; });
    ASSERT_TRUE(uitest::showActive(&dlg));
    QTest::keyClick(&dlg, Qt::Key_Escape);
    dlg.close();
    dlg.accept();
    EXPECT_TRUE(dlg.isVisible());
    open = true;
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
}

// Centres differ by a pixel where one size is even and the other odd.
TEST(SkinnedDialogPlace, ADialogOpensOverTheMiddleOfItsOwnerAndStaysOnTheScreen) {
    QWidget owner;
    owner.setGeometry(100, 80, 640, 480);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    const QRect area = owner.screen()->availableGeometry();
    {
        ui::SkinnedDialog dlg(&owner);
        dlg.setDialogSize(200, 100);
        dlg.show();
        EXPECT_LE((dlg.geometry().center() - owner.frameGeometry().center()).manhattanLength(), 2);
    }
    // An owner near the edge: the dialog keeps to the screen.
    owner.move(area.right() - 150, 0);
    {
        ui::SkinnedDialog dlg(&owner);
        dlg.setDialogSize(200, 100);
        dlg.show();
        EXPECT_TRUE(area.contains(dlg.geometry())) << dlg.geometry().x() << "," << dlg.geometry().y();
    }
    // A place given to the dialog wins; no owner: the middle of the screen.
    {
        ui::SkinnedDialog dlg(&owner);
        dlg.setDialogSize(200, 100);
        dlg.placeAt(QPoint(5, 6));
        dlg.show();
        EXPECT_EQ(dlg.pos(), QPoint(5, 6));
    }
    ui::SkinnedDialog alone;
    alone.setDialogSize(200, 100);
    alone.show();
    EXPECT_LE((alone.geometry().center() - area.center()).manhattanLength(), 2);
}
