// The reference for the program's start-up: a bare Qt Widgets window with a menu bar and a picture, nothing else.
// lw_bench_startup_bare <picture>; reports its instants like the program does (LENKWERK_STARTUP_REPORT=<ms>).
#include <chrono>
#include <cstdio>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QTimer>

namespace {

void write(const char* instant) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch());
    std::fprintf(stderr, "lenkwerk-startup %s %lld\n", instant, static_cast<long long>(ns.count()));
    std::fflush(stderr);
}

// The picture; its first paint is followed, once the frame is out, by the report.
class Picture : public QLabel {
public:
    Picture(int stayMs, QWidget* parent) : QLabel(parent), m_stayMs(stayMs) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (m_reported || m_stayMs < 0) return;
        m_reported = true;
        QTimer::singleShot(0, this, [this] {
            write("painted");
            QTimer::singleShot(m_stayMs, window(), &QWidget::close);
        });
    }

private:
    int m_stayMs;
    bool m_reported = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: lw_bench_startup_bare <picture>\n");
        return 2;
    }
    bool ok = false;
    const int stayMs = qEnvironmentVariableIntValue("LENKWERK_STARTUP_REPORT", &ok);
    QMainWindow window;
    QMenu* file = window.menuBar()->addMenu(QStringLiteral("&Datei"));
    file->addAction(QStringLiteral("&Beenden"), &window, &QWidget::close);
    window.menuBar()->addMenu(QStringLiteral("&Hilfe"))->addAction(QStringLiteral("&Über"));
    auto* picture = new Picture(ok ? stayMs : -1, &window);
    picture->setPixmap(QPixmap(QString::fromLocal8Bit(argv[1])));
    picture->setScaledContents(true);
    window.setCentralWidget(picture);
    window.resize(800, 600);
    window.show();
    return app.exec();
}
