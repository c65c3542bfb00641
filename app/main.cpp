#include <QApplication>

#include "shell/features.h"
#include "shell/program.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The functions the menu starts from other modules; an item stays disabled until its module is linked here.
    shell::Features features;
    return shell::MAIN(features);
}
