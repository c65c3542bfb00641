#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class QPainter;
class QPagedPaintDevice;

namespace core {

// What long work reports to whoever shows it (the progress dialog in the program, a recorder in tests).
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setTotal(int total) = 0;
    virtual void setPosition(int position) = 0;
    virtual void setText(const QString& text) = 0;
    // The user asked to stop; long work looks at it between steps.
    virtual bool cancelled() const = 0;
    // The colour of the bar, for work that shows its progress in colour too; ignored where there is no bar.
    virtual void setBarColor(int red, int green, int blue) {
        (void)red;
        (void)green;
        (void)blue;
    }
};

// The work MSGMETER runs while its dialog is shown.
using MeterAction = std::function<void(Progress& progress)>;

// Questions, notices and the progress dialog: MSGYESNO, MSGNOYES, MSGINFO, MSGMETER and the platform's
// warning box.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual bool yesNo(const QString& message, const QString& title) = 0;
    virtual bool noYes(const QString& message, const QString& title) = 0;
    virtual bool info(const QString& message, const QString& title) = 0; // always false
    virtual void warning(const QString& message, const QString& title) = 0;
    virtual void meter(const MeterAction& action, const QString& text, const QString& title) = 0;
    // Work without a meter is going on (the wait cursor); calls nest.
    virtual void busy(bool on) = 0;
};

// The wait cursor while it lives.
class BusyScope {
public:
    explicit BusyScope(MessageService& messages) : m_messages(messages) { m_messages.busy(true); }
    ~BusyScope() { m_messages.busy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    MessageService& m_messages;
};

// Help collections in Texte/ ("TAVOLIN.HLP" names the collection TAVOLIN.qhc there).
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showTopic(const QString& helpFile, const QString& keyword) = 0;
    virtual void showContents(const QString& helpFile) = 0;
    virtual void showIndex(const QString& helpFile, const QString& searchText) = 0;
};

// Asynchronous playback of a sound file named relative to the program folder; a missing file or a machine
// without sound output stays silent.
class SoundService {
public:
    virtual ~SoundService() = default;
    virtual void play(const QString& file) = 0;
};

class SpeechService {
public:
    virtual ~SpeechService() = default;
    // Starts finding out, in the background, whether an engine with a German voice is present; asking the engine
    // can take seconds. Once is enough; the answer is kept.
    virtual void probe() {}
    // The answer without waiting: false while it is not known yet. For dialogs, which must open at once.
    virtual bool availableNow() { return available(); }
    // An engine with a German voice is present; waits for the answer (a few seconds at most) when it is not known.
    virtual bool available() = 0;
    // Speaks the parts one after the other with a short pause between them.
    virtual void speak(const QStringList& parts) = 0;
};

// Shell "open" of documents and addresses, and process start.
class ShellService {
public:
    // NoProgram: the system has no program for that kind of file; Failed: it has one, but it could not be started.
    enum class Result { Ok, NotFound, NoProgram, Failed };
    virtual ~ShellService() = default;
    virtual Result openDocument(const QString& path) = 0;
    // False when the system has no program for the address or it could not be started.
    virtual bool openUrl(const QString& url) = 0;
    virtual bool startProcess(const QString& program, const QStringList& arguments,
                              const QString& workingDirectory) = 0;
};

// Printer pages: the routine draws each page; newPage() starts the next one.
class PrinterService {
public:
    using PageWriter = std::function<bool(QPainter& painter, QPagedPaintDevice& device)>;
    virtual ~PrinterService() = default;
    // Lets the user choose a printer, then runs the writer; false when cancelled or the printer failed.
    virtual bool print(const QString& jobName, const PageWriter& writer) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace core
