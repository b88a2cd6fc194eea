// A saved web page opened as a document reads as the words a browser shows of it: HtmlToText against the
// embedded browser's own reading of the same page (its title, then the text of its body as laid out).
#include "documents/OSTRoutines.h"
#include "support/NewsPages.h"
#include "support/SavedPages.h"

#include <QTest>
#include <QWebEnginePage>
#include <gtest/gtest.h>

namespace {

constexpr int Timeout = 30000;

// The words of the text, split at white space of every kind, joined by one space.
std::string words(const QString& text)
{
    QString joined;
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = !joined.isEmpty();
            continue;
        }
        if (space)
            joined += QLatin1Char(' ');
        space = false;
        joined += c;
    }
    return joined.toStdString();
}

QString browserText(const QByteArray& html)
{
    QWebEnginePage page;
    bool loaded = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, [&loaded](bool) { loaded = true; });
    page.setHtml(QString::fromUtf8(html));
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, Timeout));
    QString text;
    bool read = false;
    page.runJavaScript(QStringLiteral("document.title + '\\n' + document.body.innerText"), 0,
                       [&](const QVariant& result) {
                           text = result.toString();
                           read = true;
                       });
    EXPECT_TRUE(QTest::qWaitFor([&] { return read; }, Timeout));
    return text;
}

TEST(SavedPageWords, AreTheWordsTheBrowserShows)
{
    for (const QByteArray& html : {fixtures::shortSavedPage(), fixtures::entityNewsPage(),
                                   fixtures::documentationPage(), fixtures::newsArticlePage()})
        EXPECT_EQ(words(HtmlToText(QString::fromUtf8(html))), words(browserText(html)));
}

} // namespace
