// The printing dialogs driven by their real buttons offscreen, the printout read back from a PDF file, and a
// printer choice that is cancelled.
#include <gtest/gtest.h>

#include <QPrintDialog>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include "printout/artwork.h"
#include "printout/layouts.h"
#include "printout/printdialogs.h"
#include "printout/selection.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/catalogfixture.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/services.h"
#include "uitest.h"

namespace {

using printout::ChoiceDialog;
using trainingfixture::Question;

class PrintoutTest : public ::testing::Test {
protected:
    PrintoutTest() : ctx(QString::fromStdString(dir.path().string())) { printout::registerArtwork(); }

    bool anyPrintFile() const {
        for (const char* file : printout::kPrintFiles)
            if (std::filesystem::exists(dir / file)) return true;
        return false;
    }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(PrintoutTest, ControlsStandWhereTheLayoutPutsThem) {
    namespace at = printout::layout::choice;
    for (ChoiceDialog::Kind kind : {ChoiceDialog::Kind::Class, ChoiceDialog::Kind::Theme}) {
        ChoiceDialog dlg(ctx, kind, 3);
        EXPECT_EQ(dlg.size(), QSize(at::kWidth - 1, at::kHeight - 1));
        const bool classes = kind == ChoiceDialog::Kind::Class;
        ASSERT_EQ(dlg.choices()->count(), classes ? 14 : 10);
        for (int i = 0; i < dlg.choices()->count(); ++i) {
            QRadioButton* b = dlg.choices()->button(i + 1);
            EXPECT_EQ(b->geometry(), classes ? at::classItem(i) : at::themeItem(i)) << i;
            // The captions fit their place inside the panel.
            EXPECT_TRUE(at::panel.contains(b->geometry())) << i;
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->text();
        }
        EXPECT_EQ(dlg.nextButton()->geometry(), at::next);
        EXPECT_EQ(dlg.helpButton()->geometry(), at::help);
        EXPECT_EQ(dlg.endButton()->geometry(), at::end);
        EXPECT_EQ(dlg.closeButton()->geometry(), at::close);
        EXPECT_EQ(dlg.choices()->button(9)->text(),
                  classes ? QStringLiteral("Klasse DE") : QStringLiteral("Werte und Maße"));
    }
}

TEST_F(PrintoutTest, TheClassChoiceKeepsItsChoiceAndItsHelpTopicWhileOpen) {
    lwtest::writeFile(dir / "TAVOLIN.INI", "[Setup]\r\nKataDruck=6\r\nKataThema=4\r\n");
    QString topicWhileOpen;
    uitest::onNextDialog<ChoiceDialog>([&](ChoiceDialog* dlg) {
        EXPECT_EQ(dlg->value(), 6);
        EXPECT_EQ(dlg->pos(), QPoint(50, 50));
        topicWhileOpen = ctx.helpTopic;
        QTest::mouseClick(dlg->helpButton(), Qt::LeftButton);
        QTest::mouseClick(dlg->choices()->button(9), Qt::LeftButton);
        uitest::alt(dlg, 'b');
    });
    EXPECT_TRUE(printout::KATADRUCK(ctx, nullptr));
    EXPECT_EQ(topicWhileOpen, QStringLiteral("Fragenkatalog drucken"));
    EXPECT_EQ(ctx.helpTopic, QStringLiteral("Lenkwerk"));
    ASSERT_EQ(ctx.scripted.help->calls().size(), 1u);
    EXPECT_EQ(ctx.scripted.help->calls()[0].what, QStringLiteral("index"));
    EXPECT_EQ(ctx.scripted.help->calls()[0].argument, QStringLiteral("Fragenkatalog drucken"));
    const std::string ini = lwtest::readFile(dir / "TAVOLIN.INI");
    EXPECT_NE(ini.find("KataDruck=9"), std::string::npos) << ini;
    EXPECT_NE(ini.find("KataThema=4"), std::string::npos) << ini;
}

TEST_F(PrintoutTest, AltWOpensTheThemeChoiceOnlyAndPrintsThereWhenPressedAgainNotWhenHeld) {
    ASSERT_TRUE(trainingfixture::writeCatalog(
        dir.path(), {trainingfixture::choice("1.2.01-001", 2, "Frage", {"a", "b"}, {true, false, false})}));
    ctx.scripted.printer->setResult(true);
    bool themesOpened = false;
    uitest::onNextDialog<ChoiceDialog>([&](ChoiceDialog* classes) {
        uitest::onNextDialog<ChoiceDialog>([&](ChoiceDialog* themes) {
            themesOpened = themes->kind() == ChoiceDialog::Kind::Theme;
            // The key that opened this dialog has not printed anything here, nor does it when held down.
            EXPECT_TRUE(ctx.scripted.printer->jobs().isEmpty());
            QTest::simulateEvent(themes, true, Qt::Key_W, Qt::AltModifier, QStringLiteral("w"), true);
            QTest::simulateEvent(themes, false, Qt::Key_W, Qt::AltModifier, QStringLiteral("w"), true);
            EXPECT_TRUE(ctx.scripted.printer->jobs().isEmpty());
            // Pressed anew, it prints.
            uitest::alt(themes, 'w');
            EXPECT_EQ(ctx.scripted.printer->jobs().size(), 1);
            uitest::alt(themes, 'b');
        });
        uitest::alt(classes, 'w');
        EXPECT_TRUE(classes->isVisible());
        classes->activateWindow();
        EXPECT_TRUE(uitest::waitFor([classes] { return QApplication::activeWindow() == classes; }, 2000));
        uitest::alt(classes, 'b');
        if (classes->isVisible()) {
            ADD_FAILURE() << "Alt+B left the class choice open";
            classes->reject();
        }
    });
    printout::KATADRUCK(ctx, nullptr);
    EXPECT_TRUE(themesOpened);
    EXPECT_EQ(ctx.scripted.printer->jobs().size(), 1);
}

// The answers tell whether they are right, so that the printed order can be read back from the pages.
Question question(const std::string& nr, int theme, int answers, std::array<bool, 3> ok) {
    std::vector<std::string> texts;
    for (int i = 0; i < answers; ++i)
        texts.push_back((ok[std::size_t(i)] ? "Stimmt " : "Irrtum ") + std::string(1, char('A' + i)));
    Question q = trainingfixture::choice(nr, theme, "Frage zum Thema " + std::to_string(theme), texts, ok);
    q.points = {{"KLASSE_B", 2 + theme}};
    return q;
}

// Per question header on a page, what follows it up to the next header.
std::vector<QString> sections(const QString& page) {
    std::vector<QString> out;
    const QStringList parts = page.split(QStringLiteral("Frage Nr.:"));
    for (qsizetype i = 1; i < parts.size(); ++i)
        out.push_back(parts[i]);
    return out;
}

TEST_F(PrintoutTest, APrintoutThroughTheDialogsHasItsQuestionsAndMatchingSolutions) {
    if (lwtest::runCommand("command -v pdftotext >/dev/null") != 0) GTEST_SKIP() << "pdftotext is not installed";
    std::vector<Question> catalog = {
        question("1.2.01-004", 2, 3, {false, true, false}), question("1.1.01-001", 1, 3, {true, false, false}),
        question("1.2.01-001", 2, 3, {true, false, false}), question("1.2.01-002", 2, 2, {false, true, false}),
        question("1.2.01-003", 2, 3, {false, false, true}), question("1.2.01-005", 2, 3, {true, true, false}),
        question("1.2.01-006", 2, 3, {false, true, false}),
    };
    Question value = trainingfixture::value("1.2.01-007", 2, "Wie weit?", "Mindestens", "0.8", "Meter");
    value.points = {{"KLASSE_B", 4}};
    catalog.push_back(value);
    ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), catalog));
    const QString pdf = QString::fromStdString((dir / "out.pdf").string());
    auto* printer = new ui::PdfPrinter(pdf);
    ctx.setPrinter(std::unique_ptr<core::PrinterService>(printer));

    uitest::onNextDialog<ChoiceDialog>([&](ChoiceDialog* classes) {
        QTest::mouseClick(classes->choices()->button(3), Qt::LeftButton);
        uitest::onNextDialog<ChoiceDialog>([&](ChoiceDialog* themes) {
            EXPECT_EQ(themes->kind(), ChoiceDialog::Kind::Theme);
            EXPECT_EQ(themes->pos(), QPoint(150, 150));
            QTest::mouseClick(themes->choices()->button(1), Qt::LeftButton);
            QTest::mouseClick(themes->nextButton(), Qt::LeftButton);
            // The dialog stays open for the next printout.
            EXPECT_TRUE(themes->isVisible());
            QTest::mouseClick(themes->endButton(), Qt::LeftButton);
        });
        QTest::mouseClick(classes->nextButton(), Qt::LeftButton);
        QTest::mouseClick(classes->endButton(), Qt::LeftButton);
    });
    printout::KATADRUCK(ctx, nullptr);
    EXPECT_EQ(printer->jobs(), QStringList{QStringLiteral("Fragebogen")});
    EXPECT_FALSE(anyPrintFile());

    std::string out;
    ASSERT_EQ(lwtest::runCommand("pdftotext -raw '" + pdf.toStdString() + "' -", &out), 0);
    const QStringList pages = QString::fromStdString(out).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    const std::vector<QString> asked = sections(pages[0]), solved = sections(pages[1]);
    // Theme 1 of the choice is the catalog's theme 2, in question-number order.
    ASSERT_EQ(asked.size(), 7u);
    ASSERT_EQ(solved.size(), 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        const QString nr = QStringLiteral("1.2.01-00%1").arg(i + 1);
        EXPECT_TRUE(asked[i].trimmed().startsWith(nr)) << asked[i];
        EXPECT_TRUE(solved[i].trimmed().startsWith(nr)) << solved[i];
    }
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Nun folgen die Ergebnisse dieser Prüfungsfragen")));
    EXPECT_TRUE(asked[0].contains(QStringLiteral("Fehlerpunkte: 4")));
    // The marks follow the order in which the answers were printed.
    static const QRegularExpression answer(QStringLiteral("(Stimmt|Irrtum) [ABC]"));
    static const QRegularExpression mark(QStringLiteral("\\((\\s*X?\\s*)\\)\\s*Antwort (\\d)"));
    for (std::size_t i = 0; i < 6; ++i) {
        QString printed, marked;
        for (auto it = answer.globalMatch(asked[i]); it.hasNext();)
            printed += it.next().captured(1) == QLatin1String("Stimmt") ? QLatin1Char('X') : QLatin1Char('-');
        int expectedNumber = 1;
        for (auto it = mark.globalMatch(solved[i]); it.hasNext();) {
            const auto m = it.next();
            marked += m.captured(1).contains(QLatin1Char('X')) ? QLatin1Char('X') : QLatin1Char('-');
            EXPECT_EQ(m.captured(2).toInt(), expectedNumber++);
        }
        EXPECT_EQ(marked, printed) << asked[i] << solved[i];
        EXPECT_EQ(printed.size(), i == 1 ? 2 : 3);
    }
    EXPECT_FALSE(solved[1].contains(QStringLiteral("Antwort 3")));
    EXPECT_TRUE(solved[6].contains(QRegularExpression(QStringLiteral("Mindestens\\s+0,8\\s+Meter")))) << solved[6];
    EXPECT_FALSE(pages[0].contains(QStringLiteral("0,8")));
}

TEST_F(PrintoutTest, ACancelledPrinterChoicePrintsNothingAndLeavesNoFile) {
    ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), {question("1.2.01-001", 2, 3, {true, false, false})}));
    ctx.setPrinter(std::make_unique<ui::SystemPrinter>(std::function<QWidget*()>{}, QStringLiteral(LW_PRINT_MODULE)));
    bool copyWhileChoosing = false;
    uitest::onNextDialog<QPrintDialog>([&](QPrintDialog* dlg) {
        copyWhileChoosing = std::filesystem::exists(dir / "KATALOG.DBF");
        dlg->reject();
    });
    EXPECT_TRUE(printout::KATAPRINT(ctx, 3, 1));
    EXPECT_TRUE(copyWhileChoosing);
    EXPECT_FALSE(anyPrintFile());
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"FRAGEN.CDX", "FRAGEN.DBF", "FRAGEN.FPT"}));
}

} // namespace
