#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace core {
class Context;
}

namespace shell {

// The functions the menu starts that live in other modules. An empty entry leaves its menu item disabled; the
// program's main() fills in what it links.
struct Features {
    using Dialog = std::function<void(core::Context& ctx, QWidget* owner)>;
    using Command = std::function<void(core::Context& ctx)>;

    // Theme selection of a licence class ("B / BE"), with the class description.
    std::function<void(core::Context& ctx, QWidget* owner, const QString& classCode, const QString& description)>
        GETTHEMA;
    Dialog KATALOG;    // catalog browser
    Dialog LERNSTAND;  // learning state, exam history and readiness (under Training)
    Dialog KATADRUCK;  // catalog printing
    Dialog KATASTAT;   // catalog statistics
    Dialog KFZ_STEUER; // vehicle-tax calculator
    Dialog BUSSRECH;   // fine calculator
    Dialog ANHAWEG;    // stopping-distance calculator
    Dialog DOWNLOADIT; // update check
    // Support mail (subject, file whose text is the body): the error log of an earlier run is mailed with it.
    std::function<void(core::Context& ctx, const QString& subject, const QString& file)> MAILSUPPORT;
    // Maintenance (maintainer mode only).
    Command KONVTRANS;
    Command DECRYPTALL;
    Command ENCRYPTALL;
    Command IMPORTPICS;
};

} // namespace shell
