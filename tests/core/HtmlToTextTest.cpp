#include "core/TextRoutines.h"
#include "tests/support/HtmlToTextReference.h"

#include <gtest/gtest.h>

#include <random>

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(HtmlToText, PagesOfTagsAndWhiteSpaceBecomeEmpty)
{
    EXPECT_EQ(HtmlToText(QString()), QString());
    EXPECT_EQ(HtmlToText(q("<html>\r\n\t<head> </head>\r\n<body>\n</body></html>\r\n")), QString());
    EXPECT_EQ(HtmlToText(q(" \t\r\n ")), QString());
}

TEST(HtmlToText, RemovesTagsWithoutLeavingSpaces)
{
    EXPECT_EQ(HtmlToText(q("<p>Hello</p>")), q("Hello"));
    EXPECT_EQ(HtmlToText(q("<b>x</b>")), q("x"));
    EXPECT_EQ(HtmlToText(q("one<br>two")), q("onetwo"));
    // A tag ends at the last ">" of a run of them.
    EXPECT_EQ(HtmlToText(q("a<b>>c")), q("ac"));
    EXPECT_EQ(HtmlToText(q("a<b>>>")), q("a"));
    // Script text and comments stay; only what lies between "<" and ">" goes.
    EXPECT_EQ(HtmlToText(q("<script>var a = 1</script>x")), q("var a = 1x"));
    EXPECT_EQ(HtmlToText(q("x<!-- note -->y")), q("xy"));
    // A ">" outside any tag is text.
    EXPECT_EQ(HtmlToText(q("2 > 1")), q("2 > 1"));
}

TEST(HtmlToText, UnclosedTagLosesOnlyItsOpeningBracket)
{
    EXPECT_EQ(HtmlToText(q("a < b")), q("a b"));
    EXPECT_EQ(HtmlToText(q("<p>x</p>y<z")), q("xyz"));
    EXPECT_EQ(HtmlToText(q("<<<<")), QString());
    EXPECT_EQ(HtmlToText(q("a<b>c<d")), q("acd"));
}

TEST(HtmlToText, RemovesEntitiesWithoutTranslatingThem)
{
    EXPECT_EQ(HtmlToText(q("a&nbsp;b")), q("a b"));
    EXPECT_EQ(HtmlToText(q("Fish &amp; Chips")), q("Fish   Chips"));
    EXPECT_EQ(HtmlToText(q("a &amp; b")), q("a   b"));
    EXPECT_EQ(HtmlToText(q("x;;;y")), q("x y"));
    // An "&" reaches to the next ";" however far away it is.
    EXPECT_EQ(HtmlToText(q("R&D ends; here")), q("R  here"));
    // An "&" followed by a space, or with no ";" after it, stays.
    EXPECT_EQ(HtmlToText(q("salt & pepper; done")), q("salt & pepper  done"));
    EXPECT_EQ(HtmlToText(q("R&D")), q("R&D"));
    EXPECT_EQ(HtmlToText(q("end&")), q("end&"));
    // A later "&" is removed first, so an earlier one sees the text as it stands then.
    EXPECT_EQ(HtmlToText(q("a&b&c;d;e")), q("a d e"));
    EXPECT_EQ(HtmlToText(q("a& &c; d")), q("a&   d"));
}

TEST(HtmlToText, GivesOneLineButKeepsLoneLineBreaks)
{
    EXPECT_EQ(HtmlToText(q("<p>one</p>\r\n<p>two</p>\r\n")), q("one two"));
    EXPECT_EQ(HtmlToText(q("one\ntwo\rthree")), q("one\ntwo\rthree"));
    EXPECT_EQ(HtmlToText(q("one\r\r\ntwo")), q("one\r two"));
    EXPECT_EQ(HtmlToText(q("a\t\tb   c")), q("a b c"));
    // Line breaks and tabs that become leading or trailing once tags go are trimmed.
    EXPECT_EQ(HtmlToText(q("<p>\r\n\tx\r\n</p>\r\n")), q("x"));
}

TEST(HtmlToText, KeepsTextBeyondLatinOne)
{
    EXPECT_EQ(HtmlToText(q("<p>Grüße 😀 &hellip;dalej</p>")), q("Grüße 😀  dalej"));
}

// The one-pass conversion must give exactly what the plain step-by-step method gives.
TEST(HtmlToText, AgreesWithThePlainMethodOnGeneratedPages)
{
    const char* pieces[] = {
        "<",  ">",  ">>",   "<p>", "</b>", "&",  "&amp;", "&nbsp;",         ";",      ";;",   " ",   "  ", "\t",
        "\r", "\n", "\r\n", "a",   "word", "& ", "😀",     "<a href=\"x\">", "&#160;", "\x01", "x>y", "<<"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> piece(0, int(std::size(pieces)) - 1);
    std::uniform_int_distribution<int> length(0, 40);
    for (int round = 0; round < 5000; ++round) {
        QString page;
        for (int n = length(random); n > 0; --n)
            page += q(pieces[piece(random)]);
        ASSERT_EQ(HtmlToText(page), reference::htmlToText(page)) << "page: " << page.toStdString();
    }
}

TEST(TextRoutines, CollapseRuns)
{
    EXPECT_EQ(CollapseSpaces(q("a   b  c")), q("a b c"));
    EXPECT_EQ(CollapseSpaces(q("a b")), q("a b"));
    EXPECT_EQ(CollapseSpaces(q("a\t\tb")), q("a\t\tb"));
    EXPECT_EQ(CollapseCharRuns(q("x;;;y;z;;"), q(";")), q("x;y;z;"));
    EXPECT_EQ(CollapseCharRuns(q("x;;;y"), q(";;")), q("x;;;y"));
    EXPECT_EQ(CollapseCharRuns(q("x;;;y"), QString()), q("x;;;y"));
    for (const char* text : {"  a  ", "a    ", ";;x;;;;y;", ""}) {
        EXPECT_EQ(CollapseSpaces(q(text)), reference::collapseCharRuns(q(text), q(" ")));
        EXPECT_EQ(CollapseCharRuns(q(text), q(";")), reference::collapseCharRuns(q(text), q(";")));
    }
}

TEST(TextRoutines, CrLfToSpaceKeepsLoneBreaks)
{
    EXPECT_EQ(CrLfToSpace(q("one\r\ntwo\rthree")), q("one two\rthree"));
    EXPECT_EQ(CrLfToSpace(q("\n\r\r\n\n")), q("\n\r \n"));
    EXPECT_EQ(CrLfToSpace(q("\r\n\r\n")), q("  "));
}

TEST(TextRoutines, TrimRemovesEveryControlCharacter)
{
    EXPECT_EQ(TrimControl(q("\t\r\n \x01 a b\x1f\x7f \n")), q("a b\x1f\x7f"));
    EXPECT_EQ(TrimControl(q(" \t ")), QString());
    EXPECT_EQ(TrimLeftControl(q("\n a \n")), q("a \n"));
}

} // namespace
