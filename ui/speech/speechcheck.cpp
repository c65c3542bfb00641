// Asks the speech engines whether one speaks German, in a process of its own: the engine's plugin, its client
// library and their threads then never load into the program just to learn that answer.
// Exit code 0: a German voice answers; 1: none; anything else (a crash, killed): none either.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QLocale>
#include <QTextToSpeech>

int main(int argc, char* argv[]) {
    // The answer is for the program that asked: should it end first, this ends too instead of burning on.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() == 1) return 1; // it ended before this was set

    QCoreApplication app(argc, argv);
    if (QTextToSpeech::availableEngines().isEmpty()) return 1;
    QTextToSpeech probe;
    if (probe.state() == QTextToSpeech::Error) return 1;
    for (const QLocale& locale : probe.availableLocales()) {
        if (locale.language() == QLocale::German) {
            probe.setLocale(locale);
            return probe.availableVoices().isEmpty() ? 1 : 0;
        }
    }
    return 1;
}
