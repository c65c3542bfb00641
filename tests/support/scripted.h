#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

#include "core/context.h"

namespace lwtest {

// Answers questions from a queue and records everything shown, so a test can say "Ja" to the third question.
class ScriptedMessages : public core::MessageService {
public:
    enum class Kind { YesNo, NoYes, Info, Warning, Meter };
    struct Shown {
        Kind kind;
        QString text;
        QString title;
        bool answer;
    };
    // What the meter's action reported.
    struct MeterRun {
        int total = 0;
        std::vector<int> positions;
        QStringList texts;
    };

    // Answers for the coming questions, in order; an empty queue answers No, as closing with "X" would.
    void queueAnswer(bool answer) { m_answers.push_back(answer); }
    void queueAnswers(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    std::size_t pendingAnswers() const { return m_answers.size(); }
    const std::vector<Shown>& shown() const { return m_shown; }
    const std::vector<MeterRun>& meterRuns() const { return m_meterRuns; }
    // The next meter reports "cancelled" after this many positions (negative: never).
    void cancelMeterAfter(int positions) { m_cancelAfter = positions; }
    int busyDepth() const { return m_busy; }
    void clear() {
        m_shown.clear();
        m_answers.clear();
        m_meterRuns.clear();
    }

    bool yesNo(const QString& message, const QString& title) override;
    bool noYes(const QString& message, const QString& title) override;
    bool info(const QString& message, const QString& title) override;
    void warning(const QString& message, const QString& title) override;
    void meter(const core::MeterAction& action, const QString& text, const QString& title) override;
    void busy(bool on) override { m_busy += on ? 1 : -1; }

private:
    bool answer(Kind kind, const QString& message, const QString& title);
    std::deque<bool> m_answers;
    std::vector<Shown> m_shown;
    std::vector<MeterRun> m_meterRuns;
    int m_cancelAfter = -1;
    int m_busy = 0;
};

class ScriptedHelp : public core::HelpService {
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

class ScriptedSound : public core::SoundService {
public:
    void play(const QString& file) override { m_played << file; }
    const QStringList& played() const { return m_played; }

private:
    QStringList m_played;
};

class ScriptedSpeech : public core::SpeechService {
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

class ScriptedShell : public core::ShellService {
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
    // Documents that exist report `result` instead of opening (NoProgram: the system has nothing for them).
    void setDocumentResult(Result result) { m_documentResult = result; }
    const std::vector<Call>& calls() const { return m_calls; }

private:
    bool m_urlResult = true;
    bool m_processResult = true;
    Result m_documentResult = Result::Ok;
    std::vector<Call> m_calls;
};

// Records print jobs without drawing; tests that read pages back use the toolkit's PDF printer instead.
class ScriptedPrinter : public core::PrinterService {
public:
    bool print(const QString& jobName, const PageWriter&) override {
        m_jobs << jobName;
        return m_result;
    }
    void setResult(bool ok) { m_result = ok; }
    const QStringList& jobs() const { return m_jobs; }

private:
    bool m_result = false;
    QStringList m_jobs;
};

class ScriptedClock : public core::Clock {
public:
    explicit ScriptedClock(QDateTime start = QDateTime(QDate(2007, 1, 1), QTime(12, 0))) : m_now(std::move(start)) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& t) { m_now = t; }
    void advanceSeconds(qint64 s) { m_now = m_now.addSecs(s); }

private:
    QDateTime m_now;
};

// The scripted services of a context; the pointers stay owned by the context.
struct Scripted {
    ScriptedMessages* messages;
    ScriptedHelp* help;
    ScriptedSound* sound;
    ScriptedSpeech* speech;
    ScriptedShell* shell;
    ScriptedPrinter* printer;
    ScriptedClock* clock;
};
Scripted useScriptedServices(core::Context& ctx);

// A context over a test's program folder with scripted services already in place.
class ScriptedContext : public core::Context {
public:
    explicit ScriptedContext(const QString& programDir)
        : core::Context(programDir), scripted(useScriptedServices(*this)) {}
    Scripted scripted;
};

} // namespace lwtest
