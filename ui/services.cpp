#include "ui/services.h"

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeDatabase>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "core/helptopics.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/modules.h"
#include "ui/msgdialogs.h"
#include "ui/progressbar.h"

namespace ui {

// ---- skinned message dialogs ------------------------------------------------------------------------------

QWidget* SkinnedMessages::owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return m_owner ? m_owner() : nullptr;
}

bool SkinnedMessages::yesNo(const QString& message, const QString& title) {
    MessageDialog dlg(MessageDialog::Kind::YesNo, message, title, owner());
    return dlg.ask();
}

bool SkinnedMessages::noYes(const QString& message, const QString& title) {
    MessageDialog dlg(MessageDialog::Kind::NoYes, message, title, owner());
    return dlg.ask();
}

bool SkinnedMessages::info(const QString& message, const QString& title) {
    MessageDialog dlg(MessageDialog::Kind::Info, message, title, owner());
    dlg.ask();
    return false;
}

void SkinnedMessages::warning(const QString& message, const QString& title) {
    showWarningBox(owner(), message, title);
}

void SkinnedMessages::meter(const core::MeterAction& action, const QString& text, const QString& title) {
    MeterDialog dlg(action, text, title, owner());
    dlg.run();
}

void SkinnedMessages::busy(bool on) {
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

// ---- sound ------------------------------------------------------------------------------------------------

QString EffectSound::defaultPlayer() {
    return besideProgram(QStringLiteral("lenkwerk-play"));
}

void EffectSound::play(const QString& file) {
    const QString path = m_resolve ? m_resolve(file) : file;
    if (path.isEmpty() || !QFileInfo(path).isFile()) return;
    const QString player = m_player.isEmpty() ? defaultPlayer() : m_player;
    if (!startHelper(player, {path}) && !m_warned) {
        m_warned = true;
        qWarning("Lenkwerk: no sound player %s", qPrintable(player));
    }
}

// ---- help -------------------------------------------------------------------------------------------------

namespace {

// The close-all functions of the help modules loaded so far: closing the windows at the end loads no module
// that never opened one.
std::vector<void (*)()>& helpWindowClosers() {
    static std::vector<void (*)()> closers;
    return closers;
}

} // namespace

QString HelpWindowService::collectionFor(const QString& helpFile) const {
    QString name = helpFile.isEmpty() ? core::kHelpFile : helpFile;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QStringLiteral("./"))) name.remove(0, 2);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    const int slash = name.lastIndexOf(QLatin1Char('/'));
    if (dot > slash) name.truncate(dot);
    name += QStringLiteral(".qhc");
    return m_resolve ? m_resolve(name) : name;
}

QString HelpWindowService::defaultModule() {
    return besideProgram(QStringLiteral("lenkwerk-help.so"));
}

bool HelpWindowService::moduleReady() {
    if (!m_moduleTried) {
        m_moduleTried = true;
        const QString file = m_module.isEmpty() ? defaultModule() : m_module;
        // A module that cannot be loaded is reported once, not once for each of its functions.
        const auto close = reinterpret_cast<void (*)()>(moduleFunction(file, "lenkwerk_help_close_all", "help window"));
        if (!close) return false;
        m_topic = reinterpret_cast<TopicFunction>(moduleFunction(file, "lenkwerk_help_topic", "help topic"));
        m_contents =
            reinterpret_cast<ContentsFunction>(moduleFunction(file, "lenkwerk_help_contents", "help contents"));
        m_index = reinterpret_cast<TopicFunction>(moduleFunction(file, "lenkwerk_help_index", "help index"));
        if (std::find(helpWindowClosers().begin(), helpWindowClosers().end(), close) == helpWindowClosers().end())
            helpWindowClosers().push_back(close);
    }
    return m_topic && m_contents && m_index;
}

void HelpWindowService::closeWindows() {
    for (const auto close : helpWindowClosers())
        close();
}

