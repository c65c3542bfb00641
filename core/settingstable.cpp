#include "core/settingstable.h"

#include <cmath>
#include <limits>

#include "platform/inifile.h"

namespace core {

namespace {

// Whole numbers are all the program keeps; a fraction is cut off, and a huge value stays inside int.
int wholeNumber(double v) {
    v = std::trunc(v);
    if (!(v == v)) return 0;
    if (v >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (v <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(v);
}

} // namespace

int settingNumber(const QString& text) {
    return wholeNumber(platform::profileNumber(text));
}

int readSettingNumber(const QString& ini, const QString& section, const QString& key, int defaultValue) {
    return wholeNumber(platform::readProfileNumber(ini, section, key, defaultValue));
}

namespace detail {

void readField(const QString& ini, const char* section, const char* key, int& value, int def) {
    value = readSettingNumber(ini, QString::fromLatin1(section), QString::fromLatin1(key), def);
}

void readField(const QString& ini, const char* section, const char* key, bool& value, bool def) {
    value = platform::readProfileFlag(ini, QString::fromLatin1(section), QString::fromLatin1(key), def);
}

void readField(const QString& ini, const char* section, const char* key, QString& value, const char* def) {
    value = platform::readProfileString(ini, QString::fromLatin1(section), QString::fromLatin1(key),
                                        QString::fromUtf8(def));
}

bool writeField(const QString& ini, const char* section, const char* key, int value) {
    return platform::writeProfileNumber(ini, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

bool writeField(const QString& ini, const char* section, const char* key, bool value) {
    return platform::writeProfileFlag(ini, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

bool writeField(const QString& ini, const char* section, const char* key, const QString& value) {
    return platform::writeProfileString(ini, QString::fromLatin1(section), QString::fromLatin1(key), value);
}

} // namespace detail

} // namespace core
