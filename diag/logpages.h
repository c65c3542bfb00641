#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <string_view>

namespace diag {

inline constexpr int kPrintWidth = 70;    // characters of a printed piece
inline constexpr int kLinesPerPage = 50;

// The pages of a printed log: each line of the file (CR LF, the end-of-file byte dropped) cut into pieces of at most
// 70 characters at exactly the 70th, with no word wrap; 50 pieces to a page.
QList<QStringList> logPages(std::string_view cp1252Bytes);

} // namespace diag
