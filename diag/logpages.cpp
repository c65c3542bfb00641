#include "diag/logpages.h"

#include "platform/ansi.h"

namespace diag {

QList<QStringList> logPages(std::string_view bytes) {
    if (const auto eof = bytes.find('\x1A'); eof != std::string_view::npos) bytes = bytes.substr(0, eof);
    QString text = platform::fromAnsi(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    QList<QStringList> pages;
    if (text.isEmpty()) return pages;
    QStringList page;
    auto put = [&](const QString& piece) {
        if (page.size() == kLinesPerPage) {
            pages << page;
            page.clear();
        }
        page << piece;
    };
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.isEmpty()) put(QString());
        for (int at = 0; at < line.size(); at += kPrintWidth)
            put(line.mid(at, kPrintWidth));
    }
    if (!page.isEmpty()) pages << page;
    return pages;
}

} // namespace diag
