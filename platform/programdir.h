#pragma once

#include <filesystem>
#include <string_view>

#include <QString>

namespace platform {

// The program folder and the one way of turning the file names the program writes (".\Texte\TAVOLIN.HLP",
// "texte\Stvo.pdf", "Bitmaps/START1.bmp", "FRAGEN.DBF") into paths on a case-sensitive file system.
class ProgramDir {
public:
    explicit ProgramDir(const QString& folder);
    // The folder of the running executable; needs a QCoreApplication.
    static ProgramDir ofExecutable();

    // Absolute, with '/' separators and no trailing '/'.
    const QString& path() const { return m_path; }

    // The absolute path of `name`: backslashes count as separators, "." and ".." are taken lexically, and each
    // component is matched against the existing entries of its folder without regard to case (an exact match is
    // preferred). From the first component that does not exist on, the name is kept as written, so a file to be
    // created gets one spelling whatever the case of the folders above it. An absolute name is resolved the same
    // way from the root. Nothing here uses the working directory.
    QString resolve(const QString& name) const;
    bool exists(const QString& name) const;
    // The existing file that `name` names below the folder, matched as resolve() does; an empty string when there
    // is none or the name leads outside the folder (names can come from the settings file).
    QString find(const QString& name) const;

    // The same for UTF-8 names, for the table engine.
    std::filesystem::path resolvePath(std::string_view utf8Name) const;

private:
    QString m_path;
};

} // namespace platform
