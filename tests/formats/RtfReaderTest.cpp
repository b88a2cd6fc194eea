#include "formats/RtfReader.h"

#include <QElapsedTimer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

struct Read
{
    QTextDocument document;
    explicit Read(const QByteArray& rtf) { readRtf(rtf, &document); }
    QString text() const { return document.toPlainText(); }
    QString raw() const { return document.toRawText(); }
    // The character format of the character at `position`.
    QTextCharFormat at(int position) const
    {
        QTextCursor cursor(const_cast<QTextDocument*>(&document));
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    QTextCharFormat of(const QString& word) const { return at(static_cast<int>(text().indexOf(word))); }
    QTextBlockFormat block(int number) const { return document.findBlockByNumber(number).blockFormat(); }
};

QByteArray rtf(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
                      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}") +
           body + "}";
}

} // namespace

TEST(RtfReader, RecognisesRichTextByItsHeader)
{
    EXPECT_TRUE(isRtf("{\\rtf1\\ansi hi}"));
    EXPECT_TRUE(isRtf("\r\n  {\\rtf1}"));
    EXPECT_FALSE(isRtf("Hello {\\rtf1}"));
    EXPECT_FALSE(isRtf("{\\rt"));
    EXPECT_FALSE(isRtf(""));
}

TEST(RtfReader, BuildsParagraphsLineBreaksAndTabs)
{
    // The \par that ends the last paragraph leaves no empty paragraph behind; a second one does.
    EXPECT_EQ(Read(rtf("one\\par two\\line three\\tab four\\par")).raw(),
              QStringLiteral(u"one\u2029two\u2028three\tfour"));
    EXPECT_EQ(Read(rtf("a\\par\\par")).text(), QStringLiteral("a\n"));
    EXPECT_EQ(Read(rtf("a\\par\\par b")).document.blockCount(), 3);
    // Line ends in the file are not text; a backslash before one is a paragraph break.
    EXPECT_EQ(Read(rtf("a\r\nb\\\nc")).text(), QStringLiteral("ab\nc"));
    EXPECT_EQ(Read(rtf("\\{x\\} \\\\ \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet\\~.")).raw(),
              QStringLiteral(u"{x} \\ —–‘’“”•\u00A0."));
    EXPECT_EQ(Read(rtf("co\\-op")).text(), QStringLiteral("coop"));
    // Table cells become tabs and rows paragraphs.
    EXPECT_EQ(Read(rtf("\\trowd a\\cell b\\cell\\row c")).text(), QStringLiteral("a\tb\nc"));
    // A page break starts a paragraph only after text.
    EXPECT_EQ(Read(rtf("a\\par\\page b\\page c")).text(), QStringLiteral("a\nb\nc"));
    EXPECT_EQ(Read(rtf("")).text(), QString());
}

