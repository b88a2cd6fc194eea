#include "core/TextEncoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, DecodesUtf8WhenValidAndWindows1252Otherwise)
{
    EXPECT_EQ(decodeText(QByteArray("caf\xC3\xA9")), QStringLiteral(u"café"));
    // The same word saved by an old Windows editor.
    EXPECT_EQ(decodeText(QByteArray("caf\xE9")), QStringLiteral(u"café"));
    // One bad byte makes the whole file Windows-1252, including 0x80-0x9F punctuation.
    EXPECT_EQ(decodeText(QByteArray("\xC3\xA9 \x93quoted\x94 \x80")), QStringLiteral(u"Ã© “quoted” €"));
    EXPECT_EQ(decodeText(QByteArray()), QString());
}

TEST(TextEncoding, RejectsMalformedUtf8)
{
    EXPECT_TRUE(isValidUtf8("plain ascii"));
    EXPECT_TRUE(isValidUtf8("\xF0\x9F\x98\x80"));  // an emoji
    EXPECT_FALSE(isValidUtf8("\xC0\xAF"));         // overlong
    EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));     // a lone surrogate
    EXPECT_FALSE(isValidUtf8("\xE2\x82"));         // cut short at the end
    EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80")); // beyond U+10FFFF
    EXPECT_FALSE(isValidUtf8("\x80"));
}

TEST(TextEncoding, HonoursByteOrderMarks)
{
    EXPECT_EQ(decodeText(QByteArray("\xEF\xBB\xBFhi")), QStringLiteral("hi"));
    EXPECT_EQ(decodeText(QByteArray("\xFF\xFEh\0i\0", 6)), QStringLiteral("hi"));
    EXPECT_EQ(decodeText(QByteArray("\xFE\xFF\0h\0i", 6)), QStringLiteral("hi"));
}

TEST(TextEncoding, EncodesWindows1252WhenEverythingFitsElseUtf8)
{
    EXPECT_EQ(encodeText(QStringLiteral(u"café €")), QByteArray("caf\xE9 \x80"));
    EXPECT_EQ(encodeText(QStringLiteral(u"café Ω")), QByteArray("caf\xC3\xA9 \xCE\xA9"));
    for (const QString& text : {QStringLiteral(u"naïve “x”"), QStringLiteral(u"Ωmega 😀")})
        EXPECT_EQ(decodeText(encodeText(text)), text);
}

TEST(TextEncoding, DecodesOtherWindowsCodePages)
{
    EXPECT_EQ(decodeCodePage("\xC0\xE1\xE2", 1251), QStringLiteral(u"Абв"));
    EXPECT_EQ(decodeCodePage("\x8A\x9A", 1250), QStringLiteral(u"Šš"));
    EXPECT_EQ(decodeCodePage("\xE1", 1253), QStringLiteral(u"α"));
    EXPECT_EQ(decodeCodePage("\x82\xA0", 932), QStringLiteral(u"あ"));
    EXPECT_EQ(decodeCodePage("\xE9", 99999), QStringLiteral(u"é"));
    // Every byte of every table survives: undefined positions keep their value.
    for (int cp = 1250; cp <= 1258; ++cp)
        EXPECT_EQ(decodeCodePage("\x81", cp).size(), 1) << cp;
}

TEST(TextEncoding, WhatIsWrittenReadsBackExactly)
{
    // Windows-1252 bytes that would pass for UTF-8 or for a byte-order mark are written as UTF-8 instead.
    for (const QString& text : {QStringLiteral(u"Ã©"), QStringLiteral(u"ÿþtext"), QStringLiteral(u"þÿtext"),
                                QStringLiteral(u"ï»¿text"), QStringLiteral(u"\uFEFFmarked"), QStringLiteral(u"ÂÂ ok")})
        EXPECT_EQ(decodeText(encodeText(text)), text) << text.toStdString();
    // Files written by earlier versions still read the same.
    EXPECT_EQ(encodeText(QStringLiteral(u"café")), QByteArray("caf\xE9"));
    EXPECT_EQ(decodeText(QByteArray("\xC3\xA9")), QStringLiteral(u"é"));
}
