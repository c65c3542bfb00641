#pragma once

#include <QString>

#include <functional>

#include "ui/skinneddialog.h"

class QPushButton;
class QRadioButton;

namespace core {
class Context;
}

namespace diag {

// The support mail (subject, the file whose text becomes the body); empty while the program has none.
using SupportMail = std::function<void(core::Context& ctx, const QString& subject, const QString& file)>;

// The treatments of an old log: 1 delete, 2 print, 3 mail.
enum LogChoice { kDelete = 1, kPrint = 2, kMail = 3 };

// "Fehler-Protokoll": how to deal with the log of an earlier run.
class PrintErrDialog : public ui::SkinnedDialog {
    Q_OBJECT
public:
    PrintErrDialog(core::Context& ctx, bool mailAvailable, QWidget* parent = nullptr);
    int choice() const;

    QRadioButton* option(int choice) const { return m_options[choice - 1]; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* helpButton() const { return m_help; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QRadioButton* m_options[3] = {};
    QPushButton* m_next = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_cancel = nullptr;
};

// PRINTERR: at start-up, offers an old ERROR.LOG for deleting, printing or mailing, NS_ERROR preselected.
// "&Abbrechen" leaves it for the next start.
void PRINTERR(core::Context& ctx, const SupportMail& mail);

// DOWITHLOG: carries out a choice.
void DOWITHLOG(core::Context& ctx, int choice, const SupportMail& mail);

// PRINTERRORLOG: prints the log through the context's printer; false when cancelled or failed.
bool PRINTERRORLOG(core::Context& ctx);

} // namespace diag
