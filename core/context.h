#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>
#include <string_view>

#include "core/services.h"
#include "core/settings.h"
#include "platform/programdir.h"

namespace core {

// Who is logged in and whose learning-state table is active.
struct LoginState {
    int NS_USER = 0;                             // 0 nobody, 1 or 2
    QString CS_USER;                             // the user's name, empty when nobody is logged in
    QString CS_LOCAL = QStringLiteral("LOCAL1"); // base name of the active learning-state table
    // Two-user mode: the login menu item is offered.
    bool twoUser = false;
};

// Everything a feature routine or dialog receives: the program folder, settings, login state, the current help
// topic and the services. Created once at start-up; services are real in the program and scripted in tests.
class Context : public QObject {
    Q_OBJECT
public:
    explicit Context(const QString& programDir);
    ~Context() override;

    const QString programDir;
    Settings settings;
    QString helpTopic = QStringLiteral("Lenkwerk");
    // Why the question catalog cannot be read, naming the file (found at start-up); while it is set, training and
    // exams are not offered.
    QString catalogProblem;

    // ---- the program folder: the one way to name a file in it -----------------------------------------------
    // The absolute path of a file named as the program names it (".\Texte\TAVOLIN.HLP"), matched without regard
    // to case; names not there yet keep their spelling, so new files get one.
    QString path(const QString& name) const;
    std::filesystem::path filePath(std::string_view utf8Name) const;
    // The folder itself, for the table engine.
    std::filesystem::path folder() const;
    // The existing file of that name, or an empty string; names leading outside the folder give none.
    QString resolve(const QString& name) const;
    // A file or folder of that name is there.
    bool exists(const QString& name) const;
    const platform::ProgramDir& dir() const { return m_dir; }

    // ---- login state; every change is announced through loginChanged() ----------------------------------
    const LoginState& login() const { return m_login; }
    void setLogin(const LoginState& state);

    // ---- the window that owns the dialogs the services show (the main window, once it exists) -------------
    void setOwnerWindow(QObject* window) { m_owner = window; }
    QObject* ownerWindow() const { return m_owner; }

    // ---- services ----------------------------------------------------------------------------------------
    MessageService& messages() { return *m_messages; }
    HelpService& help() { return *m_help; }
    SoundService& sound() { return *m_sound; }
    SpeechService& speech() { return *m_speech; }
    ShellService& shell() { return *m_shell; }
    PrinterService& printer() { return *m_printer; }
    const Clock& clock() const { return *m_clock; }

    void setMessages(std::unique_ptr<MessageService> s) { m_messages = std::move(s); }
    void setHelp(std::unique_ptr<HelpService> s) { m_help = std::move(s); }
    void setSound(std::unique_ptr<SoundService> s) { m_sound = std::move(s); }
    void setSpeech(std::unique_ptr<SpeechService> s) { m_speech = std::move(s); }
    void setShell(std::unique_ptr<ShellService> s) { m_shell = std::move(s); }
    void setPrinter(std::unique_ptr<PrinterService> s) { m_printer = std::move(s); }
    void setClock(std::unique_ptr<Clock> s) { m_clock = std::move(s); }

signals:
    // Someone logged in or out, or two-user mode was switched: the window title and the login item follow.
    void loginChanged();

private:
    platform::ProgramDir m_dir;
    LoginState m_login;
    QPointer<QObject> m_owner;
    std::unique_ptr<MessageService> m_messages;
    std::unique_ptr<HelpService> m_help;
    std::unique_ptr<SoundService> m_sound;
    std::unique_ptr<SpeechService> m_speech;
    std::unique_ptr<ShellService> m_shell;
    std::unique_ptr<PrinterService> m_printer;
    std::unique_ptr<Clock> m_clock;
};

// While it lives, the context's help topic is `keyword`; the caller's topic is back when it ends, however the
// dialog that holds it was left.
class HelpTopicScope {
public:
    HelpTopicScope(Context& ctx, const QString& keyword);
    ~HelpTopicScope();
    HelpTopicScope(const HelpTopicScope&) = delete;
    HelpTopicScope& operator=(const HelpTopicScope&) = delete;

private:
    Context& m_ctx;
    QString m_previous;
};

// The routines every feature calls, through the context's services.
bool MSGYESNO(Context& ctx, const QString& message, const QString& title);
bool MSGNOYES(Context& ctx, const QString& message, const QString& title);
bool MSGINFO(Context& ctx, const QString& message, const QString& title);
void MSGMETER(Context& ctx, const MeterAction& action = {}, const QString& text = QStringLiteral("Ausführen..."),
              const QString& title = QStringLiteral("Bitte warten"));
// The platform's warning box, used by a few callers for errors.
void WARNBOX(Context& ctx, const QString& message, const QString& title);

// Speaks the text when speech output is on and an engine with a German voice is present; otherwise nothing.
void SPEEKIT(Context& ctx, const QString& text);

// The callers separate sentences with runs of 1000 blanks; these become pauses between the parts.
QStringList speechParts(const QString& text);

} // namespace core