void HelpWindowService::showTopic(const QString& helpFile, const QString& keyword) {
    const QString qhc = collectionFor(helpFile);
    if (!qhc.isEmpty() && moduleReady()) m_topic(qhc, keyword, helpPageFont());
}

void HelpWindowService::showContents(const QString& helpFile) {
    const QString qhc = collectionFor(helpFile);
    if (!qhc.isEmpty() && moduleReady()) m_contents(qhc, helpPageFont());
}

void HelpWindowService::showIndex(const QString& helpFile, const QString& searchText) {
    const QString qhc = collectionFor(helpFile);
    if (!qhc.isEmpty() && moduleReady()) m_index(qhc, searchText, helpPageFont());
}

// ---- speech -----------------------------------------------------------------------------------------------

struct TextToSpeech::Impl {
    std::function<bool()> engineCheck;
    bool probing = false;
    std::shared_future<bool> answer;
    QString module;
    bool engineTried = false;
    QPointer<QObject> voice; // from the speech module, which owns its type
    void (*say)(QObject*, const QString&) = nullptr;
    void (*stop)(QObject*) = nullptr;
    QStringList queue;
    QTimer pause;

    void speakNext() {
        if (!voice || queue.isEmpty()) return;
        say(voice, queue.takeFirst());
    }
    bool answered() const { return probing && answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }
};

namespace {

// Whether the speech engine answers with a German voice. Asked off the user-interface thread: starting the speech
// daemon alone can take seconds, and one that never answers must not freeze the program. The helper asks in a
// process of its own, so the engine's libraries load into the program only when it is to speak.
bool germanVoiceAnswers(const QString& helper) {
    // The helper is told who asks, so that it can tell whether the program ended before it was watching.
    return runHelper(helper, 30000, {QString::number(QCoreApplication::applicationPid())}) == 0;
}

} // namespace

TextToSpeech::TextToSpeech(std::function<bool()> engineCheck, QString module) : m_impl(std::make_unique<Impl>()) {
    m_impl->module = module.isEmpty() ? besideProgram(QStringLiteral("lenkwerk-speech.so")) : std::move(module);
    m_impl->engineCheck =
        engineCheck ? std::move(engineCheck) : [helper = defaultCheckHelper()] { return germanVoiceAnswers(helper); };
    m_impl->pause.setSingleShot(true);
    m_impl->pause.setInterval(600);
    QObject::connect(&m_impl->pause, &QTimer::timeout, [impl = m_impl.get()] { impl->speakNext(); });
}

QString TextToSpeech::defaultCheckHelper() {
    return besideProgram(QStringLiteral("lenkwerk-speechcheck"));
}

TextToSpeech::~TextToSpeech() {
    if (m_impl->voice) delete m_impl->voice.data();
}

void TextToSpeech::probe() {
    Impl& d = *m_impl;
    if (d.probing) return;
    d.probing = true;
    auto promise = std::make_shared<std::promise<bool>>();
    d.answer = promise->get_future().share();
    std::thread([promise, check = d.engineCheck] { promise->set_value(check()); }).detach();
}

bool TextToSpeech::availableNow() {
    probe();
    return m_impl->answered() && m_impl->answer.get();
}

bool TextToSpeech::available() {
    Impl& d = *m_impl;
    probe();
    // Speaking waits for the answer, but not for an engine that never gives one.
    if (d.answer.wait_for(std::chrono::seconds(5)) != std::future_status::ready || !d.answer.get()) return false;
    if (d.engineTried) return d.voice != nullptr;
    d.engineTried = true;
    const auto open = reinterpret_cast<QObject* (*)(const std::function<void()>&)>(
        moduleFunction(d.module, "lenkwerk_speech_open", "speaking voice"));
    d.say =
        reinterpret_cast<void (*)(QObject*, const QString&)>(moduleFunction(d.module, "lenkwerk_speech_say", "voice"));
    d.stop = reinterpret_cast<void (*)(QObject*)>(moduleFunction(d.module, "lenkwerk_speech_stop", "voice"));
    if (!open || !d.say || !d.stop) return false;
    d.voice = open([impl = m_impl.get()] {
        if (!impl->queue.isEmpty()) impl->pause.start();
    });
    return d.voice != nullptr;
}

