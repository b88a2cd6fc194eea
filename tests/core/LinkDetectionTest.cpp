#include "core/LinkDetection.h"

#include <gtest/gtest.h>

namespace {

QStringList linkTexts(const QString& text)
{
    QStringList texts;
    for (const TextLink& link : FindLinks(text))
        texts.append(text.mid(link.start, link.length));
    return texts;
}

} // namespace

TEST(FindLinks, FindsEveryKindOfAddressAndSeveralOnOneLine)
{
    EXPECT_EQ(linkTexts(QStringLiteral("See http://a.org/x, https://b.org and ftp://c.org/f.txt or www.d.org today")),
              (QStringList{QStringLiteral("http://a.org/x"), QStringLiteral("https://b.org"),
                           QStringLiteral("ftp://c.org/f.txt"), QStringLiteral("www.d.org")}));
    EXPECT_EQ(linkTexts(QStringLiteral("Write to mailto:teacher@school.org please")),
              QStringList{QStringLiteral("mailto:teacher@school.org")});
    EXPECT_EQ(linkTexts(QStringLiteral("HTTP://SHOUT.ORG and WWW.Loud.Org")),
              (QStringList{QStringLiteral("HTTP://SHOUT.ORG"), QStringLiteral("WWW.Loud.Org")}));
    EXPECT_EQ(linkTexts(QStringLiteral("http://a.org/search?q=1&lang=en#top")),
              QStringList{QStringLiteral("http://a.org/search?q=1&lang=en#top")});
    EXPECT_EQ(linkTexts(QStringLiteral("tab\thttp://a.org\nwww.b.org")),
              (QStringList{QStringLiteral("http://a.org"), QStringLiteral("www.b.org")}));
}

TEST(FindLinks, LeavesClosingPunctuationAndUnmatchedBracketsOut)
{
    EXPECT_EQ(linkTexts(QStringLiteral("Go to http://a.org/x.")), QStringList{QStringLiteral("http://a.org/x")});
    EXPECT_EQ(linkTexts(QStringLiteral("Really www.a.org?!")), QStringList{QStringLiteral("www.a.org")});
    EXPECT_EQ(linkTexts(QStringLiteral("'http://a.org/it's';")), QStringList{QStringLiteral("http://a.org/it's")});
    EXPECT_EQ(linkTexts(QStringLiteral("\"http://a.org\"")), QStringList{QStringLiteral("http://a.org")});
    EXPECT_EQ(linkTexts(QStringLiteral("(see www.a.org/page).")), QStringList{QStringLiteral("www.a.org/page")});
    EXPECT_EQ(linkTexts(QStringLiteral("[http://a.org/list]")), QStringList{QStringLiteral("http://a.org/list")});
    EXPECT_EQ(linkTexts(QStringLiteral("(http://en.wikipedia.org/wiki/Foo_(bar))")),
              QStringList{QStringLiteral("http://en.wikipedia.org/wiki/Foo_(bar)")});
    EXPECT_EQ(linkTexts(QStringLiteral("http://a.org/x.html:")), QStringList{QStringLiteral("http://a.org/x.html")});
    EXPECT_EQ(linkTexts(QStringLiteral("<http://a.org/b>")), QStringList{QStringLiteral("http://a.org/b")});
}

TEST(FindLinks, IgnoresPrefixesThatAreNotLinks)
{
    EXPECT_TRUE(linkTexts(QStringLiteral("xhttp://a.org foo.www.b.org e-mailto:x@y.org")).isEmpty());
    EXPECT_TRUE(linkTexts(QStringLiteral("http:// www. mailto: https://... (www.)")).isEmpty());
    EXPECT_TRUE(linkTexts(QStringLiteral("http:/a.org htp://a.org wwwa.org ww.a.org")).isEmpty());
    EXPECT_TRUE(linkTexts(QString()).isEmpty());
    EXPECT_EQ(linkTexts(QStringLiteral("www")), QStringList());
}

TEST(FindLinks, CountsPositionsInUtf16UnitsAndStopsAtEmoji)
{
    // The reading area counts a character outside the basic plane as two units.
    const QString text = QStringLiteral("\U0001F600 http://a.org\U0001F44D and caf\u00E9 www.b.org");
    const QList<TextLink> links = FindLinks(text);
    ASSERT_EQ(links.size(), 2);
    EXPECT_EQ(links[0], (TextLink{3, 12}));
    EXPECT_EQ(text.mid(links[1].start, links[1].length), QStringLiteral("www.b.org"));
    EXPECT_EQ(linkTexts(QStringLiteral("http://bücher.de/straße")),
              QStringList{QStringLiteral("http://bücher.de/straße")});
}

TEST(LinkAt, AgreesWithFindLinksAtEveryPosition)
{
    const QString samples[] = {
        QStringLiteral("See http://a.org/x, (www.b.org) and mailto:c@d.org."),
        QStringLiteral("\U0001F600http://a.org \U0001F600 http://b.org/\U0001F600x"),
        QStringLiteral("xhttp://a.org www.x.org)) https://e.org/(a)b)."),
    };
    for (const QString& text : samples) {
        const QList<TextLink> links = FindLinks(text);
        for (qsizetype position = -1; position <= text.size(); ++position) {
            TextLink expected;
            for (const TextLink& link : links) {
                if (position >= link.start && position < link.end())
                    expected = link;
            }
            EXPECT_EQ(LinkAt(text, position), expected) << text.toStdString() << " at " << position;
        }
    }
}
