#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace platform {

// The boundary between the program's byte texts and the UI's QString. All 256 cp1252 bytes map and come back
// unchanged; characters cp1252 lacks are written as '?'.
QString fromAnsi(std::string_view cp1252Bytes);
std::string toAnsi(const QString& text);

// Texts stored in the OEM code page (cp850), for display.
QString fromOem(std::string_view cp850Bytes);

} // namespace platform
