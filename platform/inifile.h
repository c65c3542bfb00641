#pragma once

#include <utility>
#include <vector>

#include <QString>
#include <QStringList>

namespace platform {

// Settings files with the semantics of the Windows private-profile functions. `file` is a path the caller has
// resolved already (ProgramDir::resolve); nothing here looks at the working directory.
//
// Reading: sections and keys are compared without case; blanks around names and values are dropped, then one pair
// of matching quotes ('"' or '\'') around a value; lines without '=' and lines starting with ';' are no entries;
// the first of duplicate keys wins (duplicate sections count as one, in file order). A missing file, section or key
// gives the default; a key with an empty value gives "".
//
// Encoding: the file is cp1252, unless it starts with a UTF-8 or UTF-16 byte-order mark, or is valid UTF-8 as a
// whole and contains non-ASCII bytes (an editor saved it as UTF-8). A write keeps the encoding it found; a new file
// is cp1252, where characters cp1252 lacks become '?'.
//
// Writing replaces only the value of an existing key; every other byte of the file stays as it was. A missing key
// is added after the last line of its section, a missing section at the end of the file, a missing file is
// created. Added lines end like the file's first line (CR LF when it has none). The new file replaces the old one
// in one step, so a failed write leaves it untouched.

// While one is open, the reads of this thread share one reading of each file as long as it stays unchanged, and a
// write through here is seen at once: for a run of reads, such as all settings at the start. Without one, every
// read reads the file.
class ProfileReadBatch {
public:
    ProfileReadBatch();
    ~ProfileReadBatch();
    ProfileReadBatch(const ProfileReadBatch&) = delete;
    ProfileReadBatch& operator=(const ProfileReadBatch&) = delete;
};

QString readProfileString(const QString& file, const QString& section, const QString& key, const QString& defaultValue);

// False, with the file unchanged, when it cannot be written (read-only file or folder, missing folder), or when a
// name or the value could not be read back as written: an empty section or key, a line break anywhere, ']' in the
// section, '=' in the key, a key starting with '[' or ';', or a file whose encoding would be recognised differently
// afterwards. A value with blanks or quotes at its ends is written in
// double quotes, so that it reads back unchanged.
bool writeProfileString(const QString& file, const QString& section, const QString& key, const QString& value);

// The program's typed settings; a missing key gives the default, a present one is converted as below.
double readProfileNumber(const QString& file, const QString& section, const QString& key, double defaultValue);
bool readProfileFlag(const QString& file, const QString& section, const QString& key, bool defaultValue);
// Numbers without leading blanks and without decimals when whole (30 → "30"); flags "1" or "0".
bool writeProfileNumber(const QString& file, const QString& section, const QString& key, double value);
bool writeProfileFlag(const QString& file, const QString& section, const QString& key, bool value);

// Conversions of a value text: the number its leading digits give (blanks, a sign and a decimal point allowed;
// no digits give 0); the flag is false when the text begins with "0", true otherwise (also for "").
double profileNumber(const QString& text);
bool profileFlag(const QString& text);

// All entries of a section, in file order, the first of duplicate keys only.
std::vector<std::pair<QString, QString>> readProfileSection(const QString& file, const QString& section);
QStringList readProfileSectionKeys(const QString& file, const QString& section);

} // namespace platform
