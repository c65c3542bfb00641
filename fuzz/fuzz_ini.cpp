// INI files: read sections and keys of whatever bytes come, and write a key into them.
#include <QString>

#include "fuzz_common.h"
#include "platform/inifile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzz::scratch() / "T.INI";
    fuzz::writeBytes(path, data, size);
    const QString file = QString::fromStdString(path.string());
    (void)platform::readProfileString(file, QStringLiteral("Setup"), QStringLiteral("MAXFRAGEN"), QStringLiteral("30"));
    (void)platform::readProfileString(file, QStringLiteral("About"), QStringLiteral("Release"), QString());
    (void)platform::writeProfileString(file, QStringLiteral("Setup"), QStringLiteral("SOUND"), QStringLiteral("1"));
    (void)platform::readProfileString(file, QStringLiteral("setup"), QStringLiteral("sound"), QString());
    return 0;
}
