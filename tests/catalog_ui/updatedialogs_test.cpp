#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include "../catalog/update_support.h"
#include "catalog/logviewer.h"
#include "catalog/updatedialogs.h"

namespace {

using namespace updatetest;

class QtApp : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "lw_test_catalog_ui";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
};
[[maybe_unused]] auto* const g_app = ::testing::AddGlobalTestEnvironment(new QtApp);

TEST(UpdateImport, ClosingQuestionAnsweredYesShowsTheLogbookUntilClosed) {
    Program p;
    writeCatalog(p.dir.path(), {{"1.1.01-001", 1, "Frage?", "Ja", "Nein", "", true, false, false, 2}});
    writeUpdate(p.dir.path(), {{"1.1.01-002", 0}});
    p.s.messages->queueAnswer(true);
    QString shownText;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* viewer = dynamic_cast<catalog::LogViewer*>(w); viewer && viewer->isVisible()) {
                shownText = viewer->text();
                viewer->accept();
            }
    });
    poll.start(10);
    catalog::ISUPDATE(p.ctx);
    poll.stop();
    const auto& shown = p.s.messages->shown();
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back().kind, lwtest::ScriptedMessages::Kind::YesNo);
    EXPECT_EQ(shown.back().text,
              QStringLiteral("Ihre Fragendatenbank wurde aktualisiert.\rUpdate-Protokoll anzeigen ?"));
    EXPECT_EQ(shown.back().title, QStringLiteral("Fragen-Update"));
    EXPECT_TRUE(shownText.startsWith(QStringLiteral("Logbuch des Fragenupdate vom: 01.01.2007\n\n")));
    EXPECT_TRUE(shownText.contains(QStringLiteral("  1 Neu      1.1.01-002  \n")));
    EXPECT_TRUE(shownText.contains(QStringLiteral("   Gelöscht: 0\n")));
}

} // namespace
