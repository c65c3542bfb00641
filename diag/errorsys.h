#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <exception>
#include <functional>
#include <optional>

class QObject;
class QEvent;

namespace core {
class Context;
}

// The handler of unexpected runtime errors: the error record, its one-line text, the log, and the hooks through
// which the program's dialog asks the user what to do.
namespace diag {

// Generic error codes of the records the handler receives.
namespace gencode {
inline constexpr int kDivZero = 5;
inline constexpr int kCreate = 20;
inline constexpr int kOpen = 21;
inline constexpr int kRead = 23;
inline constexpr int kWrite = 24;
inline constexpr int kCorruption = 32;
inline constexpr int kAppendLock = 40;
inline constexpr int kSignal = 90;    // a fatal signal of the operating system
inline constexpr int kException = 91; // a C++ exception nobody caught
} // namespace gencode

// The operating-system codes the quiet cases look at.
inline constexpr int kOsAccessDenied = 5;
inline constexpr int kOsSharingViolation = 32;

// Name of the table driver of our engine, as the log and the error records give it.
inline constexpr const char* kTableDriver = "LWDBF";

struct ErrorRecord {
    int GENCODE = 0;
    int OSCODE = 0;
    int SEVERITY = 2;
    std::optional<QString> SUBSYSTEM;
    std::optional<int> SUBCODE;
    std::optional<QString> DESCRIPTION;
    QString FILENAME;
    QString OPERATION;
    std::optional<QVariantList> ARGS;
    bool CANRETRY = false;
    bool CANDEFAULT = false;
};

// A callback value ("{|| ... }" in the log), for argument lists that carry one.
struct CodeBlock {};

// The one-line error text.
QString ERRORMESSAGE(const ErrorRecord& error);
// A value as the variables section shows it.
QString CGETINFO(const QVariant& value);
// The type letter of a value: C N D L A O B U.
QChar typeLetter(const QVariant& value);
// A value as the argument lines of the header show it.
QString plainText(const QVariant& value);

enum class Choice { End, Retry, Default };

// What the error dialog is shown with; returns the button the user chose.
struct DialogRequest {
    const ErrorRecord& error;
    QString errorLine; // "   Fehlerbeschreibung: " + the error text
    QStringList stack; // "Aufgerufen von NAME(LINE)" entries
    int buttons;       // 1 to 3
};
using DialogHook = std::function<Choice(const DialogRequest& request)>;

// ERRORSYS: installs the handler for the whole process: fatal signals, std::terminate, uncaught exceptions handed
// over by the event loop's guard, and the table engine's error callback. Without a dialog (before one is set, or
// in a program without windows) every error ends the program after the log is written.
void ERRORSYS();
// The program's dialog; the dialog target sets it.
void setErrorDialog(DialogHook hook);
// What the log needs from the running program: its folder (where Error.log goes) and the release string.
void attach(const core::Context& ctx);
void setLogFolder(const QString& folder);
void setRelease(const QString& release);
// The titles of the program's own top-level windows (other programs' titles are private and never logged).
void setWindowTitles(const QStringList& titles);
// The log's path in the current folder: an existing file of that name in any case of letters, else "Error.log".
QString logPath();

// ERRORDIALOG: builds and writes the log, asks the dialog, and returns true to retry, false for the default. Ends
// the program for "Ende", for an error raised while the handler runs, and for a retry during start-up.
// `skipFrames` leaves out the callers' own frames at the top of the stack.
bool ERRORDIALOG(const ErrorRecord& error, int skipFrames = 0);

// The table engine's network-error flag, set when an open or a lock failed quietly.
bool NETERR();
void setNetErr(bool on);

// Runs an operation of the table engine; an error the engine reports during it may be retried: the operation
// runs again. Returns the operation's last result (false after "Default"). A failed open needs no such wrapper:
// the engine offers "&Wiederholen" for it and opens again itself.
bool retryable(const std::function<bool()>& operation);

// a / b, and 0 when b is 0: the program's arithmetic relies on that and logs nothing for it.
double divide(double a, double b);

// The event loop's guard: runs the delivery of one event and hands an exception escaping it to the handler.
// Returns false when the event was dropped.
bool guardedDelivery(const std::function<bool()>& deliver);
// Hands a caught exception to the handler (log, dialog); returns when the user chose "Default".
void handleException(std::exception_ptr error);

} // namespace diag

Q_DECLARE_METATYPE(diag::CodeBlock)
