#pragma once

#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>

class QLabel;

namespace core {
class Context;
}

namespace shell {

struct Features;

// The start picture that fills the main window, the optional logo, and the exit question on a right click.
class Background : public QWidget {
    Q_OBJECT
public:
    Background(core::Context& ctx, const QPixmap& picture, QWidget* parent);

    // The logo at its natural size, 20 pixels from the left and bottom edges; a click opens `link`.
    void setLogo(const QPixmap& logo, const QString& link);
    QLabel* logo() const { return m_logo; }
    const QPixmap& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeLogo();

    core::Context& m_ctx;
    QPixmap m_picture;
    QLabel* m_logo = nullptr;
};

// The program's only top-level window: title, icon, the menu and the background.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `maximisedMode` (NS_WINSIZE 1) fixes for this run whether the window keeps its place in the settings file.
    MainWindow(core::Context& ctx, const Features& features, bool maximisedMode, QWidget* parent = nullptr);
    ~MainWindow() override;

    // MAKEDLG: (re)builds the background; the picture appears from the second call on.
    void MAKEDLG();
    int makeDlgCalls() const { return m_calls; }
    Background* background() const { return m_background; }

    // Runs once, right after the window is first shown, before the background is built (login, learning
    // state, update import); the background follows when it returns.
    void setStartActions(std::function<void()> actions) { m_startActions = std::move(actions); }
    bool started() const { return m_started; }

    bool maximisedMode() const { return m_maximisedMode; }

signals:
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void runStartActions();
    const QPixmap& startPicture();

    core::Context& m_ctx;
    bool m_maximisedMode;
    int m_calls = 0;
    bool m_firstShown = false;
    bool m_started = false;
    bool m_pictureLoaded = false;
    QPixmap m_picture;
    QPointer<Background> m_background;
    std::function<void()> m_startActions;
};

} // namespace shell
