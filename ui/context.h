#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "ui/services.h"

class QWidget;

namespace ui {

// The global setting variables of the program under their own names. Only what the toolkit needs so far;
// the shell adds the rest as it reads them.
struct Settings {
    bool LS_SOUND = true;   // play sounds
    bool LS_SPEECH = false; // speech output through SPEEKIT
};

// Who is logged in and whose learning-state table is active.
struct LoginState {
    int NS_USER = 0;                             // 0 nobody, 1 or 2
    QString CS_USER;                             // the user's name, empty when nobody is logged in
    QString CS_LOCAL = QStringLiteral("LOCAL1"); // base name of the active learning-state table
};

// Everything a feature routine or dialog receives: the program folder, settings, login state, the current help
// topic and the services. Created once at start-up; services are real in the program and scripted in tests.
class Context {
public:
    explicit Context(QString programDir);
    ~Context();
    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    QString programDir;
    Settings settings;
    LoginState login;
    QString helpTopic = QStringLiteral("Lenkwerk");

    // The absolute path of a file named as the Parts name it (".\Texte\TAVOLIN.HLP"), found without regard to
    // case; empty when there is no such file. The program-folder resolver can be hooked in with setResolver.
    QString resolve(const QString& name) const;
    void setResolver(std::function<QString(const QString& programDir, const QString& name)> resolver);

    // The window that owns the dialogs the services show (the main window, later).
    void setOwnerWindow(QWidget* window);
    QWidget* ownerWindow() const;

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

    // The program's services: skinned dialogs, the help window, sound, speech, shell, printer, clock.
    void useRealServices();

    // Scripted services for tests; the returned pointers stay owned by the context.
    struct Scripted {
        ScriptedMessages* messages;
        ScriptedHelp* help;
        ScriptedSound* sound;
        ScriptedSpeech* speech;
        ScriptedShell* shell;
        PdfPrinter* printer;
        ScriptedClock* clock;
    };
    Scripted useScriptedServices();

private:
    std::function<QString(const QString&, const QString&)> m_resolver;
    struct Owner;
    std::unique_ptr<Owner> m_owner;
    std::unique_ptr<MessageService> m_messages;
    std::unique_ptr<HelpService> m_help;
    std::unique_ptr<SoundService> m_sound;
    std::unique_ptr<SpeechService> m_speech;
    std::unique_ptr<ShellService> m_shell;
    std::unique_ptr<PrinterService> m_printer;
    std::unique_ptr<Clock> m_clock;
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

} // namespace ui
