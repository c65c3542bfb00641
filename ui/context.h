#pragma once

#include <QAction>
#include <QColor>
#include <QFont>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <string_view>

#include "ui/services.h"

class QWidget;

namespace ui {

// The global setting variables of the program under their own names, filled at start-up from TAVOLIN.INI by
// SETPUBLICS (shell); the values here are the defaults that a missing key gives.
struct Settings {
    QString CINIFILE = QStringLiteral(".\\Tavolin.ini"); // the settings file, as every routine names it
    int NS_MAXFRAGEN = 30;                               // questions per training run
    int NS_MAXDURCH = 1;                                 // read and written back; nothing acts on it
    bool LS_WVORLAGE = false;                            // present wrongly answered questions again
    bool LS_SAUSWERT = true;                             // show the evaluation of an answer at once
    bool LS_FPSHOW = true;                               // show error points at once
    bool LS_SOUND = true;                                // play sounds
    bool LS_SPEECH = false;                              // speech output through SPEEKIT
    int NS_THEMEN = 2;                                   // read and written back; nothing acts on it
    int NS_WINSIZE = 2;                                  // main window: 1 maximised, 2 normal at the saved place
    int NS_ERROR = 1;                                    // an old error log: 1 delete, 2 print, 3 mail
    QString CS_BRUSH = QStringLiteral("MAIN640");        // base name of the start picture in Bitmaps/
    QString CS_EMAIL_M;                                  // caption of the optional mail item (help menu)
    QString CS_EMAIL;                                    // its address
    QString CS_WWW_M;                                    // caption of the optional web item (help menu)
    QString CS_WWW;                                      // its address
    QString CRELEASE = QStringLiteral("QRT Lenkwerk-Trainer 2007 v2.41"); // title, about item, log, mails
    QString CRELNUM = QStringLiteral("2.41");                             // compared by the update check
    QString CS_ACROBAT;                                                   // a PDF reader program; nothing sets it
    // The catalog-text substitution (cp1252 bytes): the key and the readable and stored tables.
    std::string_view CKEY;
    std::string_view CENCRYPT;
    std::string_view CDECRYPT;
    QFont OFONT;                  // default dialog font ("MS Sans Serif" 8)
    QFont OFONTB;                 // its bold variant
    QColor NCOLF{1, 0, 0};        // text of edit fields and computed values
    QColor NCOLB{255, 255, 208};  // background of edit fields
    QColor NCOLBH{255, 255, 140}; // highlighted background
    QPointer<QAction> OWLOGIN;    // the menu item "&Benutzeranmeldung"
    // Fixed at start-up before the menu is built: offers the maintenance menu and the catalog export.
    bool maintainerMode = false;
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
