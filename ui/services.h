#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QWidget;

namespace ui {

class ProgressBar;
class Label;
class SkinnedDialog;

// The action MSGMETER runs: it gets the progress bar, the text control, the dialog and the done flag.
using MeterAction = std::function<void(ProgressBar& bar, Label& text, SkinnedDialog& dialog, bool& done)>;

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
    // An engine with a German voice is present.
    virtual bool available() = 0;
    // Speaks the parts one after the other with a short pause between them.
    virtual void speak(const QStringList& parts) = 0;
};

// Shell "open" of documents and addresses, and process start.
class ShellService {
public:
    enum class Result { Ok, NotFound, Failed };
    virtual ~ShellService() = default;
    virtual Result openDocument(const QString& path) = 0;
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

// ---- real implementations ---------------------------------------------------------------------------------

class SkinnedMessages : public MessageService {
public:
    explicit SkinnedMessages(std::function<QWidget*()> owner = {}) : m_owner(std::move(owner)) {}
    bool yesNo(const QString& message, const QString& title) override;
    bool noYes(const QString& message, const QString& title) override;
    bool info(const QString& message, const QString& title) override;
    void warning(const QString& message, const QString& title) override;
    void meter(const MeterAction& action, const QString& text, const QString& title) override;

private:
    QWidget* owner() const { return m_owner ? m_owner() : nullptr; }
    std::function<QWidget*()> m_owner;
};

class EffectSound : public SoundService {
public:
    explicit EffectSound(std::function<QString(const QString&)> resolve) : m_resolve(std::move(resolve)) {}
    void play(const QString& file) override;

private:
    std::function<QString(const QString&)> m_resolve;
};

class TextToSpeech : public SpeechService {
public:
    TextToSpeech();
    ~TextToSpeech() override;
    bool available() override;
    void speak(const QStringList& parts) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

class DesktopShell : public ShellService {
public:
    Result openDocument(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory) override;
};

class SystemPrinter : public PrinterService {
public:
    explicit SystemPrinter(std::function<QWidget*()> owner = {}) : m_owner(std::move(owner)) {}
    bool print(const QString& jobName, const PageWriter& writer) override;

private:
    std::function<QWidget*()> m_owner;
};

class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// ---- scripted implementations for tests -------------------------------------------------------------------

class ScriptedMessages : public MessageService {
public:
    enum class Kind { YesNo, NoYes, Info, Warning, Meter };
    struct Shown {
        Kind kind;
        QString text;
        QString title;
        bool answer;
    };

    // Answers for the coming questions, in order; an empty queue answers No, as closing with "X" would.
    void queueAnswer(bool answer) { m_answers.push_back(answer); }
    void queueAnswers(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    const std::vector<Shown>& shown() const { return m_shown; }
    void clear() {
        m_shown.clear();
        m_answers.clear();
    }

    bool yesNo(const QString& message, const QString& title) override;
    bool noYes(const QString& message, const QString& title) override;
    bool info(const QString& message, const QString& title) override;
    void warning(const QString& message, const QString& title) override;
    // Runs the action against hidden widgets, so routines that count under a meter work in tests.
    void meter(const MeterAction& action, const QString& text, const QString& title) override;

private:
    bool answer(Kind kind, const QString& message, const QString& title);
    std::deque<bool> m_answers;
    std::vector<Shown> m_shown;
};

class ScriptedHelp : public HelpService {
public:
    struct Call {
        QString what; // "topic", "contents" or "index"
        QString helpFile;
        QString argument;
    };
    void showTopic(const QString& helpFile, const QString& keyword) override {
        m_calls.push_back({QStringLiteral("topic"), helpFile, keyword});
    }
    void showContents(const QString& helpFile) override {
        m_calls.push_back({QStringLiteral("contents"), helpFile, {}});
    }
    void showIndex(const QString& helpFile, const QString& searchText) override {
        m_calls.push_back({QStringLiteral("index"), helpFile, searchText});
    }
    const std::vector<Call>& calls() const { return m_calls; }

private:
    std::vector<Call> m_calls;
};

class ScriptedSound : public SoundService {
public:
    void play(const QString& file) override { m_played << file; }
    const QStringList& played() const { return m_played; }

private:
    QStringList m_played;
};

class ScriptedSpeech : public SpeechService {
public:
    explicit ScriptedSpeech(bool available = true) : m_available(available) {}
    bool available() override { return m_available; }
    void speak(const QStringList& parts) override { m_spoken.push_back(parts); }
    void setAvailable(bool on) { m_available = on; }
    const std::vector<QStringList>& spoken() const { return m_spoken; }

private:
    bool m_available;
    std::vector<QStringList> m_spoken;
};

class ScriptedShell : public ShellService {
public:
    struct Call {
        QString what; // "document", "url" or "process"
        QString target;
        QStringList arguments;
    };
    Result openDocument(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory) override;
    // What the next calls report; by default documents that exist open, others are not found.
    void setUrlResult(bool ok) { m_urlResult = ok; }
    void setProcessResult(bool ok) { m_processResult = ok; }
    const std::vector<Call>& calls() const { return m_calls; }

private:
    bool m_urlResult = true;
    bool m_processResult = true;
    std::vector<Call> m_calls;
};

// Prints into a PDF file instead of asking for a printer; tests read it back.
class PdfPrinter : public PrinterService {
public:
    explicit PdfPrinter(QString pdfPath) : m_path(std::move(pdfPath)) {}
    bool print(const QString& jobName, const PageWriter& writer) override;
    const QStringList& jobs() const { return m_jobs; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
    QStringList m_jobs;
};

class ScriptedClock : public Clock {
public:
    explicit ScriptedClock(QDateTime start = QDateTime(QDate(2007, 1, 1), QTime(12, 0))) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void advanceSeconds(qint64 s) { m_now = m_now.addSecs(s); }

private:
    QDateTime m_now;
};

} // namespace ui
