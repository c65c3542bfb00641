// The speaking voice as a module of its own, loaded by ui::TextToSpeech when it is first to speak: Qt TextToSpeech
// and the speech engine's libraries then cost nothing in a program that never reads a question aloud.
#include <functional>

#include <QLocale>
#include <QTextToSpeech>

// A German voice, or null when there is none; `whenReady` is called each time it has finished saying something.
// The caller owns it.
extern "C" Q_DECL_EXPORT QObject* lenkwerk_speech_open(const std::function<void()>& whenReady) {
    auto* tts = new QTextToSpeech();
    bool ok = false;
    if (tts->state() != QTextToSpeech::Error) {
        for (const QLocale& locale : tts->availableLocales()) {
            if (locale.language() == QLocale::German) {
                tts->setLocale(locale);
                ok = !tts->availableVoices().isEmpty();
                break;
            }
        }
    }
    if (!ok) {
        delete tts;
        return nullptr;
    }
    QObject::connect(tts, &QTextToSpeech::stateChanged, tts, [whenReady](QTextToSpeech::State s) {
        if (s == QTextToSpeech::Ready) whenReady();
    });
    return tts;
}

extern "C" Q_DECL_EXPORT void lenkwerk_speech_say(QObject* voice, const QString& text) {
    static_cast<QTextToSpeech*>(voice)->say(text);
}

extern "C" Q_DECL_EXPORT void lenkwerk_speech_stop(QObject* voice) {
    static_cast<QTextToSpeech*>(voice)->stop();
}
