#pragma once

#include <QObject>

namespace core {
class Context;
}

namespace shell {

struct Features;

// F1 in any window of the program opens the program's help at the current topic keyword.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(core::Context& ctx, QObject* parent = nullptr) : QObject(parent), m_ctx(ctx) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    core::Context& m_ctx;
};

// An error log left by an earlier run (ERROR.LOG): offered for deleting, printing or mailing (through the
// features' support mail) with NS_ERROR preselected. This is the one place start-up calls for it, after the
// settings are read and before the about box.
void handleOldErrorLog(core::Context& ctx, const Features& features);

// The program from the preparation of its folder to the backup of the settings at the exit, on a context whose
// program folder and services are set (the real ones in MAIN, scripted ones in tests). Returns the exit code.
int runProgram(core::Context& ctx, const Features& features);

// MAIN: the executable's folder becomes the program folder and the working directory, the real services are
// installed, and the program runs. Needs a QApplication.
int MAIN(const Features& features);

} // namespace shell
