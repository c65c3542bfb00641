#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral(" QRT Lenkwerk-Trainer 2007 v2.41"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
