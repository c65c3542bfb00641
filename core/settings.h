#pragma once

#include <QString>

#include <span>
#include <string_view>

#include "core/settingstable.h"

namespace core {

// The global setting variables of the program under their own names. The ones kept in TAVOLIN.INI are described
// once, in settingsTable(): SETPUBLICS reads them, the start-up and the settings dialog write them back from it.
// A new object holds the table's defaults.
struct Settings {
    Settings();

    QString CINIFILE = QStringLiteral(".\\Tavolin.ini"); // the settings file, as every routine names it
    int NS_MAXFRAGEN = 0;                                // questions per training run
    int NS_MAXDURCH = 0;                                 // read and written back; nothing acts on it
    bool LS_WVORLAGE = false;                            // present wrongly answered questions again
    bool LS_SAUSWERT = false;                            // show the evaluation of an answer at once
    bool LS_FPSHOW = false;                              // show error points at once
    bool LS_SOUND = false;                               // play sounds
    bool LS_SPEECH = false;                              // speech output through SPEEKIT
    int NS_THEMEN = 0;                                   // read and written back; nothing acts on it
    int NS_WINSIZE = 0;                                  // main window: 1 maximised, 2 normal at the saved place
    int NS_ERROR = 0;                                    // an old error log: 1 delete, 2 print, 3 mail
    QString CS_BRUSH;                                    // base name of the start picture in Bitmaps/
    QString CS_EMAIL_M;                                  // caption of the optional mail item (help menu)
    QString CS_EMAIL;                                    // its address
    QString CS_WWW_M;                                    // caption of the optional web item (help menu)
    QString CS_WWW;                                      // its address
    QString CRELEASE;                                    // title, about item, log, mails
    QString CRELNUM = QStringLiteral("2.41");            // compared by the update check
    QString CS_ACROBAT;                                  // a PDF reader program; nothing sets it
    // The catalog-text substitution (cp1252 bytes): the key and the readable and stored tables.
    std::string_view CKEY;
    std::string_view CENCRYPT;
    std::string_view CDECRYPT;
    // Fixed at start-up before the menu is built: offers the maintenance menu and the catalog export.
    bool maintainerMode = false;
};

// Every setting of Settings that TAVOLIN.INI keeps, once.
std::span<const SettingField<Settings>> settingsTable();

} // namespace core
