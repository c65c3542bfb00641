#include "ui/context.h"

#include <QDir>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>

#include "ui/bitmaps.h"
#include "ui/filelookup.h"
#include "ui/helpviewer.h"

namespace ui {

struct Context::Owner {
    QPointer<QWidget> window;
};

Context::Context(QString dir) : programDir(std::move(dir)), m_owner(std::make_unique<Owner>()) {
    Bitmaps::setProgramDir(programDir);
    useScriptedServices(); // safe until the shell switches to the real ones; nothing pops up by accident
}

Context::~Context() = default;

QString Context::resolve(const QString& name) const {
    return m_resolver ? m_resolver(programDir, name) : findFileNoCase(programDir, name);
}

void Context::setResolver(std::function<QString(const QString&, const QString&)> resolver) {
    m_resolver = std::move(resolver);
}

void Context::setOwnerWindow(QWidget* window) {
    m_owner->window = window;
}

QWidget* Context::ownerWindow() const {
    return m_owner->window;
}

void Context::useRealServices() {
    auto owner = [this] { return ownerWindow(); };
    auto resolver = [this](const QString& name) { return resolve(name); };
    m_messages = std::make_unique<SkinnedMessages>(owner);
    m_help = std::make_unique<HelpWindowService>(resolver);
    m_sound = std::make_unique<EffectSound>(resolver);
    m_speech = std::make_unique<TextToSpeech>();
    m_shell = std::make_unique<DesktopShell>();
    m_printer = std::make_unique<SystemPrinter>(owner);
    m_clock = std::make_unique<SystemClock>();
}

Context::Scripted Context::useScriptedServices() {
    Scripted s{};
    auto messages = std::make_unique<ScriptedMessages>();
    auto help = std::make_unique<ScriptedHelp>();
    auto sound = std::make_unique<ScriptedSound>();
    auto speech = std::make_unique<ScriptedSpeech>();
    auto shell = std::make_unique<ScriptedShell>();
    auto printer = std::make_unique<PdfPrinter>(QDir(programDir).filePath(QStringLiteral("print.pdf")));
    auto clock = std::make_unique<ScriptedClock>();
    s = {messages.get(), help.get(), sound.get(), speech.get(), shell.get(), printer.get(), clock.get()};
    m_messages = std::move(messages);
    m_help = std::move(help);
    m_sound = std::move(sound);
    m_speech = std::move(speech);
    m_shell = std::move(shell);
    m_printer = std::move(printer);
    m_clock = std::move(clock);
    return s;
}

bool MSGYESNO(Context& ctx, const QString& message, const QString& title) {
    return ctx.messages().yesNo(message, title);
}

bool MSGNOYES(Context& ctx, const QString& message, const QString& title) {
    return ctx.messages().noYes(message, title);
}

bool MSGINFO(Context& ctx, const QString& message, const QString& title) {
    ctx.messages().info(message, title);
    return false;
}

void MSGMETER(Context& ctx, const MeterAction& action, const QString& text, const QString& title) {
    ctx.messages().meter(action, text, title);
}

void WARNBOX(Context& ctx, const QString& message, const QString& title) {
    ctx.messages().warning(message, title);
}

QStringList speechParts(const QString& text) {
    static const QRegularExpression pause(QStringLiteral(" {1000,}"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QStringList parts;
    for (QString part : text.split(pause)) {
        part = part.replace(blanks, QStringLiteral(" ")).trimmed();
        if (!part.isEmpty()) parts << part;
    }
    return parts;
}

void SPEEKIT(Context& ctx, const QString& text) {
    if (!ctx.settings.LS_SPEECH) return;
    const QStringList parts = speechParts(text);
    if (parts.isEmpty()) return;
    if (!ctx.speech().available()) return;
    ctx.speech().speak(parts);
}

} // namespace ui
