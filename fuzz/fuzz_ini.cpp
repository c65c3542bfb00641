// INI files: read sections and keys of whatever bytes come, and write a key into them; once key by key, once in a
// run of reads that shares one reading of the file (a write in between must be seen).
#include <QString>

#include "fuzz_common.h"
#include "platform/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratch() / "T.INI";
    fuzz::writeBytes(path, data, size);
    const QString file = QString::fromStdString(path.string());
    const auto run = [&] {
        (void)platform::readProfileString(file, QStringLiteral("Setup"), QStringLiteral("MAXFRAGEN"),
                                          QStringLiteral("30"));
        (void)platform::readProfileString(file, QStringLiteral("About"), QStringLiteral("Release"), QString());
        const bool written =
            platform::writeProfileString(file, QStringLiteral("Setup"), QStringLiteral("SOUND"), QStringLiteral("7"));
        const QString back =
            platform::readProfileString(file, QStringLiteral("setup"), QStringLiteral("sound"), QString());
        if (written && back != QStringLiteral("7")) __builtin_trap(); // a write that does not read back
        (void)platform::readProfileSection(file, QStringLiteral("Setup"));
    };
    run();
    fuzz::writeBytes(path, data, size);
    const platform::ProfileReadBatch batch;
    run();
    return 0;
}