TEST(RtfReader, ReadsCharacterFormatsWithGroupScope)
{
    const Read r(rtf("\\f1\\fs32 big {\\b bold {\\i both}} \\ul under\\ulnone  \\strike gone\\strike0  "
                     "{\\cf1 red} {\\highlight2 marked} {\\cb1 shaded} {\\super up}{\\sub down} \\b boldon\\b0 boldoff "
                     "\\i\\cf2\\fs40 x\\plain plain"));
    EXPECT_EQ(r.of(QStringLiteral("big")).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Times New Roman")});
    EXPECT_EQ(r.of(QStringLiteral("big")).fontPointSize(), 16);
    EXPECT_FALSE(r.of(QStringLiteral("big")).font().bold());
    EXPECT_TRUE(r.of(QStringLiteral("bold")).font().bold());
    EXPECT_FALSE(r.of(QStringLiteral("bold")).fontItalic());
    EXPECT_TRUE(r.of(QStringLiteral("both")).font().bold());
    EXPECT_TRUE(r.of(QStringLiteral("both")).fontItalic());
    EXPECT_TRUE(r.of(QStringLiteral("under")).fontUnderline());
    EXPECT_TRUE(r.of(QStringLiteral("gone")).fontStrikeOut());
    EXPECT_FALSE(r.of(QStringLiteral("gone")).fontUnderline());
    EXPECT_EQ(r.of(QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(r.of(QStringLiteral("marked")).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(r.of(QStringLiteral("shaded")).background().color(), QColor(255, 0, 0));
    EXPECT_EQ(r.of(QStringLiteral("up")).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(r.of(QStringLiteral("down")).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_TRUE(r.of(QStringLiteral("boldon")).font().bold());
    EXPECT_FALSE(r.of(QStringLiteral("boldoff")).font().bold());
    // \plain returns to the default font with nothing else set.
    const QTextCharFormat plain = r.of(QStringLiteral("plain"));
    EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_FALSE(plain.hasProperty(QTextFormat::FontPointSize));
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_EQ(plain.foreground().style(), Qt::NoBrush);
    // \cf0 is the automatic colour: the reading area's own.
    EXPECT_EQ(Read(rtf("\\cf1 a\\cf0 b")).at(1).foreground().style(), Qt::NoBrush);
}

TEST(RtfReader, DropsHiddenText)
{
    EXPECT_EQ(Read(rtf("shown{\\v hidden} too")).text(), QStringLiteral("shown too"));
}

TEST(RtfReader, ReadsParagraphFormats)
{
    const Read r(rtf("\\qc centre\\par\\pard\\qr right\\par\\pard\\qj\\li720\\ri1440\\fi-360\\sb240\\sa120 "
                     "justified\\par\\pard left"));
    EXPECT_EQ(r.block(0).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(r.block(1).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(r.block(2).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_DOUBLE_EQ(r.block(2).leftMargin(), 48);
    EXPECT_DOUBLE_EQ(r.block(2).rightMargin(), 96);
    EXPECT_DOUBLE_EQ(r.block(2).textIndent(), -24);
    EXPECT_DOUBLE_EQ(r.block(2).topMargin(), 16);
    EXPECT_DOUBLE_EQ(r.block(2).bottomMargin(), 8);
    EXPECT_EQ(r.block(3).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_DOUBLE_EQ(r.block(3).leftMargin(), 0);
}

TEST(RtfReader, DecodesCharactersThroughCodePagesAndUnicode)
{
    EXPECT_EQ(Read("{\\rtf1\\ansi caf\\'e9 \\'93q\\'94}").text(), QStringLiteral(u"café “q”"));
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}").text(), QStringLiteral(u"При"));
    // A font's character set decides over the document's code page.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 Arial;}{\\f1\\fcharset161 Arial;}}"
                   "\\f0\\'e0 \\f1\\'e1}")
                  .text(),
              QStringLiteral(u"а α"));
    // Double-byte characters arrive whole.
    EXPECT_EQ(Read("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0\\'82\\'a2}").text(), QStringLiteral(u"あい"));
    // \u skips its fallback: one character by default, \ucN of them, counting \'hh as one.
    EXPECT_EQ(Read("{\\rtf1 \\u937\\'3f x}").text(), QStringLiteral(u"Ω x"));
    EXPECT_EQ(Read("{\\rtf1\\uc2 \\u937 ab x}").text(), QStringLiteral(u"Ω x"));
    EXPECT_EQ(Read("{\\rtf1\\uc0 \\u937 x}").text(), QStringLiteral(u"Ωx"));
    EXPECT_EQ(Read("{\\rtf1 \\u-3913?}").text(), QStringLiteral(u"\uF0B7"));
    EXPECT_EQ(Read("{\\rtf1 \\u-10179?\\u-8704?}").text(), QStringLiteral(u"😀"));
    // The skip count belongs to the group: a fallback cut off by the group's end is not carried over.
    EXPECT_EQ(Read("{\\rtf1\\uc3 {\\u937 a}bc}").text(), QStringLiteral(u"Ωbc"));
    // An unpaired surrogate is replaced rather than left to break the text.
    EXPECT_EQ(Read("{\\rtf1 \\u-10179? x}").text(), QStringLiteral(u"\uFFFD x"));
    // Unicode alternatives in \upr win over their ANSI version.
    EXPECT_EQ(Read("{\\rtf1 {\\upr{ansi}{\\*\\ud{uni}}}}").text(), QStringLiteral("uni"));
}

TEST(RtfReader, SkipsDestinationsThatAreNotText)
{
    const Read r("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}{\\author A}}"
                 "{\\header head}{\\footer foot}{\\*\\unknown stuff {nested}}{\\pict\\pngblip 89504e47}"
                 "{\\footnote note}before{\\*\\bkmkstart b}after \\unknownword kept}");
    EXPECT_EQ(r.text(), QStringLiteral("beforeafter kept"));
    // An object shows its result only.
    EXPECT_EQ(Read("{\\rtf1 {\\object{\\*\\objdata 0102}{\\result shown}}}").text(), QStringLiteral("shown"));
    // List numbers are text the reader hears.
    EXPECT_EQ(Read("{\\rtf1 {\\listtext 1.\\tab}item}").text(), QStringLiteral("1.\titem"));
}

TEST(RtfReader, KeepsTheVisibleTextOfHyperlinksAsAnchors)
{
    const Read r(rtf("see {\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a?b=1\" \\\\o \"tip\"}}"
                     "{\\fldrslt{\\ul\\cf2 the site}}} now {\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}"));
    EXPECT_EQ(r.text(), QStringLiteral("see the site now 3"));
    const QTextCharFormat link = r.of(QStringLiteral("site"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("https://example.org/a?b=1"));
    EXPECT_TRUE(link.fontUnderline());
    EXPECT_FALSE(r.of(QStringLiteral("now")).isAnchor());
    EXPECT_FALSE(r.of(QStringLiteral("3")).isAnchor());
    EXPECT_EQ(Read(rtf("{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt up}}")).at(0).anchorHref(),
              QStringLiteral("#top"));
}

TEST(RtfReader, SurvivesHostileInput)
{
    // Each of these must end quickly with whatever text can be recovered and must not crash.
    QElapsedTimer clock;
    clock.start();

    QByteArray deep = "{\\rtf1 start";
    deep += QByteArray(100000, '{') + "\\b deep" + QByteArray(100000, '}') + " end}";
    EXPECT_EQ(Read(deep).text(), QStringLiteral("startdeep end"));

    EXPECT_EQ(Read("{\\rtf1 a" + QByteArray(10 * 1024 * 1024, '{')).text(), QStringLiteral("a"));
    EXPECT_EQ(Read("{\\rtf1 a" + QByteArray(1000000, '}') + "b").text(), QStringLiteral("a"));

    // Binary data may hold braces and backslashes; a length past the end stops at the end.
    EXPECT_EQ(Read("{\\rtf1 a{\\pict\\bin6 }}}\\{{ b}c}").text(), QStringLiteral("ac"));
    EXPECT_EQ(Read("{\\rtf1 a\\bin6 }}}\\{{b}").text(), QStringLiteral("ab"));
    EXPECT_EQ(Read("{\\rtf1 a\\bin999999999999 xyz").text(), QStringLiteral("a"));
    EXPECT_EQ(Read("{\\rtf1 a\\bin-5 b}").text(), QStringLiteral("ab"));

    // Parameters beyond any sensible range, truncated escapes and stray bytes.
    EXPECT_NO_THROW(Read("{\\rtf1\\fs99999999999999999999\\li-99999999999\\cf4000000000\\f-7 x\\u99999999 y\\'"));
    const char withControls[] = "{\\rtf1 a\0b\x01"
                                "c\\'0a\\'00d}";
    EXPECT_EQ(Read(QByteArray(withControls, sizeof withControls - 1)).raw(), QStringLiteral(u"abc\u2028d"));
    EXPECT_EQ(Read("{\\rtf1 \\" + QByteArray(100000, 'a') + " x}").text(), QStringLiteral("x"));
    EXPECT_NO_THROW(Read("{\\rtf1{\\colortbl" + QByteArray(1000000, ';') + "}\\cf999999 x}"));
    EXPECT_NO_THROW(Read("{\\rtf1{\\fonttbl{\\f1 " + QByteArray(1000000, 'n') + "}}\\f1 x}"));
    EXPECT_NO_THROW(Read("{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"" + QByteArray(1000000, 'h') + "}{\\fldrslt x}}}"));
    EXPECT_EQ(Read("{\\rtf1\\uc1000000 \\u65 bcd}").text(), QStringLiteral("A"));
    // Text after the document's closing brace is not part of it.
    EXPECT_EQ(Read("{\\rtf1 in} out").text(), QStringLiteral("in"));

    EXPECT_LT(clock.elapsed(), 20000);
}

TEST(RtfReader, KeepsFormattingOfGroupsBeyondTheDepthLimit)
{
    RtfReadLimits limits;
    limits.maxDepth = 3;
    QTextDocument document;
    readRtf("{\\rtf1{{\\b{{{x}}}}}{y}}", &document, limits);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("xy"));
    QTextCursor cursor(&document);
    cursor.setPosition(1);
    EXPECT_TRUE(cursor.charFormat().font().bold());
    cursor.setPosition(2);
    EXPECT_FALSE(cursor.charFormat().font().bold());

    // Where text goes, whether it shows and what \u skips end with the group past the limit that set them.
    readRtf("{\\rtf1{{{{\\*\\fldinst x}{\\v hidden}{\\uc2 a}\\u66 cb{\\fonttbl{\\f0 Arial;}}y}}}z}", &document, limits);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("aBbyz"));
    // Also when a word skips the rest of its group, and the text comes after another group.
    readRtf("{\\rtf1{{{{\\fldinst\\header x}{}y}}}}", &document, limits);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("y"));
}
