#pragma once

#include <QString>

#include "platform/inifile.h"

#include <algorithm>
#include <limits>
#include <span>
#include <variant>

namespace core {

// When a setting is written back to the settings file.
enum SettingWrite : unsigned {
    WrittenNever = 0,
    WrittenAtStart = 1, // SETPUBLICS stores the normalised value at every start
    WrittenBySetup = 2, // the settings dialog stores it on save
};

// One setting of a settings object T: where it lives in the settings file, its default, how it is read and when
// it is written back. How it is read follows the member's type: a whole number (leading digits, truncated), a
// flag ("0"/"1"), or text. A number outside minimum..maximum is brought to the nearer end when it is read, so a
// hand-edited file cannot put the program out of its range, and the write-back stores the corrected value.
template <class T> struct SettingField {
    const char* section;
    const char* key;
    std::variant<int T::*, bool T::*, QString T::*> member;
    std::variant<int, bool, const char*> defaultValue;
    unsigned written = WrittenNever;
    int minimum = std::numeric_limits<int>::min();
    int maximum = std::numeric_limits<int>::max();
};

// A settings number: the value of its leading digits, truncated to a whole number and kept inside int.
int settingNumber(const QString& text);
// The same read straight from the file, with a default for a missing key.
int readSettingNumber(const QString& ini, const QString& section, const QString& key, int defaultValue);

namespace detail {
void readField(const QString& ini, const char* section, const char* key, int& value, int def);
void readField(const QString& ini, const char* section, const char* key, bool& value, bool def);
void readField(const QString& ini, const char* section, const char* key, QString& value, const char* def);
bool writeField(const QString& ini, const char* section, const char* key, int value);
bool writeField(const QString& ini, const char* section, const char* key, bool value);
bool writeField(const QString& ini, const char* section, const char* key, const QString& value);
} // namespace detail

// Every field of the table at its default.
template <class T> void applyDefaults(T& target, std::span<const SettingField<T>> fields) {
    for (const SettingField<T>& f : fields)
        std::visit(
            [&](auto member) {
                using V = std::remove_cvref_t<decltype(target.*member)>;
                if constexpr (std::is_same_v<V, QString>)
                    target.*member = QString::fromUtf8(std::get<const char*>(f.defaultValue));
                else
                    target.*member = std::get<V>(f.defaultValue);
            },
            f.member);
}

// Every field of the table from the file; a missing key gives the default.
template <class T> void readSettings(T& target, std::span<const SettingField<T>> fields, const QString& ini) {
    const platform::ProfileReadBatch batch;
    for (const SettingField<T>& f : fields)
        std::visit(
            [&](auto member) {
                using V = std::remove_cvref_t<decltype(target.*member)>;
                if constexpr (std::is_same_v<V, QString>) {
                    detail::readField(ini, f.section, f.key, target.*member, std::get<const char*>(f.defaultValue));
                } else {
                    detail::readField(ini, f.section, f.key, target.*member, std::get<V>(f.defaultValue));
                    if constexpr (std::is_same_v<V, int>)
                        target.*member = std::clamp(target.*member, f.minimum, f.maximum);
                }
            },
            f.member);
}

// The fields written on the occasion `when`, in table order. False when any of them could not be written.
template <class T>
bool writeSettings(const T& source, std::span<const SettingField<T>> fields, const QString& ini, SettingWrite when) {
    bool ok = true;
    for (const SettingField<T>& f : fields) {
        if (!(f.written & when)) continue;
        std::visit([&](auto member) { ok = detail::writeField(ini, f.section, f.key, source.*member) && ok; },
                   f.member);
    }
    return ok;
}

} // namespace core
