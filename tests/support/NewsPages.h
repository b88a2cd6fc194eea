#pragma once

// News-like web pages made for the tests: an article among the furniture of a real news site (navigation, a
// cookie banner, a newsletter form, related stories, a footer, scripts and styles).

#include <QByteArray>
#include <QStringList>

namespace fixtures {

// The headline and paragraphs of the article, in order, as the reader should get them.
inline QStringList newsArticleParagraphs()
{
    return {QStringLiteral("River school opens its new reading room"),
            QStringLiteral("The primary school by the river opened a reading room on Monday, after two years of "
                           "fund-raising by parents, teachers and the town's library."),
            QStringLiteral("Children from the youngest class were the first to use it. They chose books, sat on "
                           "the cushions by the window and read aloud to each other for most of the morning."),
            QStringLiteral("What the teachers say"),
            QStringLiteral("\"A quiet room with good light changes how long a child will keep reading,\" said the "
                           "head teacher, who has taught at the school for eleven years."),
            QStringLiteral("The room will be open after lessons on three days a week, and the library will lend "
                           "the school a new box of books every month until the end of the year.")};
}

// Text that appears only in the page's furniture; none of it may be read.
inline QStringList newsFurniture()
{
    return {QStringLiteral("Home"),           QStringLiteral("Sport"),           QStringLiteral("Weather"),
            QStringLiteral("We use cookies"), QStringLiteral("Accept all"),      QStringLiteral("Sign up"),
            QStringLiteral("newsletter"),     QStringLiteral("Related stories"), QStringLiteral("Bridge repairs"),
            QStringLiteral("Copyright"),      QStringLiteral("Contact us"),      QStringLiteral("trackVisit"),
            QStringLiteral("font-family")};
}

// The page around `articleBody` (HTML of the article's paragraphs after the headline).
inline QByteArray newsPage(const QByteArray& articleBody)
{
    const QStringList p = newsArticleParagraphs();
    return QByteArrayLiteral("<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\">"
                             "<title>River school opens its new reading room | Town Chronicle</title>"
                             "<style>body { font-family: Georgia, serif; }</style>"
                             "<script>function trackVisit() { return 1; }</script></head><body>"
                             "<header class=\"site-header\"><a href=\"/\">Town Chronicle</a>"
                             "<nav class=\"main-menu\"><ul><li><a href=\"/\">Home</a></li>"
                             "<li><a href=\"/sport\">Sport</a></li><li><a href=\"/weather\">Weather</a></li>"
                             "</ul></nav></header>"
                             "<div class=\"cookie-banner\" id=\"cookies\"><p>We use cookies to improve your visit "
                             "to our site and to show you relevant notices.</p><button>Accept all</button></div>"
                             "<main><article><h1>") +
           p[0].toUtf8() + QByteArrayLiteral("</h1><p class=\"byline\">By A. Reporter</p>") + articleBody +
           QByteArrayLiteral(
               "</article>"
               "<aside class=\"related\"><h2>Related stories</h2><ul><li><a href=\"/a\">Bridge repairs start in "
               "spring</a></li><li><a href=\"/b\">Market hall to close early on Fridays</a></li></ul></aside>"
               "<form class=\"newsletter\"><label>Sign up for our daily newsletter</label><input type=\"email\">"
               "<button>Sign up</button></form></main>"
               "<footer class=\"site-footer\"><p>Copyright Town Chronicle. All rights reserved.</p>"
               "<a href=\"/contact\">Contact us</a></footer>"
               "<script>trackVisit();</script></body></html>");
}

inline QByteArray newsArticlePage()
{
    const QStringList p = newsArticleParagraphs();
    return newsPage("<p>" + p[1].toUtf8() + "</p><p>" + p[2].toUtf8() + "</p><h2>" + p[3].toUtf8() + "</h2><p>" +
                    p[4].toUtf8() + "</p><p>" + p[5].toUtf8() + "</p>");
}

// A long article: `paragraphs` paragraphs of about 300 characters each, numbered so their order shows.
inline QByteArray largeNewsPage(int paragraphs)
{
    QByteArray body;
    for (int i = 1; i <= paragraphs; ++i) {
        body += "<p>Paragraph " + QByteArray::number(i) +
                ": the reading room was busy again today, with children and parents choosing books, reading "
                "aloud, writing short reviews for the notice board and asking the librarian for more stories "
                "about rivers, boats, bridges and the animals that live along the banks of the town's "
                "river.</p>";
        if (i % 20 == 0)
            body += "<h2>Part " + QByteArray::number(i / 20) + "</h2>";
    }
    return newsPage(body);
}

} // namespace fixtures
