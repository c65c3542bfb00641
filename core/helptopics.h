#pragma once

#include <QString>

#include <array>

namespace core {

// The program's own help file, named as every dialog names it; the help service opens the collection of the
// same base name in Texte/.
inline const QString kHelpFile = QStringLiteral(".\\Texte\\TAVOLIN.HLP");

// The help files the information menu opens, beside the program's own.
inline constexpr std::array kInfoHelpFiles{".\\TEXTE\\EUROFSCH.HLP", ".\\TEXTE\\AKTINFOS.HLP",
                                           ".\\TEXTE\\KFZSTEUR.HLP", ".\\TEXTE\\KFZKENNZ.HLP",
                                           ".\\TEXTE\\VerPlatz.HLP", ".\\TEXTE\\KaufTipp.HLP"};

// Every topic keyword a window of the program sets; each has a page in the program's help file.
namespace topic {
inline constexpr const char* kMain = "Lenkwerk";
inline constexpr const char* kTwoUser = "Zweibenutzermodus";
inline constexpr const char* kSetup = "Voreinstellungen";
inline constexpr const char* kThemeSelection = "Themenauswahl";
inline constexpr const char* kThemes = "Themengebiete";
inline constexpr const char* kTraining = "Fragentraining";
inline constexpr const char* kExam = "Prüfungssimulation";
inline constexpr const char* kStatistics = "Statistik";
inline constexpr const char* kOverview = "Übersicht";
inline constexpr const char* kCatalog = "Fragenkatalog";
inline constexpr const char* kCatalogPrint = "Fragenkatalog drucken";
inline constexpr const char* kVehicleTax = "Kfz-Steuern";
inline constexpr const char* kFines = "Bussgeldrechner";
inline constexpr const char* kStoppingDistance = "Anhalteweg";
inline constexpr const char* kOnline = "Internet-Update";
inline constexpr const char* kProgress = "Prüfungsreife";
} // namespace topic

inline constexpr std::array kHelpTopics{
    topic::kMain,         topic::kTwoUser,    topic::kSetup,      topic::kThemeSelection,  topic::kThemes,
    topic::kTraining,     topic::kExam,       topic::kStatistics, topic::kOverview,        topic::kCatalog,
    topic::kCatalogPrint, topic::kVehicleTax, topic::kFines,      topic::kStoppingDistance, topic::kOnline,
    topic::kProgress};

// A keyword as the help service takes it.
inline QString topicKeyword(const char* keyword) {
    return QString::fromUtf8(keyword);
}

} // namespace core