void TextToSpeech::speak(const QStringList& parts) {
    if (!available() || parts.isEmpty()) return;
    Impl& d = *m_impl;
    // A new text replaces what was still to be said, as the callers expect the latest question to be heard.
    d.pause.stop();
    d.stop(d.voice);
    d.queue = parts;
    d.speakNext();
}

// ---- shell ------------------------------------------------------------------------------------------------

namespace {

// Whether the desktop names a default program for the type ("application/pdf", "x-scheme-handler/mailto"). The
// opener starts in the background and cannot tell us later that it found nothing, so it is asked first. Where it
// cannot be asked, the answer is yes and the opening itself decides.
bool desktopHasProgramFor(const QString& type) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (tool.isEmpty()) return true;
    QProcess query;
    query.start(tool, {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForFinished(3000)) {
        query.kill();
        query.waitForFinished(1000);
        return true;
    }
    return query.exitStatus() != QProcess::NormalExit || !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

core::ShellService::Result DesktopShell::openDocument(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile()) return Result::NotFound;
    if (!desktopHasProgramFor(QMimeDatabase().mimeTypeForFile(path).name())) return Result::NoProgram;
    // Without an opener at all (no xdg-open, no browser) Qt cannot start anything.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())) ? Result::Ok
                                                                                              : Result::NoProgram;
}

bool DesktopShell::openUrl(const QString& url) {
    const QUrl u(url, QUrl::StrictMode);
    if (!u.isValid() || u.scheme().isEmpty()) return false;
    // Web pages fall back to any browser the opener finds; mail has no such fallback.
    if (u.scheme() == QLatin1String("mailto") && !desktopHasProgramFor(QStringLiteral("x-scheme-handler/mailto")))
        return false;
    return QDesktopServices::openUrl(u);
}

bool DesktopShell::startProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory) {
    return QProcess::startDetached(program, arguments, workingDirectory);
}

// ---- printer ----------------------------------------------------------------------------------------------

QString SystemPrinter::defaultModule() {
    return besideProgram(QStringLiteral("lenkwerk-print.so"));
}

bool SystemPrinter::print(const QString& jobName, const PageWriter& writer) {
    if (!m_moduleTried) {
        m_moduleTried = true;
        m_print = reinterpret_cast<PrintFunction>(
            moduleFunction(m_module.isEmpty() ? defaultModule() : m_module, "lenkwerk_print", "printing"));
    }
    return m_print && m_print(jobName, writer, m_owner ? m_owner() : nullptr);
}

bool PdfPrinter::print(const QString& jobName, const PageWriter& writer) {
    m_jobs << jobName;
    QPdfWriter pdf(m_path);
    pdf.setTitle(jobName);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setResolution(300);
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    const bool ok = writer(painter, pdf);
    return painter.end() && ok;
}

// ---- the context's services -------------------------------------------------------------------------------

void useRealServices(core::Context& ctx) {
    auto owner = [&ctx] { return ownerWindow(ctx); };
    auto resolver = [&ctx](const QString& name) { return ctx.resolve(name); };
    ctx.setMessages(std::make_unique<SkinnedMessages>(owner));
    ctx.setHelp(std::make_unique<HelpWindowService>(resolver));
    ctx.setSound(std::make_unique<EffectSound>(resolver));
    ctx.setSpeech(std::make_unique<TextToSpeech>());
    ctx.setShell(std::make_unique<DesktopShell>());
    ctx.setPrinter(std::make_unique<SystemPrinter>(owner));
    ctx.setClock(std::make_unique<core::SystemClock>());
}

QWidget* ownerWindow(const core::Context& ctx) {
    return qobject_cast<QWidget*>(ctx.ownerWindow());
}

} // namespace ui
