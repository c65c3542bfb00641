#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "core/context.h"
#include "diag/artwork.h"
#include "diag/errordialog.h"
#include "diag/layouts.h"
#include "diag/printerr.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "ui/services.h"
#include "uitest.h"

namespace {

namespace at = diag::layout::error;

using uitest::onNextDialog;

diag::ErrorRecord record(bool retry, bool byDefault) {
    diag::ErrorRecord e;
    e.SUBSYSTEM = QStringLiteral("LWDBF");
    e.SUBCODE = 1032;
    e.DESCRIPTION = QStringLiteral("Tabelle beschädigt");
    e.FILENAME = QStringLiteral("A&B.DBF");
    e.CANRETRY = retry;
    e.CANDEFAULT = byDefault;
    return e;
}

class DiagUi : public ::testing::Test {
protected:
    DiagUi() : ctx(QString::fromStdString(dir.path().string())) { diag::registerArtwork(); }
    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

} // namespace

TEST_F(DiagUi, ErrorDialogPlacesOneToThreeButtons) {
    struct Case {
        bool retry, byDefault;
        QRect end, retryAt, defaultAt;
        bool endIsDefault;
    };
    const Case cases[] = {
        {false, false, at::end, {}, {}, true},
        {true, false, at::endOfTwo, at::retryOfTwo, {}, false},
        {false, true, at::endOfTwo, {}, at::byDefault, false},
        {true, true, at::end, at::retry, at::byDefault, true},
    };
    for (const Case& c : cases) {
        const diag::ErrorRecord e = record(c.retry, c.byDefault);
        const int buttons = 1 + c.retry + c.byDefault;
        diag::ErrorDialog dialog({e,
                                  QStringLiteral("   Fehlerbeschreibung: ") + diag::ERRORMESSAGE(e),
                                  {QStringLiteral("Aufgerufen von EINS(12)"), QStringLiteral("Aufgerufen von ZWEI(3)")},
                                  buttons});
        EXPECT_EQ(dialog.size(), QSize(at::kWidth, at::kHeight));
        EXPECT_EQ(dialog.endButton()->geometry(), c.end);
        EXPECT_EQ(dialog.endButton()->isDefault(), c.endIsDefault);
        EXPECT_EQ(dialog.retryButton() != nullptr, c.retry);
        EXPECT_EQ(dialog.defaultButton() != nullptr, c.byDefault);
        if (c.retry) {
            EXPECT_EQ(dialog.retryButton()->geometry(), c.retryAt);
        }
        if (c.byDefault) {
            EXPECT_EQ(dialog.defaultButton()->geometry(), c.defaultAt);
        }
        EXPECT_EQ(dialog.stackList()->geometry(), at::stack);
        EXPECT_EQ(dialog.stackList()->currentRow(), 0);
        // The "&" of the file name is shown, not taken as an accelerator.
        bool shown = false;
        for (auto* label : dialog.findChildren<QLabel*>())
            shown |= label->text().contains(QStringLiteral("A&B.DBF"));
        EXPECT_TRUE(shown);
        // Esc means "&Ende".
        onNextDialog<diag::ErrorDialog>([](diag::ErrorDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
        dialog.exec();
        EXPECT_EQ(dialog.choice(), diag::Choice::End);
    }
}

TEST_F(DiagUi, SystemInformationSeesThePrimaryScreen) {
    diag::installErrorDialog();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const diag::TSystemInfo info;
    ASSERT_GT(screen->depth(), 0);
    EXPECT_EQ(info.GetColors(), std::int64_t(1) << screen->depth());
    EXPECT_EQ(info.ScreenWidth(), screen->size().width());
    EXPECT_EQ(info.ScreenHeight(), screen->size().height());
    EXPECT_EQ(info.ScreenDpi(), qRound(screen->logicalDotsPerInchY()));
    diag::setErrorDialog({});
}

TEST_F(DiagUi, DamagedTableOpenedByADialogOffersRetryAndDefault) {
    diag::ERRORSYS();
    diag::installErrorDialog();
    diag::setLogFolder(QString::fromStdString(dir.path().string()));
    const auto table = dir / "DAMAGED.DBF";
    lwtest::writeFile(table, std::string(10, '\x03')); // too short for a header
    {
        // A good table of the same name, written aside, is what "Wiederholen" will find.
        auto good = store::Table::create(dir / "GOOD.DBF", {{"NR", store::FieldType::Numeric, 4, 0}});
        ASSERT_TRUE(good);
        good->appendBlank();
    }

    auto openByDialog = [&](std::function<void(diag::ErrorDialog*)> answer) {
        bool opened = false;
        QDialog opener;
        QTimer::singleShot(0, &opener, [&] {
            store::Session session;
            onNextDialog<diag::ErrorDialog>(answer);
            // No retryable() around it: the engine repeats a failed open itself when the user asks.
            opened = session.use(table, "DLOC") != nullptr;
            opener.accept();
        });
        opener.exec();
        return opened;
    };

    int shown = 0;
    EXPECT_TRUE(openByDialog([&](diag::ErrorDialog* d) {
        ++shown;
        ASSERT_TRUE(d->retryButton());
        ASSERT_TRUE(d->defaultButton());
        std::filesystem::copy_file(dir / "GOOD.DBF", table, std::filesystem::copy_options::overwrite_existing);
        d->retryButton()->click();
    }));
    EXPECT_EQ(shown, 1);
    const std::string log = lwtest::readFile(dir / "Error.log");
    EXPECT_NE(log.find("Fehlerbeschreibung: Fehler LWDBF/1021  DAMAGED.DBF ist keine Tabelle"), std::string::npos)
        << log;
    EXPECT_EQ(log.back(), '\x1A');

    lwtest::writeFile(table, std::string(10, '\x03'));
    EXPECT_FALSE(openByDialog([&](diag::ErrorDialog* d) { d->defaultButton()->click(); }));

    // A table another holder has open fails quietly: no dialog, no log, the network-error flag set.
    std::filesystem::remove(dir / "Error.log");
    std::filesystem::copy_file(dir / "GOOD.DBF", table, std::filesystem::copy_options::overwrite_existing);
    store::Session holder;
    ASSERT_TRUE(holder.use(table, "DLOC"));
    diag::setNetErr(false);
    int asked = 0;
    diag::setErrorDialog([&](const diag::DialogRequest&) {
        ++asked;
        return diag::Choice::Default;
    });
    store::Session second;
    EXPECT_EQ(second.use(table, "DLOC"), nullptr);
    EXPECT_TRUE(diag::NETERR());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(std::filesystem::exists(dir / "Error.log"));
    diag::setErrorDialog({});
}

namespace {

// An old log of two long lines, as the next start finds it.
std::string oldLog() {
    std::string log = "QRT Lenkwerk-Trainer 2007 v2.41\r\n";
    log += "   Fehlerbeschreibung: " + std::string(60, 'A') + std::string(40, 'B') + "\r\n";
    log += "Stack Aufrufe\r\n\x1A";
    return log;
}

} // namespace

TEST_F(DiagUi, OldLogIsDeletedPrintedOrMailedAtTheNextStart) {
    const auto log = dir / "ERROR.LOG";
    // Delete, preselected by NS_ERROR 1.
    lwtest::writeFile(log, oldLog());
    ctx.settings.NS_ERROR = 1;
    onNextDialog<diag::PrintErrDialog>([](diag::PrintErrDialog* d) {
        EXPECT_TRUE(d->option(diag::kDelete)->isChecked());
        EXPECT_FALSE(d->option(diag::kMail)->isEnabled()) << "no support mail yet";
        d->nextButton()->click();
    });
    diag::PRINTERR(ctx, {});
    EXPECT_FALSE(std::filesystem::exists(log));

    // "Abbrechen" keeps it for the next start.
    lwtest::writeFile(log, oldLog());
    onNextDialog<diag::PrintErrDialog>([](diag::PrintErrDialog* d) { d->cancelButton()->click(); });
    diag::PRINTERR(ctx, {});
    EXPECT_TRUE(std::filesystem::exists(log));

    // Print, preselected by NS_ERROR 2, to a PDF that is read back.
    const QString pdf = QString::fromStdString((dir / "log.pdf").string());
    ctx.setPrinter(std::make_unique<ui::PdfPrinter>(pdf));
    ctx.settings.NS_ERROR = 2;
    onNextDialog<diag::PrintErrDialog>([](diag::PrintErrDialog* d) {
        EXPECT_TRUE(d->option(diag::kPrint)->isChecked());
        d->nextButton()->click();
    });
    diag::PRINTERR(ctx, {});
    EXPECT_FALSE(std::filesystem::exists(log));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QStringList lines = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
    const QString first = QStringLiteral("   Fehlerbeschreibung: ") + QString(47, QLatin1Char('A'));
    const QString second = QString(13, QLatin1Char('A')) + QString(40, QLatin1Char('B'));
    bool sawFirst = false, sawSecond = false;
    for (const QString& line : lines) {
        sawFirst |= line.trimmed() == first.trimmed();
        sawSecond |= line.trimmed() == second;
    }
    EXPECT_TRUE(sawFirst && sawSecond) << lines.join(QLatin1Char('|')).toStdString();

    // Mail, preselected by NS_ERROR 3: asked first, then handed to the support mail.
    lwtest::writeFile(log, oldLog());
    ctx.settings.NS_ERROR = 3;
    ctx.settings.CRELEASE = QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41");
    ctx.scripted.messages->queueAnswer(true);
    QString subject;
    std::string body;
    diag::SupportMail mail = [&](core::Context&, const QString& s, const QString& file) {
        subject = s;
        body = lwtest::readFile(file.toStdString());
    };
    onNextDialog<diag::PrintErrDialog>([](diag::PrintErrDialog* d) {
        EXPECT_TRUE(d->option(diag::kMail)->isChecked());
        d->nextButton()->click();
    });
    diag::PRINTERR(ctx, mail);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].title, QStringLiteral("Email-Versand"));
    EXPECT_EQ(subject, QStringLiteral("Programmfehler in QRT Lenkwerk-Trainer 2007 v2.41"));
    EXPECT_EQ(body, oldLog());
    EXPECT_FALSE(std::filesystem::exists(log));

    // "No" to the question still deletes it, and sends nothing.
    lwtest::writeFile(log, oldLog());
    subject.clear();
    ctx.scripted.messages->queueAnswer(false);
    diag::DOWITHLOG(ctx, diag::kMail, mail);
    EXPECT_TRUE(subject.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(log));
}
