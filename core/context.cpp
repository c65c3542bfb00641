#include "core/context.h"

#include <QRegularExpression>

namespace core {

Context::Context(const QString& programDir)
    : programDir(platform::ProgramDir(programDir).path()), m_dir(programDir), m_clock(std::make_unique<SystemClock>()) {
}

Context::~Context() = default;

QString Context::path(const QString& name) const {
    return m_dir.resolve(name);
}

std::filesystem::path Context::filePath(std::string_view utf8Name) const {
    return m_dir.resolvePath(utf8Name);
}

std::filesystem::path Context::folder() const {
    return m_dir.resolvePath(".");
}

QString Context::resolve(const QString& name) const {
    return m_dir.find(name);
}

bool Context::exists(const QString& name) const {
    return m_dir.exists(name);
}

void Context::setLogin(const LoginState& state) {
    m_login = state;
    emit loginChanged();
}

HelpTopicScope::HelpTopicScope(Context& ctx, const QString& keyword) : m_ctx(ctx), m_previous(ctx.helpTopic) {
    m_ctx.helpTopic = keyword;
}

HelpTopicScope::~HelpTopicScope() {
    m_ctx.helpTopic = m_previous;
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

} // namespace core
