#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>

#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/cursors.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"
#include "uitest.h"

using ui::MessageDialog;

namespace {

enum class Way { ClickYes, ClickNo, AltJ, AltN, CloseX, Escape, WindowClose };

struct Case {
    MessageDialog::Kind kind;
    Way way;
    bool expected;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << (c.kind == MessageDialog::Kind::YesNo ? "YesNo" : "NoYes") << " way " << int(c.way) << " -> " << c.expected;
}

class QuestionResult : public ::testing::TestWithParam<Case> {};

void answer(MessageDialog& dlg, Way way) {
    switch (way) {
    case Way::ClickYes:
        QTest::mouseClick(dlg.yesButton(), Qt::LeftButton);
        break;
    case Way::ClickNo:
        QTest::mouseClick(dlg.noButton(), Qt::LeftButton);
        break;
    case Way::AltJ:
        uitest::alt(&dlg, 'J');
        break;
    case Way::AltN:
        uitest::alt(&dlg, 'N');
        break;
    case Way::CloseX:
        QTest::mouseClick(dlg.closeButton(), Qt::LeftButton);
        break;
    case Way::Escape:
        QTest::keyClick(&dlg, Qt::Key_Escape);
        break;
    case Way::WindowClose:
        dlg.close();
        break;
    }
}

} // namespace

TEST_P(QuestionResult, AnswersAndCloses) {
    const Case c = GetParam();
    MessageDialog dlg(c.kind, QStringLiteral("Alle Statistik-Daten löschen ?"), QStringLiteral("Frage"));
    ASSERT_TRUE(uitest::showActive(&dlg));
    answer(dlg, c.way);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.answer(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    YesNoAndNoYes, QuestionResult,
    ::testing::Values(
        Case{MessageDialog::Kind::YesNo, Way::ClickYes, true}, Case{MessageDialog::Kind::YesNo, Way::ClickNo, false},
        Case{MessageDialog::Kind::YesNo, Way::AltJ, true}, Case{MessageDialog::Kind::YesNo, Way::AltN, false},
        Case{MessageDialog::Kind::YesNo, Way::CloseX, false}, Case{MessageDialog::Kind::YesNo, Way::Escape, false},
        Case{MessageDialog::Kind::YesNo, Way::WindowClose, false},
        Case{MessageDialog::Kind::NoYes, Way::ClickYes, true}, Case{MessageDialog::Kind::NoYes, Way::ClickNo, false},
        Case{MessageDialog::Kind::NoYes, Way::AltJ, true}, Case{MessageDialog::Kind::NoYes, Way::AltN, false},
        Case{MessageDialog::Kind::NoYes, Way::CloseX, false}, Case{MessageDialog::Kind::NoYes, Way::Escape, false}));

TEST(MessageDialog, AskRunsModallyAndReturnsTheChoice) {
    MessageDialog dlg(MessageDialog::Kind::YesNo, QStringLiteral("Weiter ?"), QStringLiteral("Frage"));
    QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.yesButton(), Qt::LeftButton); });
    EXPECT_TRUE(dlg.ask());
    // A second question on the same dialog starts from No again.
    QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
    EXPECT_FALSE(dlg.ask());
}

TEST(MessageDialog, YesNoLayoutFollowsTheSkin) {
    MessageDialog dlg(MessageDialog::Kind::YesNo, QStringLiteral("Text"), QStringLiteral("Titel"));
    EXPECT_EQ(dlg.size(), QSize(385, 173));
    EXPECT_EQ(dlg.yesButton()->geometry(), QRect(86, 128, 100, 34));
    EXPECT_EQ(dlg.noButton()->geometry(), QRect(200, 128, 100, 34));
    EXPECT_EQ(dlg.closeButton()->geometry(), QRect(358, 8, 16, 16));
    EXPECT_EQ(dlg.titleLabel()->geometry(), QRect(12, 8, 200, 16));
    EXPECT_EQ(dlg.messageLabel()->geometry(), QRect(64, 50, 292, 60));
    EXPECT_EQ(dlg.titleLabel()->font().pixelSize(), 14);
    EXPECT_EQ(dlg.messageLabel()->font().pixelSize(), 13);
    EXPECT_EQ(dlg.yesButton()->toolTip(), QStringLiteral("Antwort ist JA"));
    EXPECT_EQ(dlg.noButton()->toolTip(), QStringLiteral("Antwort ist NEIN"));
    EXPECT_EQ(dlg.closeButton()->toolTip(), QStringLiteral("Schließen"));
}

