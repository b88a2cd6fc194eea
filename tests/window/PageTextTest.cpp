// The readable text of the page shown in the web panel: the article without the furniture, the selection,
// pages still loading, and pages with nothing to read.
#include "support/LoopbackHttpServer.h"
#include "support/NewsPages.h"
#include "formats/PageText.h"
#include "window/web/WebPanel.h"

#include "core/Errors.h"

#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

constexpr int Timeout = 30000;

struct Outcome
{
    bool done = false;
    bool waitedForLoad = false;
    PageText page;
    QString failure;
};

class PageTextFixture : public ::testing::Test
{
protected:
    PageTextFixture()
    {
        server.addPage(QStringLiteral("/news"), fixtures::newsArticlePage());
        server.addPage(QStringLiteral("/empty"), QByteArrayLiteral("<html><head><title>Nothing</title></head>"
                                                                   "<body><div>  </div><img src=\"x.png\"></body>"
                                                                   "</html>"));
        server.addPage(QStringLiteral("/notice"),
                       QByteArrayLiteral("<html><body><div>Closed today.</div><div>Back tomorrow at nine.</div>"
                                         "</body></html>"));
        server.addSlowPage(QStringLiteral("/slow"), fixtures::newsArticlePage(), 1500);
        panel.resize(900, 400);
        panel.show();
    }

    void show(const QString& path)
    {
        bool loaded = false;
        auto connection =
            QObject::connect(panel.browser(), &QWebEngineView::loadFinished, [&loaded](bool) { loaded = true; });
        panel.Navigate(server.url(path).toString());
        EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, Timeout));
        QObject::disconnect(connection);
    }

    Outcome read()
    {
        Outcome outcome;
        PageTextRequest* request = panel.RequestPageText();
        QObject::connect(request, &PageTextRequest::finished, [&outcome](const PageText& page) {
            outcome.page = page;
            outcome.done = true;
        });
        QObject::connect(request, &PageTextRequest::failed, [&outcome](const QString& message) {
            outcome.failure = message;
            outcome.done = true;
        });
        request->start();
        outcome.waitedForLoad = !outcome.done && request->waitingForLoad();
        EXPECT_TRUE(QTest::qWaitFor([&] { return outcome.done; }, Timeout));
        return outcome;
    }

    void runInPage(const QString& script)
    {
        bool ran = false;
        panel.MozillaWebBrowser->page()->runJavaScript(script, 0, [&ran](const QVariant&) { ran = true; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return ran; }, Timeout));
    }

    LoopbackHttpServer server;
    WebPanel panel;
};

} // namespace

TEST(ReadableParagraphs, OneParagraphALineWithTheirSpacesCollapsed)
{
    EXPECT_EQ(ReadableParagraphs(QStringLiteral("  First\tline \u00a0 here \r\n\r\n\n  \nSecond\u2029Third  ")),
              QStringLiteral("First line here\nSecond\nThird"));
    EXPECT_EQ(ReadableParagraphs(QStringLiteral(" \n\t\n")), QString());
}

TEST_F(PageTextFixture, TheArticleIsReadInOrderWithoutTheFurniture)
{
    show(QStringLiteral("/news"));
    const Outcome outcome = read();
    ASSERT_TRUE(outcome.failure.isEmpty()) << outcome.failure.toStdString();
    EXPECT_EQ(outcome.page.source, PageText::Source::Article);
    const QStringList lines = outcome.page.text.split(QLatin1Char('\n'));
    // Every paragraph of the article is a line of its own, in the article's order.
    qsizetype last = -1;
    for (const QString& paragraph : fixtures::newsArticleParagraphs()) {
        const qsizetype at = lines.indexOf(paragraph);
        EXPECT_GT(at, last) << paragraph.toStdString() << "\n---\n" << outcome.page.text.toStdString();
        last = at;
    }
    for (const QString& furniture : fixtures::newsFurniture())
        EXPECT_FALSE(outcome.page.text.contains(furniture)) << furniture.toStdString();
}

TEST_F(PageTextFixture, ASelectionIsReadInsteadOfTheArticle)
{
    show(QStringLiteral("/news"));
    runInPage(QStringLiteral("var p = document.querySelectorAll('article p'); var range = document.createRange();"
                             "range.setStart(p[1], 0); range.setEnd(p[2], p[2].childNodes.length);"
                             "window.getSelection().removeAllRanges(); window.getSelection().addRange(range);"));
    const Outcome outcome = read();
    EXPECT_EQ(outcome.page.source, PageText::Source::Selection);
    const QStringList p = fixtures::newsArticleParagraphs();
    EXPECT_EQ(outcome.page.text, p[1] + QLatin1Char('\n') + p[2]);

    // Once the selection is gone the article is read again.
    runInPage(QStringLiteral("window.getSelection().removeAllRanges();"));
    EXPECT_EQ(read().page.source, PageText::Source::Article);
}

TEST_F(PageTextFixture, APageWithoutAnArticleGivesItsVisibleText)
{
    show(QStringLiteral("/notice"));
    const Outcome outcome = read();
    EXPECT_TRUE(outcome.failure.isEmpty()) << outcome.failure.toStdString();
    EXPECT_EQ(outcome.page.text, QStringLiteral("Closed today.\nBack tomorrow at nine."));
}

TEST_F(PageTextFixture, APageStillLoadingIsReadOnceItHasLoaded)
{
    panel.Navigate(server.url(QStringLiteral("/slow")).toString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.MozillaWebBrowser->page()->isLoading(); }, Timeout));
    const Outcome outcome = read();
    EXPECT_TRUE(outcome.waitedForLoad);
    EXPECT_EQ(outcome.page.source, PageText::Source::Article);
    EXPECT_TRUE(outcome.page.text.startsWith(fixtures::newsArticleParagraphs().first()));
}

TEST_F(PageTextFixture, PagesWithNothingToReadSaySo)
{
    EXPECT_EQ(read().failure, PageTextMessages::NoPage);

    show(QStringLiteral("/empty"));
    EXPECT_EQ(read().failure, PageTextMessages::NoText);

    // An address nobody answers: the browser shows its error page, which is not read.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();
    bool loaded = false;
    QObject::connect(panel.browser(), &QWebEngineView::loadFinished, [&loaded](bool) { loaded = true; });
    panel.Navigate(QStringLiteral("http://127.0.0.1:%1/gone").arg(port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, Timeout));
    EXPECT_EQ(read().failure, PageTextMessages::LoadFailed);
}

TEST(ArticleTextOfFile, ASavedPageGivesItsArticleWithoutTheNetwork)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("news.html"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A picture on a server that does not exist must not hold the page up.
    file.write(fixtures::newsArticlePage().replace("</h1>", "</h1><img src=\"http://192.0.2.1/photo.jpg\">"));
    file.close();
    const PageText page = ArticleTextOfFile(path, 20000);
    EXPECT_EQ(page.text, fixtures::newsArticleParagraphs().join(QLatin1Char('\n')));
    EXPECT_THROW(ArticleTextOfFile(folder.filePath(QStringLiteral("missing.html"))), ParlivoError);
}
