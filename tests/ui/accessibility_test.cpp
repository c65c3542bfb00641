// Screen readers: the toolkit names controls from what a sighted user reads beside them, and the walk over the
// accessibility tree finds every control that is still nameless or roleless.
#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "support/accessibility.h"
#include "ui/accessible.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/geometry.h"
#include "ui/maskededit.h"
#include "ui/progressbar.h"
#include "ui/skinneddialog.h"

namespace {

// A focusable widget that is nothing a reader knows: no role.
class Blob : public QWidget {
public:
    explicit Blob(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
};

bool mentions(const QStringList& problems, const QString& what, const QString& kind) {
    for (const QString& p : problems)
        if (p.contains(what) && p.contains(kind)) return true;
    return false;
}

} // namespace

TEST(Accessibility, ControlsTakeTheCaptionBesideOrAboveThemAndTheWalkFindsTheRest) {
    ui::SkinnedDialog dlg;
    dlg.setDialogSize(400, 300);
    dlg.setWindowTitle(QStringLiteral("Probe"));
    ui::place(new ui::Label(QStringLiteral("&Hubraum:"), &dlg), QRect(10, 10, 80, 20));
    auto* engine = ui::place(new ui::MaskedEdit(&dlg), QRect(100, 10, 60, 20));
    // A value label further left in the same line is not the caption: the nearest one is.
    ui::place(new ui::Label(QStringLiteral("Jahr"), &dlg), QRect(170, 10, 40, 20));
    auto* year = ui::place(new ui::MaskedEdit(&dlg), QRect(220, 10, 60, 20));
    ui::place(new ui::Label(QStringLiteral("Fortschritt"), &dlg), QRect(10, 50, 200, 16));
    auto* bar = ui::place(new ui::ProgressBar(&dlg), QRect(10, 70, 300, 12));
    auto* list = ui::place(new QListWidget(&dlg), QRect(10, 100, 150, 60));
    auto* listCaption = ui::place(new QLabel(QStringLiteral("&Stackliste"), &dlg), QRect(170, 240, 80, 20));
    listCaption->setBuddy(list);
    auto* named = ui::place(new ui::MaskedEdit(&dlg), QRect(200, 50, 60, 20));
    named->setAccessibleName(QStringLiteral("Eigener Name"));
    auto* lonely = ui::place(new ui::MaskedEdit(&dlg), QRect(300, 200, 60, 20));
    lonely->setObjectName(QStringLiteral("lonely"));
    auto* blob = ui::place(new Blob(&dlg), QRect(300, 250, 20, 20));
    blob->setObjectName(QStringLiteral("blob"));
    dlg.show();
    QApplication::processEvents();

    EXPECT_EQ(engine->accessibleName(), QStringLiteral("Hubraum"));
    EXPECT_EQ(year->accessibleName(), QStringLiteral("Jahr"));
    EXPECT_EQ(bar->accessibleName(), QStringLiteral("Fortschritt"));
    EXPECT_EQ(list->accessibleName(), QStringLiteral("Stackliste")); // the buddy, though far away
    EXPECT_EQ(named->accessibleName(), QStringLiteral("Eigener Name"));

    const QStringList problems = lwtest::accessibilityProblems(&dlg);
    EXPECT_EQ(problems.size(), 2) << problems.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(mentions(problems, QStringLiteral("#lonely"), QStringLiteral("no name")));
    EXPECT_TRUE(mentions(problems, QStringLiteral("#blob"), QStringLiteral("no role")));
    // The close button is named by what it does.
    dlg.addCloseButton(4, 370);
    lonely->setAccessibleName(QStringLiteral("Einsam"));
    blob->hide();
    EXPECT_TRUE(lwtest::accessibilityProblems(&dlg).isEmpty());
}

TEST(Accessibility, ABitmapButtonIsNamedByItsTooltipUnlessTheDialogNamesIt) {
    ui::BitmapButton next(QStringLiteral("B_NEXT"), QStringLiteral("Nächste Frage vorlegen."));
    EXPECT_EQ(next.accessibleName(), QStringLiteral("Nächste Frage vorlegen."));
    next.setToolTip(QStringLiteral("Die nächste Frage vorlegen."));
    EXPECT_EQ(next.accessibleName(), QStringLiteral("Die nächste Frage vorlegen."));
    next.setBitmap(QStringLiteral("B_LOES"));
    EXPECT_EQ(next.accessibleName(), QStringLiteral("Die nächste Frage vorlegen."));

    ui::BitmapButton ok(QStringLiteral("BZ_OK"), QString());
    EXPECT_EQ(ok.accessibleName(), QStringLiteral("BZ_OK"));
    ok.setAccessibleName(QStringLiteral("Bestätigen"));
    ok.setToolTip(QStringLiteral("Eingabe bestätigen"));
    ok.setBitmap(QStringLiteral("BZ_OK2"));
    EXPECT_EQ(ok.accessibleName(), QStringLiteral("Bestätigen"));
}

TEST(Accessibility, ACaptionLosesItsAcceleratorMarkAndColon) {
    EXPECT_EQ(ui::captionName(QStringLiteral("&Name:")), QStringLiteral("Name"));
    EXPECT_EQ(ui::captionName(QStringLiteral("Speichern && &Beenden :")), QStringLiteral("Speichern & Beenden"));
    EXPECT_EQ(ui::captionName(QStringLiteral("<b>Blut</b>alkohol")), QStringLiteral("Blutalkohol"));
    EXPECT_EQ(ui::captionName(QStringLiteral("  ")), QString());
}
