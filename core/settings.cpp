#include "core/settings.h"

namespace core {

namespace {

constexpr unsigned kBoth = WrittenAtStart | WrittenBySetup;

// In the order the settings file gets them when they are new. SPEECH is stored only by the settings dialog,
// THEMEN and the start picture only at start-up. Numbers keep to the ranges the program offers: the question count
// has two digits in the settings dialog, THEMEN counts themes (1 to 9), WINSIZE is 1 maximised or 2 normal (0,
// what a text without digits reads as, opens normal too), ERROR picks one of three ways.
constexpr SettingField<Settings> kSettings[] = {
    {"Setup", "MAXFRAGEN", &Settings::NS_MAXFRAGEN, 30, kBoth, 0, 99},
    {"Setup", "MAXDURCH", &Settings::NS_MAXDURCH, 1, kBoth},
    {"Setup", "WVORLAGE", &Settings::LS_WVORLAGE, false, kBoth},
    {"Setup", "SAUSWERT", &Settings::LS_SAUSWERT, true, kBoth},
    {"Setup", "FPSHOW", &Settings::LS_FPSHOW, true, kBoth},
    {"Setup", "SOUND", &Settings::LS_SOUND, true, kBoth},
    {"Setup", "SPEECH", &Settings::LS_SPEECH, false, WrittenBySetup},
    {"Setup", "THEMEN", &Settings::NS_THEMEN, 2, WrittenAtStart, 1, 9},
    {"Setup", "WINSIZE", &Settings::NS_WINSIZE, 2, kBoth, 0, 2},
    {"Setup", "ERROR", &Settings::NS_ERROR, 1, kBoth, 1, 3},
    {"Setup", "Background", &Settings::CS_BRUSH, "MAIN640", WrittenAtStart},
    {"Project", "Email_Menue", &Settings::CS_EMAIL_M, "", WrittenNever},
    {"Project", "Email_URL", &Settings::CS_EMAIL, "", WrittenNever},
    {"Project", "Internet_Menue", &Settings::CS_WWW_M, "", WrittenNever},
    {"Project", "Internet_URL", &Settings::CS_WWW, "", WrittenNever},
    {"About", "Release", &Settings::CRELEASE, "QRT Lenkwerk-Trainer 2007 v2.41", WrittenNever},
};

} // namespace

Settings::Settings() {
    applyDefaults<Settings>(*this, settingsTable());
}

std::span<const SettingField<Settings>> settingsTable() {
    return kSettings;
}

} // namespace core
