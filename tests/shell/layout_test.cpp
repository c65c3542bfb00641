// Each dialog's control rectangles are written once: the dialog places its controls there and its background
// picture bears its panels under them.
#include <QImage>

#include "shell/layouts.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/setupdialog.h"
#include "shelltest.h"
#include "ui/artwork.h"
#include "ui/bitmaps.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using shelltest::ShellTest;
namespace layout = shell::layout;

class Layouts : public ShellTest {};

TEST_F(Layouts, TheLoginDialogStandsWhereItsLayoutSays) {
    shell::LoginSession session(ctx);
    shell::LoginDialog dlg(ctx, session);
    EXPECT_EQ(dlg.nameField()->geometry(), layout::login::name);
    EXPECT_EQ(dlg.passwordField()->geometry(), layout::login::password);
    EXPECT_EQ(dlg.switchOffBox()->geometry(), layout::login::switchOff);
    EXPECT_EQ(dlg.confirmButton()->geometry(), layout::login::confirm);
    EXPECT_EQ(dlg.helpButton()->geometry(), layout::login::help);
    EXPECT_EQ(dlg.cancelButton()->geometry(), layout::login::cancel);
    // Every control lies inside the dialog.
    for (const QRect& r : {layout::login::heading, layout::login::nameLabel, layout::login::name,
                           layout::login::modeLabel, layout::login::confirm, layout::login::cancel})
        EXPECT_TRUE(dlg.rect().contains(r)) << r.x() << "," << r.y();
}

TEST_F(Layouts, TheLoginPictureHasItsPanelUnderTheFieldsAndItsStripUnderTheButtons) {
    const QImage skin = ui::Bitmaps::builtIn(QStringLiteral("Login"), 1.0).toImage();
    ASSERT_FALSE(skin.isNull());
    // Beside the name field, inside the panel that runs from the name to the mode switch.
    EXPECT_EQ(skin.pixelColor(16, layout::login::name.center().y()), ui::art::palette::panel);
    EXPECT_EQ(skin.pixelColor(16, layout::login::switchOff.center().y()), ui::art::palette::panel);
    // Between the buttons, on the strip: not the panel.
    const QPoint strip(layout::login::help.left() - 2, layout::login::help.center().y());
    EXPECT_NE(skin.pixelColor(strip), ui::art::palette::panel);
}

TEST_F(Layouts, TheSettingsDialogsShareTheirButtonRowAndTabs) {
    shell::SetupDialog dlg(ctx);
    EXPECT_EQ(dlg.saveButton()->geometry(), layout::settings::save);
    EXPECT_EQ(dlg.helpButton()->geometry(), layout::settings::help);
    EXPECT_EQ(dlg.endButton()->geometry(), layout::settings::end);
    EXPECT_EQ(dlg.questionCount()->geometry(), layout::setup::count);
    EXPECT_EQ(dlg.mailNameField()->geometry(), layout::setup::mailName);
    // Every control of every page fits on the page under the tab row.
    for (int tab = 0; tab < dlg.tabs()->count(); ++tab) {
        QWidget* page = dlg.tabs()->widget(tab);
        for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(QRect(QPoint(0, 0), layout::settings::tabs.size()).contains(w->geometry()))
                << "tab " << tab << ": " << w->metaObject()->className();
    }
}

} // namespace
