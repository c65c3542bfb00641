#include "viewergallery.h"

#include <QTemporaryDir>

#include <filesystem>

#include "catalog/tables.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/grid.h"
#include "ui/maskededit.h"
#include "viewer/dialogs.h"

namespace gallery {

namespace {

namespace fs = std::filesystem;

// The delivered catalog beside a learner's table in which every third question was answered a few times.
bool prepareFolder(const fs::path& dir) {
    const fs::path from = LW_GALLERY_CATALOG;
    std::error_code ec;
    for (const char* name : {"FRAGEN.DBF", "FRAGEN.FPT", "FRAGEN.CDX"})
        fs::copy_file(from / name, dir / name, fs::copy_options::overwrite_existing, ec);
    if (ec || catalog::MAKELOCAL(dir, "LOCAL1") == catalog::MakeLocalResult::Failed) return false;
    store::Session session;
    store::WorkArea* a = session.use(dir / "LOCAL1.DBF", "DLOC");
    if (!a) return false;
    int i = 0;
    for (a->goTop(); !a->eof(); a->skip(), ++i) {
        if (i % 3) continue;
        const int answers = 1 + i % 5, right = i % 4 ? answers - i % 2 : 0;
        a->replace("ANTWORTEN", store::Value::number(answers));
        a->replace("RICHTIG", store::Value::number(right));
        a->replace("FALSCH", store::Value::number(answers - right));
    }
    return true;
}

// The first row whose question is of the given layout (1 multiple choice, 2 or 3 values), one with a picture of
// its own where there is one.
int rowOfLayout(viewer::Browser& browser, int layout) {
    int first = -1;
    for (int r = 0; r < browser.rowCount(); ++r) {
        const viewer::QuestionData q = browser.GETDATA(r);
        if (q.layout != layout) continue;
        if (first < 0) first = r;
        if (!q.noPicture && !q.picture.isEmpty()) return r;
    }
    return std::max(first, 0);
}

} // namespace

void renderViewer(const SaveFn& save) {
    QTemporaryDir folder;
    const fs::path dir = folder.path().toStdString();
    if (!prepareFolder(dir)) {
        qWarning("the delivered catalog could not be copied from %s", LW_GALLERY_CATALOG);
        return;
    }
    lwtest::ScriptedContext ctx(folder.path());
    core::LoginState login;
    login.NS_USER = 1;
    ctx.setLogin(login);
    {
        viewer::ChoiceDialog dlg(ctx);
        dlg.areas()->setValue(2);
        save(dlg, QStringLiteral("viewer_choice"));
    }
    {
        viewer::Browser browser(ctx);
        if (!browser.open(2)) return;
        {
            viewer::TableDialog dlg(ctx, browser);
            dlg.grid()->setCurrentRow(3);
            save(dlg, QStringLiteral("viewer_table"));
        }
        for (int layout = 1; layout <= 3; ++layout) {
            viewer::QuestionView dlg(ctx, browser, rowOfLayout(browser, layout), nullptr);
            save(dlg, QStringLiteral("viewer_question_%1").arg(layout));
        }
        {
            viewer::SearchDialog dlg(ctx, browser);
            dlg.edit()->setText(QStringLiteral("VORFAHRT"));
            save(dlg, QStringLiteral("viewer_search"));
        }
        if (browser.SUCHEN2(QStringLiteral("VORFAHRT"))) {
            viewer::TableDialog dlg(ctx, browser);
            save(dlg, QStringLiteral("viewer_table_search"));
        }
    }
    {
        viewer::CatalogStatistics statistics(ctx);
        if (statistics.COUNTTEMP()) {
            viewer::StatDialog dlg(ctx, statistics);
            save(dlg, QStringLiteral("viewer_statistics"));
        }
    }
}

} // namespace gallery
