#include "training/themedialog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QShortcut>

#include "core/context.h"
#include "core/helptopics.h"
#include "training/layouts.h"
#include "training/questiondialog.h"
#include "training/slots.h"
#include "training/themes.h"
#include "ui/artwork.h"
#include "ui/buttons.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace training {

namespace {

// The caption of a theme button as the learner reads it, for its tooltip and its accessible name.
QString caption(const char* bitmap) {
    const ui::art::ButtonEntry* entry = ui::art::findButton(QString::fromLatin1(bitmap));
    if (!entry) return QString::fromLatin1(bitmap);
    QString text = QString::fromUtf8(entry->caption).remove(QLatin1Char('&'));
    if (entry->subtitle) text += QStringLiteral(": ") + QString::fromUtf8(entry->subtitle);
    return text;
}

struct Activity {
    const char* bitmap;
    char key;
    int choice;
};

// The theme buttons and the three activities with their keys and what they choose.
std::array<Activity, 12> activities() {
    std::array<Activity, 12> all{};
    for (size_t i = 0; i < kThemes.size(); ++i)
        all[i] = {kThemes[i].bitmap, kThemes[i].key, kThemes[i].theme};
    all[9] = {"BT_Pruef", 'P', ThemeDialog::kExam};
    all[10] = {"BT_Stati", 'S', ThemeDialog::kStatistics};
    all[11] = {"BT_Beend", 'B', ThemeDialog::kLeave};
    return all;
}

} // namespace

ThemeDialog::ThemeDialog(core::Context& ctx, const QString& classCode, const Links& links, QWidget* parent)
    : ui::SkinnedDialog(parent), m_ctx(ctx) {
    namespace at = layout::themes;
    setWindowTitle(QStringLiteral("Themenauswahl"));
    // The dialog takes its size from the picture in the Bitmaps folder; without it, from the built-in one.
    const QPixmap file(ctx.resolve(QStringLiteral(".\\Bitmaps\\ThemAusw.bmp")));
    if (!file.isNull()) setDialogSize(file.width() - 1, file.height() - 1);
    ui::DLGPUTBMP(this, QStringLiteral("ThemAusw"), true);
    setHelpTopic(ctx, core::topicKeyword(core::topic::kThemeSelection));

    m_header = ui::place(new ui::Label(QStringLiteral("Themenauswahl für Klasse '") + classCode + QLatin1Char('\''), this),
                         at::header);
    m_header->setFont(ui::fontPx(QStringLiteral("Arial"), 14));
    m_header->setColors(Qt::black, ui::art::palette::themeTab);

    const auto all = activities();
    for (size_t i = 0; i < all.size(); ++i) {
        const Activity& a = all[i];
        int column = 0, row = 0;
        for (int r = 0; r < 6; ++r) {
            if (qstrcmp(at::kLeft[r], a.bitmap) == 0) column = 0, row = r;
            if (qstrcmp(at::kRight[r], a.bitmap) == 0) column = 1, row = r;
        }
        const QString text = caption(a.bitmap);
        auto* button = ui::place(new ui::BitmapButton(QString::fromLatin1(a.bitmap), text, this), at::button(column, row));
        button->setAccessibleName(text);
        m_buttons[i] = button;
        const int choice = a.choice;
        connect(button, &QAbstractButton::clicked, this, [this, choice] { choose(choice); });
        QShortcut* key = addAccelerator(QLatin1Char(a.key), button);
        bool available = true;
        if (choice == kExam && !links.exam) {
            available = false;
            button->setToolTip(QStringLiteral("Die Prüfungssimulation ist noch nicht verfügbar."));
        } else if (choice == kStatistics && !links.statClass) {
            available = false;
            button->setToolTip(QStringLiteral("Die Statistik ist noch nicht verfügbar."));
        }
        button->setEnabled(available);
        key->setEnabled(available);
    }
    // Tab order down the left column, then down the right, as the learner reads the buttons.
    QWidget* previous = nullptr;
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 6; ++row) {
            QWidget* w = button(column == 0 ? at::kLeft[row] : at::kRight[row]);
            if (previous) setTabOrder(previous, w);
            previous = w;
        }
    addCloseButton(at::close);
    button("BT_Gefah")->setFocus();
}

ui::BitmapButton* ThemeDialog::button(const char* bitmap) const {
    for (ui::BitmapButton* b : m_buttons)
        if (b && b->bitmapName() == QLatin1String(bitmap)) return b;
    return nullptr;
}

void ThemeDialog::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus, as Space does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        if (auto* focused = qobject_cast<ui::BitmapButton*>(focusWidget()); focused && focused->isEnabled()) {
            focused->click();
            return;
        }
    }
    ui::SkinnedDialog::keyPressEvent(event);
}

void ThemeDialog::choose(int choice) {
    m_choice = choice;
    if (choice == kLeave)
        reject();
    else
        accept();
}

void GETTHEMA(core::Context& ctx, QWidget* owner, const QString& classCode, const QString&, const Links& links) {
    for (;;) {
        int choice = ThemeDialog::kLeave;
        {
            ThemeDialog dialog(ctx, classCode, links, owner);
            keepInSlot(ctx, &dialog, 1);
            dialog.exec();
            choice = dialog.choice();
        }
        if (choice == ThemeDialog::kLeave) break;
        if (choice >= 1 && choice <= 9)
            FRAGEN(ctx, owner, themeTitle(choice), classCode, choice, links);
        else if (choice == ThemeDialog::kExam && links.exam)
            links.exam(ctx, owner, classCode);
        else if (choice == ThemeDialog::kStatistics && links.statClass)
            links.statClass(ctx, owner, classCode);
        QCoreApplication::processEvents();
    }
}

} // namespace training
