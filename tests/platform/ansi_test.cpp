#include <gtest/gtest.h>

#include <string>

#include <QString>

#include "qtprint.h"

#include "platform/ansi.h"

namespace {

TEST(AnsiText, EveryByteComesBackUnchanged) {
    std::string bytes(256, '\0');
    for (int i = 0; i < 256; ++i)
        bytes[i] = static_cast<char>(i);
    const QString text = platform::fromAnsi(bytes);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(platform::toAnsi(text), bytes);
}

TEST(AnsiText, UmlautsAndCharactersOutsideCp1252) {
    EXPECT_EQ(platform::fromAnsi("Fahrsch\xFCler \x80"), QString::fromUtf8("Fahrschüler €"));
    EXPECT_EQ(platform::toAnsi(QString::fromUtf8("Maß ä 漢 \U0001F697")), "Ma\xDF \xE4 ? ?");
    EXPECT_EQ(platform::toAnsi(QString(QChar(0xD800))), "?"); // a lone surrogate
    EXPECT_EQ(platform::fromOem("'Fahrsch\x81ler \x84'"), QString::fromUtf8("'Fahrschüler ä'"));
}

} // namespace