TEST(MessageDialog, NoYesPutsNeinFirst) {
    MessageDialog dlg(MessageDialog::Kind::NoYes, QStringLiteral("Senden ?"), QStringLiteral("Frage"));
    ASSERT_TRUE(uitest::showActive(&dlg));
    EXPECT_EQ(dlg.noButton()->geometry().topLeft(), QPoint(86, 128));
    EXPECT_EQ(dlg.yesButton()->geometry().topLeft(), QPoint(200, 128));
    // First in the tab order: it has the focus, and Tab moves on to "Ja".
    EXPECT_TRUE(dlg.noButton()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_TRUE(dlg.yesButton()->hasFocus());
    // Enter on the focused button answers with it.
    QTest::keyClick(dlg.yesButton(), Qt::Key_Space);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_TRUE(dlg.answer());
}

TEST(MessageDialog, MessageLinesBreakAtCarriageReturns) {
    MessageDialog dlg(MessageDialog::Kind::Info,
                      QStringLiteral("Die Einstellungen werden erst nach\rdem nächsten Start"
                                     " aktiviert !"),
                      QStringLiteral("Setup"));
    EXPECT_EQ(dlg.messageLabel()->text(),
              QStringLiteral("Die Einstellungen werden erst nach\ndem nächsten Start aktiviert !"));
}

TEST(MessageDialog, InfoIsAlwaysFalse) {
    for (Way way : {Way::ClickYes, Way::AltJ, Way::CloseX, Way::Escape}) {
        MessageDialog dlg(MessageDialog::Kind::Info, QStringLiteral("Hinweis"), QStringLiteral("Achtung"));
        ASSERT_TRUE(uitest::showActive(&dlg));
        EXPECT_EQ(dlg.size(), QSize(381, 172));
        EXPECT_EQ(dlg.okButton()->geometry(), QRect(142, 126, 100, 34));
        EXPECT_EQ(dlg.closeButton()->geometry().topLeft(), QPoint(355, 8));
        EXPECT_EQ(dlg.messageLabel()->font().pixelSize(), 14);
        switch (way) {
        case Way::ClickYes:
            QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
            break;
        case Way::AltJ:
            uitest::alt(&dlg, 'O');
            break;
        default:
            answer(dlg, way);
        }
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_FALSE(dlg.answer());
    }
}

TEST(MessageDialog, EnterClosesTheNoticeAsOk) {
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        MessageDialog dlg(MessageDialog::Kind::Info, QStringLiteral("Es wird nun ein Update importiert !"),
                          QStringLiteral("Update"));
        ASSERT_TRUE(uitest::showActive(&dlg));
        QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
}

TEST(MessageDialog, OtherAltKeysDoNothing) {
    MessageDialog dlg(MessageDialog::Kind::YesNo, QStringLiteral("Text"), QStringLiteral("Titel"));
    ASSERT_TRUE(uitest::showActive(&dlg));
    uitest::alt(&dlg, 'O');
    uitest::alt(&dlg, 'B');
    EXPECT_TRUE(dlg.isVisible());
}

// ---- progress dialog ---------------------------------------------------------------------------------------

TEST(MeterDialog, RefusesEveryCloseWhileTheActionRuns) {
    int refused = 0;
    bool cancelledDuringAction = true;
    bool sawDefaults = false;
    ui::MeterDialog* shown = nullptr;
    auto action = [&](core::Progress& progress) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<ui::MeterDialog*>(w); d && d->isVisible()) shown = d;
        ASSERT_NE(shown, nullptr);
        ui::MeterDialog& dialog = *shown;
        cancelledDuringAction = progress.cancelled();
        sawDefaults = dialog.bar()->total() == 10 && dialog.bar()->position() == 0 &&
                      dialog.textLabel()->text() == QStringLiteral("Statistik-Daten ermitteln ...");
        progress.setTotal(4);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        refused += dialog.isVisible();
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
        refused += dialog.isVisible();
        dialog.close(); // what Alt+F4 and the window manager do
        refused += dialog.isVisible();
        dialog.reject();
        refused += dialog.isVisible();
        for (int i = 1; i <= 4; ++i) {
            progress.setPosition(i);
            progress.setText(QStringLiteral("Schritt %1").arg(i));
        }
        refused += dialog.isVisible();
    };
    ui::MeterDialog dlg(action, QStringLiteral("Statistik-Daten ermitteln ..."), QStringLiteral("Bitte warten"));
    dlg.run(); // returns only once the dialog has closed
    EXPECT_TRUE(sawDefaults);
    EXPECT_FALSE(cancelledDuringAction);
    EXPECT_EQ(refused, 5);
    EXPECT_TRUE(dlg.done());
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.bar()->position(), 4);
    EXPECT_EQ(dlg.textLabel()->text(), QStringLiteral("Schritt 4"));
}

TEST(MeterDialog, WithoutActionClosesByItselfAndKeepsItsDefaults) {
    ui::MeterDialog dlg({}, QStringLiteral("Ausführen..."), QStringLiteral("Bitte warten"));
    EXPECT_EQ(dlg.size(), QSize(383, 133));
    EXPECT_EQ(dlg.titleLabel()->geometry(), QRect(12, 8, 200, 16));
    EXPECT_EQ(dlg.textLabel()->geometry(), QRect(20, 50, 340, 20));
    EXPECT_EQ(dlg.bar()->geometry(), QRect(20, 80, 340, 20));
    EXPECT_EQ(dlg.closeButton()->geometry().topLeft(), QPoint(358, 8));
    EXPECT_EQ(dlg.titleLabel()->palette().color(QPalette::Window), QColor(74, 188, 252));
    QTimer guard;
    guard.setSingleShot(true);
    bool hung = false;
    QObject::connect(&guard, &QTimer::timeout, &dlg, [&] {
        hung = true;
        dlg.setCloseGate({});
        dlg.reject();
    });
    guard.start(5000);
    dlg.run();
    EXPECT_FALSE(hung);
    EXPECT_TRUE(dlg.done());
}
