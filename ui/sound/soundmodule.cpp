// The sound player as a module of its own, loaded by ui::EffectSound with the first sound: Qt Multimedia and the
// audio and codec libraries under it then cost nothing at the program's start.
#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

extern "C" Q_DECL_EXPORT void lenkwerk_play_sound(const QString& path) {
    // Without an output device an effect would never start nor finish, and so never be freed.
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    // The effect lives until it has played (or failed), so this returns at once, as the callers expect.
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying()) effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            effect->deleteLater();
        else if (effect->status() == QSoundEffect::Ready)
            effect->play();
    });
    // A backstop for effects that neither play nor fail (a device that vanished meanwhile).
    QTimer::singleShot(120000, effect, &QObject::deleteLater);
    effect->setSource(QUrl::fromLocalFile(path));
    if (effect->status() == QSoundEffect::Ready) effect->play();
}
