#include "documents/OSTRoutines.h"
#include "tests/support/HtmlToTextReference.h"
#include "tests/support/SavedPages.h"

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

TEST(HtmlToText, ReadsThePageAsABrowserShowsItOnOneLine)
{
    EXPECT_EQ(HtmlToText(QString::fromUtf8(fixtures::shortSavedPage())), fixtures::shortSavedPageText());
    EXPECT_EQ(HtmlToText(q("<p>Hello</p>")), q("Hello"));
    // Inline elements join what they hold to the words around them; blocks, cells and breaks separate words.
    EXPECT_EQ(HtmlToText(q("<b>x</b>y<span>z</span>")), q("xyz"));
    EXPECT_EQ(HtmlToText(q("one<br>two<BR/>three<hr>four")), q("one two three four"));
    EXPECT_EQ(HtmlToText(q("<table><tr><th>a</th><td>b</td></tr><tr><td>c</td></tr></table>d")), q("a b c d"));
    EXPECT_EQ(HtmlToText(q("<h1>Title</h1><DIV>x</DIV><dl><dt>t</dt><dd>d</dd></dl><blockquote>q</blockquote>")),
              q("Title x t d q"));
    // White space of every kind, and the no-break space, is one space; the page stays one line.
    EXPECT_EQ(HtmlToText(q("<p>one</p>\r\n<p>two</p>\r\n")), q("one two"));
    EXPECT_EQ(HtmlToText(q("one\ntwo\rthree\r\r\n\f four")), q("one two three four"));
    EXPECT_EQ(HtmlToText(q("a\t\tb   c&nbsp; &#160;d\u00a0e")), q("a b c d e"));
    EXPECT_EQ(HtmlToText(q("<p>\r\n\tx\r\n</p>\r\n")), q("x"));
    EXPECT_EQ(HtmlToText(q("x;;;y")), q("x;;;y"));
    EXPECT_EQ(HtmlToText(q("<p>Grüße 😀 &hellip;dalej</p>")), q("Grüße 😀 …dalej"));
}

TEST(HtmlToText, LeavesOutWhatABrowserDoesNotShow)
{
    EXPECT_EQ(HtmlToText(q("<script>var a = 1</script>x")), q("x"));
    EXPECT_EQ(HtmlToText(q("<Script type=\"a\">if (a</b) x = '</scripts>';</SCRIPT >y")), q("y"));
    EXPECT_EQ(HtmlToText(q("<style>p{color:red}</style><noscript>Turn on</noscript>z")), q("z"));
    EXPECT_EQ(HtmlToText(q("a<script>never closed <p>text</p>")), q("a"));
    EXPECT_EQ(HtmlToText(q("x<!-- note <p>y</p> -->y<!---->z<!-->w")), q("xyzw"));
    EXPECT_EQ(HtmlToText(q("<template><template>a</template>b</template>c</template>d")), q("cd"));
    EXPECT_EQ(HtmlToText(q("<!DOCTYPE html><?xml version=\"1.0\"?>a</>b")), q("ab"));
    // The title is read, markup inside it as written; a drawing's title is not.
    EXPECT_EQ(HtmlToText(q("<head><title>A <b> &amp; B</title><meta charset=utf-8></head><body>x</body>")),
              q("A <b> & B x"));
    EXPECT_EQ(HtmlToText(q("a<svg><title>Icon</title><desc>d</desc><text>b</text></svg>c<svg/><title>T</title>")),
              q("abc T"));
}

TEST(HtmlToText, TagsEndAtTheFirstBracketOutsideQuotedValues)
{
    EXPECT_EQ(HtmlToText(q("<a title=\"2 > 1\" data-x='>'>x</a>y")), q("xy"));
    EXPECT_EQ(HtmlToText(q("<a href=a>b>c")), q("b>c"));
    EXPECT_EQ(HtmlToText(q("a<b>>c")), q("a>c"));
    // A "<" that starts no markup is text.
    EXPECT_EQ(HtmlToText(q("2 > 1, a < b, x <= y, <<<<")), q("2 > 1, a < b, x <= y, <<<<"));
    // Markup that never ends loses only its "<", a quoted value that never ends only its quotes' protection.
    EXPECT_EQ(HtmlToText(q("<b>x</b>y<z")), q("xyz"));
    EXPECT_EQ(HtmlToText(q("a<b title=\"x>y")), q("ay"));
    EXPECT_EQ(HtmlToText(q("a<!-- b")), q("a!-- b"));
}

