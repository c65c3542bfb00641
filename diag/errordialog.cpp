#include "diag/errordialog.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "diag/layouts.h"
#include "ui/bitmaps.h"
#include "ui/fonts.h"
#include "ui/geometry.h"

namespace diag {

namespace at = layout::error;

ErrorDialog::ErrorDialog(const DialogRequest& request, QWidget* parent) : ui::SkinnedDialog(parent) {
    setWindowTitle(QStringLiteral("Lenkwerk - Programmfehler"));
    setDialogSize(at::kWidth, at::kHeight);
    ui::DLGPUTBMP(this, QStringLiteral("ErrorDlg"));
    setFont(ui::fontPt(QStringLiteral("MS Sans Serif"), 10));

    auto* logo = ui::place(new QLabel(this), at::logo);
    logo->setPixmap(ui::Bitmaps::get(QStringLiteral("Stop_Max")));
    logo->setAttribute(Qt::WA_TranslucentBackground);

    // An "&" in a file name is shown as it is, not taken for an accelerator.
    auto* text = ui::place(new QLabel(request.errorLine.trimmed(), this), at::text);
    text->setTextFormat(Qt::PlainText);
    text->setAlignment(Qt::AlignCenter);
    text->setWordWrap(true);
    text->setToolTip(request.errorLine.trimmed());
    // A long text (a file path) takes a smaller font until it fits its three lines.
    for (int px = 12; px >= 8; --px) {
        text->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), px));
        const QRect need = text->fontMetrics().boundingRect(QRect(0, 0, at::text.width(), 1000),
                                                            Qt::TextWordWrap | Qt::AlignCenter, text->text());
        if (need.height() <= at::text.height()) break;
    }

    m_stack = ui::place(new QListWidget(this), at::stack);
    m_stack->addItems(request.stack);
    m_stack->setFont(ui::fontPt(QStringLiteral("MS Sans Serif"), 8));
    if (m_stack->count() > 0) m_stack->setCurrentRow(0);
    auto* stackLabel = ui::place(new QLabel(QStringLiteral("&Stackliste"), this), at::stackLabel);
    stackLabel->setBuddy(m_stack);
    auto* seeLog = ui::place(new QLabel(QStringLiteral("Siehe Error.log Datei"), this), at::seeLog);
    seeLog->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLabel* label : {stackLabel, seeLog})
        label->setFont(ui::fontPx(QStringLiteral("MS Sans Serif"), 12));

    const int buttons = request.buttons;
    m_end = ui::place(new QPushButton(QStringLiteral("&Ende"), this), buttons == 2 ? at::endOfTwo : at::end);
    m_end->setDefault(buttons != 2);
    connect(m_end, &QPushButton::clicked, this, [this] { choose(Choice::End); });
    if (request.error.CANRETRY) {
        m_retry = ui::place(new QPushButton(QStringLiteral("&Wiederholen"), this),
                            buttons == 2 ? at::retryOfTwo : at::retry);
        connect(m_retry, &QPushButton::clicked, this, [this] { choose(Choice::Retry); });
    }
    if (request.error.CANDEFAULT) {
        m_default = ui::place(new QPushButton(QStringLiteral("&Default"), this), at::byDefault);
        connect(m_default, &QPushButton::clicked, this, [this] { choose(Choice::Default); });
    }
    // Tab order from left to right, as the buttons stand.
    if (m_retry) setTabOrder(m_retry, m_end);
    if (m_default) setTabOrder(m_end, m_default);
    m_end->setFocus();
}

void ErrorDialog::choose(Choice choice) {
    m_choice = choice;
    accept();
}

std::optional<ScreenFacts> primaryScreenFacts() {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    if (!screen) return std::nullopt;
    ScreenFacts facts;
    facts.width = screen->size().width();
    facts.height = screen->size().height();
    facts.depth = screen->depth();
    facts.dpiX = screen->logicalDotsPerInchX();
    facts.dpiY = screen->logicalDotsPerInchY();
    facts.monitor = (screen->manufacturer() + QLatin1Char(' ') + screen->model()).trimmed();
    return facts;
}

void installErrorDialog() {
    setScreenSource(primaryScreenFacts);
    setErrorDialog([](const DialogRequest& request) {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return Choice::End;
        QWidget* owner = QApplication::activeModalWidget();
        if (!owner) owner = QApplication::activeWindow();
        ErrorDialog dialog(request, owner);
        dialog.exec();
        return dialog.choice();
    });
}

void refreshWindowTitles() {
    QStringList titles;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow()) titles << w->windowTitle();
    setWindowTitles(titles);
}

ErrorApplication::ErrorApplication(int& argc, char** argv) : QApplication(argc, argv) {
    installErrorDialog();
}

bool ErrorApplication::notify(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    const bool window = (type == QEvent::Show || type == QEvent::Hide || type == QEvent::WindowTitleChange) &&
                        receiver->isWidgetType() && static_cast<QWidget*>(receiver)->isWindow();
    bool handled = false;
    guardedDelivery([&] {
        handled = QApplication::notify(receiver, event);
        return handled;
    });
    if (window) refreshWindowTitles();
    return handled;
}

} // namespace diag
