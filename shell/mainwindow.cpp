#include "shell/mainwindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>

#include "platform/inifile.h"
#include "shell/features.h"
#include "shell/login.h"
#include "shell/logindialog.h"
#include "shell/menu.h"
#include "shell/settings.h"
#include "ui/bitmaps.h"
#include "core/context.h"
#include "core/helptopics.h"

namespace shell {

namespace {

// The logo: a picture that opens its link on a left click.
class LogoLabel : public QLabel {
public:
    LogoLabel(std::function<void()> onClick, QWidget* parent) : QLabel(parent), m_onClick(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            event->accept();
            if (m_onClick) m_onClick();
            return;
        }
        QLabel::mousePressEvent(event);
    }

private:
    std::function<void()> m_onClick;
};

} // namespace

Background::Background(core::Context& ctx, const QPixmap& picture, QWidget* parent)
    : QWidget(parent), m_ctx(ctx), m_picture(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent, !picture.isNull());
}

void Background::setLogo(const QPixmap& logo, const QString& link) {
    delete m_logo;
    m_logo = nullptr;
    if (logo.isNull()) return;
    m_logo = new LogoLabel([this, link] { openAddress(m_ctx, link); }, this);
    m_logo->setPixmap(logo);
    m_logo->resize(ui::Bitmaps::logicalSize(logo));
    placeLogo();
    m_logo->show();
}

void Background::placeLogo() {
    if (m_logo) m_logo->move(20, height() - 20 - m_logo->height());
}

void Background::paintEvent(QPaintEvent*) {
    if (m_picture.isNull()) return; // a missing start picture leaves the area empty
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(rect(), m_picture);
}

void Background::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (core::MSGYESNO(m_ctx, QStringLiteral("Norvale Lenkwerk beenden"), QStringLiteral("Programmende")))
        window()->close();
}

void Background::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeLogo();
}

MainWindow::MainWindow(core::Context& ctx, const Features& features, bool maximisedMode, QWidget* parent)
    : QMainWindow(parent), m_ctx(ctx), m_maximisedMode(maximisedMode) {
    MAKEMENU(ctx, this, features);
    // The start picture and the dialogs are laid out for at least this much.
    setMinimumSize(kMinWindowWidth, kMinWindowHeight);
    auto* client = new QWidget(this);
    client->setAutoFillBackground(true);
    setCentralWidget(client);
    // The menu item promises Alt+F4; a desktop without a window manager would not deliver it as a close.
    auto* exit = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F4), this);
    connect(exit, &QShortcut::activated, this, &QWidget::close);
    followLoginInTitle(ctx, this);
    // The pictures and skins of this program folder.
    ui::Bitmaps::setProgramDir(ctx.programDir);
}

MainWindow::~MainWindow() {
    if (m_ctx.ownerWindow() == this) m_ctx.setOwnerWindow(nullptr);
}

const QPixmap& MainWindow::startPicture() {
    // The picture chosen at start-up stays for the whole run; read it once, not on every resize.
    if (!m_pictureLoaded) {
        m_pictureLoaded = true;
        const QString name = m_ctx.settings.CS_BRUSH;
        m_picture = ui::Bitmaps::file(QStringLiteral("Bitmaps/") + name + QStringLiteral(".bmp"));
        if (m_picture.isNull()) m_picture = ui::Bitmaps::builtIn(name);
    }
    return m_picture;
}

void MainWindow::MAKEDLG() {
    QWidget* client = centralWidget();
    if (m_calls < 2) ++m_calls;
    m_ctx.helpTopic = core::topicKeyword(core::topic::kMain);
    delete m_background;
    if (m_calls < 2) return;

    const QString ini = iniPath(m_ctx);
    const QString logoName = platform::readProfileString(ini, QStringLiteral("Setup"), QStringLiteral("LinkLogo"), {});
    const QString logoLink = platform::readProfileString(ini, QStringLiteral("Setup"), QStringLiteral("LogoLink"), {});

    m_background = new Background(m_ctx, startPicture(), client);
    m_background->setGeometry(client->rect());
    if (!logoName.isEmpty() && !logoLink.isEmpty()) m_background->setLogo(ui::Bitmaps::get(logoName), logoLink);
    m_background->show();
}

void MainWindow::runStartActions() {
    if (m_startActions) m_startActions();
    m_started = true;
    MAKEDLG();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_firstShown) return;
    m_firstShown = true;
    // Showing is the window's first resize: a normal window keeps its place from here on.
    if (!m_maximisedMode) PUTCOORDS(m_ctx, 0, this);
    MAKEDLG();
    // After the window is on the screen, so the login appears over a visible, still empty main window.
    QTimer::singleShot(0, this, &MainWindow::runStartActions);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!m_firstShown) return;
    if (!m_maximisedMode) PUTCOORDS(m_ctx, 0, this);
    // While the start actions run the window stays empty; they end with the build of the background.
    if (m_started) MAKEDLG();
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (m_firstShown && !m_maximisedMode) PUTCOORDS(m_ctx, 0, this);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit closed();
}

} // namespace shell