TEST(HtmlToText, TranslatesCharacterReferences)
{
    EXPECT_EQ(HtmlToText(q("Fish &amp; Chips &lt;b&gt; &amp;lt;")), q("Fish & Chips <b> &lt;"));
    EXPECT_EQ(HtmlToText(q("&CounterClockwiseContourIntegral; &NotEqualTilde; &Afr; &ZeroWidthSpace;")),
              q("∳ ≂̸ 𝔄 \u200b"));
    // Older names count without their ";", the longest one the letters begin with; newer names do not.
    EXPECT_EQ(HtmlToText(q("&copy2024 &amp &notit; &notin; &hellip &AMP")), q("©2024 & ¬it; ∉ &hellip &"));
    // Unknown names, and "&" in words, stay as written.
    EXPECT_EQ(HtmlToText(q("R&D ends; here &bogus; AT&T & &; end&")), q("R&D ends; here &bogus; AT&T & &; end&"));
    EXPECT_EQ(HtmlToText(q("&#233;&#xE9;&#XE9&#0000233; &#; &#x; &#a")), q("éééé &#; &#x; &#a"));
    // Numbers that are no character give the replacement character; 128 to 159 are Windows-1252.
    EXPECT_EQ(HtmlToText(q("&#0;&#xD800;&#x110000;&#99999999999999999999;")), q("\ufffd\ufffd\ufffd\ufffd"));
    EXPECT_EQ(HtmlToText(q("&#128;&#150;&#x92;&#x81;&#159;")), q("€–’\u0081Ÿ"));
    EXPECT_EQ(HtmlToText(q("&#128512;&#x1F600;")), q("😀😀"));
}

TEST(HtmlToText, SavedPagesKeepTheirWordsAndLoseTheirCode)
{
    const QString news = HtmlToText(QString::fromUtf8(fixtures::entityNewsPage()));
    for (const char* words : {"Café owners “hopeful” as market re‑opens – The Valley Post The Valley Post News",
                              "Sport What’s on Café owners", "By Renée O’Connor · 12 March 2024 · 4 min read",
                              "they’re “cautiously hopeful”", "Saturday — eighteen", "It’s like the old days – only",
                              "the roof doesn't leak.", "£40–£65 a week", "€2½m", "AT&T's old payphone & the clock…",
                              "Monday–Saturday. Dogs ≠ welcome. 5 < 6 && 7 > 2. Related", "© 2024 The Valley Post •"})
        EXPECT_TRUE(news.contains(q(words))) << words << "\n" << news.toStdString();
    const QString manual = HtmlToText(QString::fromUtf8(fixtures::documentationPage()));
    for (const char* words :
         {"tabulate(1) — Reference Manual Contents | Installing | FAQ tabulate(1) Name",
          "Option Default Meaning -s SEP tab Split each line at SEP.", "cat data.csv | tabulate -s ,",
          "2 for bad usage (see above). Example Given a,b", "Send bugs to <bugs@example.org>."})
        EXPECT_TRUE(manual.contains(q(words))) << words << "\n" << manual.toStdString();
    for (const QString& page : {news, manual}) {
        for (const char* code : {"dataLayer", "{", "<p>", "Please turn on", "Book icon", "open book", "placeholder",
                                 "Highlight", "Header", "this week"})
            EXPECT_FALSE(page.contains(q(code))) << code << "\n" << page.toStdString();
    }
}

// The one-pass conversion must give exactly what the plain method gives.
TEST(HtmlToText, AgreesWithThePlainMethodOnGeneratedPages)
{
    const char* pieces[] = {"<",          ">",           "</",     "<p>",        "</b>",      "<br/>",   "&",
                            "&amp;",      "&amp",        "&nbsp;", "&#",         "&#x1F6;",   "&#150",   ";",
                            " ",          "\t",          "\r\n",   "\n",         "a",         "word",    "😀",
                            "=",          "\"",          "'",      "<a b=",      "<a b='>",   "<!--",    "-->",
                            "--!>",       "<!",          "<?x>",   "<script>",   "</script>", "<title>", "</title>",
                            "<template>", "</template>", "<svg>",  "</svg>",     "<desc>",    "\x01",    "x>y",
                            "<<",         "&notin",      "&copy",  "<style x='", "\u00a0"};
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
