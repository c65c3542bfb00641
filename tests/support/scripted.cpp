#include "support/scripted.h"

#include <QFileInfo>

namespace lwtest {

namespace {

// What the meter's action sees in a test: everything it reports is recorded.
class RecordingProgress : public core::Progress {
public:
    RecordingProgress(ScriptedMessages::MeterRun& run, int cancelAfter) : m_run(run), m_cancelAfter(cancelAfter) {}
    void setTotal(int total) override { m_run.total = total; }
    void setPosition(int position) override { m_run.positions.push_back(position); }
    void setText(const QString& text) override { m_run.texts << text; }
    bool cancelled() const override { return m_cancelAfter >= 0 && int(m_run.positions.size()) >= m_cancelAfter; }

private:
    ScriptedMessages::MeterRun& m_run;
    int m_cancelAfter;
};

} // namespace

bool ScriptedMessages::answer(Kind kind, const QString& message, const QString& title) {
    bool a = false;
    if (!m_answers.empty()) {
        a = m_answers.front();
        m_answers.pop_front();
    }
    m_shown.push_back({kind, message, title, a});
    return a;
}

bool ScriptedMessages::yesNo(const QString& message, const QString& title) {
    return answer(Kind::YesNo, message, title);
}

bool ScriptedMessages::noYes(const QString& message, const QString& title) {
    return answer(Kind::NoYes, message, title);
}

bool ScriptedMessages::info(const QString& message, const QString& title) {
    m_shown.push_back({Kind::Info, message, title, false});
    return false;
}

void ScriptedMessages::warning(const QString& message, const QString& title) {
    m_shown.push_back({Kind::Warning, message, title, false});
}

void ScriptedMessages::meter(const core::MeterAction& action, const QString& text, const QString& title) {
    m_shown.push_back({Kind::Meter, text, title, false});
    m_meterRuns.push_back({});
    m_meterRuns.back().texts << text;
    RecordingProgress progress(m_meterRuns.back(), m_cancelAfter);
    m_cancelAfter = -1;
    if (action) action(progress);
}

core::ShellService::Result ScriptedShell::openDocument(const QString& path) {
    m_calls.push_back({QStringLiteral("document"), path, {}});
    return QFileInfo(path).isFile() ? m_documentResult : Result::NotFound;
}

bool ScriptedShell::openUrl(const QString& url) {
    m_calls.push_back({QStringLiteral("url"), url, {}});
    return m_urlResult;
}

bool ScriptedShell::startProcess(const QString& program, const QStringList& arguments, const QString&) {
    m_calls.push_back({QStringLiteral("process"), program, arguments});
    return m_processResult;
}

Scripted useScriptedServices(core::Context& ctx) {
    auto messages = std::make_unique<ScriptedMessages>();
    auto help = std::make_unique<ScriptedHelp>();
    auto sound = std::make_unique<ScriptedSound>();
    auto speech = std::make_unique<ScriptedSpeech>();
    auto shell = std::make_unique<ScriptedShell>();
    auto printer = std::make_unique<ScriptedPrinter>();
    auto clock = std::make_unique<ScriptedClock>();
    const Scripted s{messages.get(), help.get(), sound.get(), speech.get(), shell.get(), printer.get(), clock.get()};
    ctx.setMessages(std::move(messages));
    ctx.setHelp(std::move(help));
    ctx.setSound(std::move(sound));
    ctx.setSpeech(std::move(speech));
    ctx.setShell(std::move(shell));
    ctx.setPrinter(std::move(printer));
    ctx.setClock(std::move(clock));
    return s;
}

} // namespace lwtest
