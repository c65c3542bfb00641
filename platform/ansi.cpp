#include "platform/ansi.h"

#include "store/codepage.h"

namespace platform {

QString fromAnsi(std::string_view cp1252Bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252Bytes.size()));
    for (char c : cp1252Bytes)
        out.append(QChar(static_cast<char16_t>(store::cp1252ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

std::string toAnsi(const QString& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i; // nothing outside the BMP is in cp1252
            out += '?';
            continue;
        }
        const int b = store::unicodeToCp1252(c.unicode());
        out += b < 0 ? '?' : static_cast<char>(b);
    }
    return out;
}

QString fromOem(std::string_view cp850Bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(cp850Bytes.size()));
    for (char c : cp850Bytes)
        out.append(QChar(static_cast<char16_t>(store::cp850ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

} // namespace platform
