// Asks the speech engines whether one speaks German, in a process of its own: the engine's plugin, its client
// library and their threads then never load into the program just to learn that answer.
// Exit code 0: a German voice answers; 1: none; anything else (a crash, killed): none either.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>

#include <QCoreApplication>
#include <QLocale>
#include <QTextToSpeech>

// Usage: lenkwerk-speechcheck [process id of the program that asks]
int main(int argc, char* argv[]) {
    // The answer is for the program that asked: should it end first, this ends too instead of burning on.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    // Ended before this was set: the orphan has a new parent, the first process or, on a desktop, the session's
    // service manager, which only the asker's own id tells apart.
    const long asker = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (getppid() == 1 || (asker > 0 && getppid() != asker)) return 1;

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
