#include <gtest/gtest.h>

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include "ui/cursors.h"
#include "ui/fonts.h"
#include "ui/msgdialogs.h"
#include "uitest.h"

TEST(Fonts, OldFamiliesMapToInstalledFacesAtTheirSizes) {
    EXPECT_EQ(ui::mapFontFamily(QStringLiteral("MS Sans Serif")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(ui::mapFontFamily(QStringLiteral("Ms Sans Serif")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(ui::mapFontFamily(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(ui::mapFontFamily(QStringLiteral("Times Roman")), QStringLiteral("Liberation Serif"));

    const QFont title = ui::fontPx(QStringLiteral("Arial"), 14);
    EXPECT_EQ(title.pixelSize(), 14);
    EXPECT_EQ(QFontInfo(title).family(), QStringLiteral("Liberation Sans")); // really installed, not substituted
    const QFont bold = ui::fontPt(QStringLiteral("MS Sans Serif"), 8, true);
    EXPECT_EQ(bold.pointSizeF(), 8.0);
    EXPECT_TRUE(bold.bold());
    EXPECT_EQ(QFontInfo(ui::fontPt(QStringLiteral("Times Roman"), 12)).family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(ui::dialogFont(true).pointSizeF(), 8.0);
}

TEST(Cursors, WaitCursorCoversTheProgramForItsLifetime) {
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    {
        ui::WaitCursor wait;
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ui::cursor(ui::CursorKind::Hand).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(ui::cursor(ui::CursorKind::Move).shape(), Qt::SizeAllCursor);
}

TEST(WarningBox, IsThePlatformsMessageBoxWithTitleAndText) {
    QString title, text;
    QTimer::singleShot(50, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                title = box->windowTitle();
                text = box->text();
                box->accept();
            }
        }
    });
    ui::showWarningBox(nullptr, QStringLiteral("Es wurde kein Acrobat-Reader gefunden!"), QStringLiteral("Problem"));
    EXPECT_EQ(title, QStringLiteral("Problem"));
    EXPECT_EQ(text, QStringLiteral("Es wurde kein Acrobat-Reader gefunden!"));
}
