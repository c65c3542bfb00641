#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "core/context.h"

class QFont;
class QWidget;

namespace ui {

// ---- real implementations ---------------------------------------------------------------------------------

class SkinnedMessages : public core::MessageService {
public:
    explicit SkinnedMessages(std::function<QWidget*()> owner = {}) : m_owner(std::move(owner)) {}
    bool yesNo(const QString& message, const QString& title) override;
    bool noYes(const QString& message, const QString& title) override;
    bool info(const QString& message, const QString& title) override;
    void warning(const QString& message, const QString& title) override;
    void meter(const core::MeterAction& action, const QString& text, const QString& title) override;
    void busy(bool on) override;

private:
    // The dialog open now, else the main window: a dialog blocks only its owners, so a question asked while a
    // dialog is open must belong to that dialog.
    QWidget* owner() const;
    std::function<QWidget*()> m_owner;
};

// Plays each sound through the player program lenkwerk-play (`player`; by default the one beside the executable),
// started without waiting for it. Without the player, or without an audio output, sounds are not heard.
class EffectSound : public core::SoundService {
public:
    explicit EffectSound(std::function<QString(const QString&)> resolve, QString player = {})
        : m_resolve(std::move(resolve)), m_player(std::move(player)) {}
    void play(const QString& file) override;
    static QString defaultPlayer();

private:
    std::function<QString(const QString&)> m_resolve;
    QString m_player;
    bool m_warned = false;
};

// The help service of the program: a help file as the program names it (".\TEXTE\EUROFSCH.HLP", or empty for the
// program's own TAVOLIN.HLP) is the collection of the same base name in the same folder. The window comes from the
// help module (lenkwerk-help.so, Qt Help), loaded with the first help request; `module` is its file, by default the
// one beside the executable. Without it no help window opens and the log says why.
class HelpWindowService : public core::HelpService {
public:
    explicit HelpWindowService(std::function<QString(const QString&)> resolve, QString module = {})
        : m_resolve(std::move(resolve)), m_module(std::move(module)) {}
    void showTopic(const QString& helpFile, const QString& keyword) override;
    void showContents(const QString& helpFile) override;
    void showIndex(const QString& helpFile, const QString& searchText) override;

    QString collectionFor(const QString& helpFile) const;
    static QString defaultModule();
    // Closes and deletes every help window (the program ends). A module no request loaded has none, and stays
    // unloaded.
    static void closeWindows();

private:
    using TopicFunction = QWidget* (*)(const QString&, const QString&, const QFont&);
    using ContentsFunction = QWidget* (*)(const QString&, const QFont&);
    bool moduleReady();

    std::function<QString(const QString&)> m_resolve;
    QString m_module;
    bool m_moduleTried = false;
    TopicFunction m_topic = nullptr;
    ContentsFunction m_contents = nullptr;
    TopicFunction m_index = nullptr;
};

class TextToSpeech : public core::SpeechService {
public:
    // `engineCheck` answers whether an engine with a German voice is there; it runs on a thread of its own (the
    // default asks Qt's speech engines through the helper lenkwerk-speechcheck; tests give a slow one). The voice
    // itself comes from the speech module `module` (lenkwerk-speech.so beside the executable), loaded when it is
    // first to speak.
    explicit TextToSpeech(std::function<bool()> engineCheck = {}, QString module = {});
    static QString defaultCheckHelper();
    ~TextToSpeech() override;
    void probe() override;
    bool availableNow() override;
    bool available() override;
    void speak(const QStringList& parts) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

class DesktopShell : public core::ShellService {
public:
    Result openDocument(const QString& path) override;
    bool openUrl(const QString& url) override;
    bool startProcess(const QString& program, const QStringList& arguments, const QString& workingDirectory) override;
};

// Prints through the printing module (lenkwerk-print.so, Qt Print Support), loaded with the first print job;
// `module` is its file, by default the one beside the executable. Without it nothing is printed (false).
class SystemPrinter : public core::PrinterService {
public:
    explicit SystemPrinter(std::function<QWidget*()> owner = {}, QString module = {})
        : m_owner(std::move(owner)), m_module(std::move(module)) {}
    bool print(const QString& jobName, const PageWriter& writer) override;
    static QString defaultModule();

private:
    using PrintFunction = bool (*)(const QString&, const PageWriter&, QWidget*);
    std::function<QWidget*()> m_owner;
    QString m_module;
    bool m_moduleTried = false;
    PrintFunction m_print = nullptr;
};

// Prints into a PDF file instead of asking for a printer: for tests that read the pages back, and the gallery.
class PdfPrinter : public core::PrinterService {
public:
    explicit PdfPrinter(QString pdfPath) : m_path(std::move(pdfPath)) {}
    bool print(const QString& jobName, const PageWriter& writer) override;
    const QStringList& jobs() const { return m_jobs; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
    QStringList m_jobs;
};

// The program's services: skinned dialogs, the help window, sound, speech, shell, printer, clock.
void useRealServices(core::Context& ctx);

// The window that owns the dialogs of this context (the main window once it exists), or none.
QWidget* ownerWindow(const core::Context& ctx);

} // namespace ui
