#include "support/LoopbackHttpServer.h"
#include "core/Errors.h"
#include "window/readingarea/LinkClicks.h"
#include "window/web/WebPanel.h"
#include "formats/PageText.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QStyle>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

constexpr int LoadTimeout = 20000;

QByteArray page(const char* title)
{
    return QByteArrayLiteral("<html><head><title>") + title + QByteArrayLiteral("</title></head><body>") + title +
           QByteArrayLiteral("</body></html>");
}

// A shown panel and a local web site with the pages /a, /b and /c.
struct Browsing : ::testing::Test
{
    Browsing()
    {
        for (const char* name : {"a", "b", "c"})
            server.addPage(QLatin1Char('/') + QLatin1String(name), page(name));
        panel.resize(900, 231);
        panel.show();
    }

    QString address(const char* path) const { return server.url(QLatin1String(path)).toString(); }
    QString bar() const { return panel.edWebAddress->text(); }

    // Waits until the page at `path` is shown and its navigation has completed.
    bool waitForPage(const char* path)
    {
        const QString expected = address(path);
        return QTest::qWaitFor([&] { return panel.LocationURL() == expected && !loading; }, LoadTimeout);
    }
    void goTo(const char* path)
    {
        panel.Navigate(address(path));
        ASSERT_TRUE(waitForPage(path));
    }

    LoopbackHttpServer server;
    WebPanel panel;
    bool loading = false;
    QMetaObject::Connection started =
        QObject::connect(panel.browser(), &QWebEngineView::loadStarted, [this] { loading = true; });
    QMetaObject::Connection finished =
        QObject::connect(panel.browser(), &QWebEngineView::loadFinished, [this] { loading = false; });
};

} // namespace

TEST(WebPanel, TheBrowserStartsOnlyWhenAPageIsAskedFor)
{
    WebPanel panel;
    panel.show();
    EXPECT_EQ(panel.height(), 41) << "the address bar alone";
    panel.edWebAddress->setText(QStringLiteral("  "));
    panel.buWebGo->click();
    panel.Refresh();
    panel.Stop();
    panel.GoBackInHistory();
    panel.OpenLinkFromText(QStringLiteral("http://example.org/"));
    QString failure;
    PageTextRequest* request = panel.RequestPageText();
    QObject::connect(request, &PageTextRequest::failed, [&failure](const QString& message) { failure = message; });
    request->start();
    EXPECT_EQ(failure, PageTextMessages::NoPage);
    EXPECT_EQ(panel.findChild<QWebEngineView*>(), nullptr);

    panel.edWebAddress->setText(QStringLiteral("about:blank#start"));
    QTest::keyClick(panel.edWebAddress, Qt::Key_Return);
    EXPECT_NE(panel.findChild<QWebEngineView*>(), nullptr);
}

TEST(WebPanel, HistoryButtonsShowTheStylesPicturesUnderTheirNames)
{
    WebPanel panel;
    for (const auto& [button, spoken, picture] : {std::tuple{panel.buWebBack, "Back", QStyle::SP_ArrowBack},
                                                  std::tuple{panel.buWebRefresh, "Refresh", QStyle::SP_BrowserReload},
                                                  std::tuple{panel.buWebForward, "Forward", QStyle::SP_ArrowForward},
                                                  std::tuple{panel.buWebStop, "Stop", QStyle::SP_BrowserStop}}) {
        EXPECT_EQ(button->accessibleName(), QLatin1String(spoken));
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonIconOnly) << spoken << ": no caption of signs";
        const QImage shown = button->icon().pixmap(20).toImage();
        EXPECT_FALSE(shown.isNull()) << spoken;
        EXPECT_EQ(shown, button->style()->standardIcon(picture, nullptr, button).pixmap(20).toImage()) << spoken;
    }
}

TEST(WebPanel, AddressEditStretchesAndGoKeepsToTheRightEnd)
{
    WebPanel panel;
    panel.browser();
    panel.resize(1000, 231);
    panel.show();
    EXPECT_EQ(panel.browser()->geometry(), QRect(0, 41, 1000, 190));
    const QRect edit = panel.edWebAddress->geometry();
    const QRect go = panel.buWebGo->geometry();
    EXPECT_EQ(edit.left(), 216);
    EXPECT_LT(edit.right(), go.left());
    EXPECT_LE(go.right(), panel.width() - 1);

    panel.resize(1300, 231);
    EXPECT_EQ(panel.edWebAddress->geometry(), edit.adjusted(0, 0, 300, 0));
    EXPECT_EQ(panel.buWebGo->geometry(), go.translated(300, 0));
    // However narrow the panel, the edit and the button never overlap.
    panel.resize(200, 231);
    EXPECT_LT(panel.edWebAddress->geometry().right(), panel.buWebGo->x());

    // A splitter may squeeze the panel down to 20 pixels.
    QSplitter splitter(Qt::Vertical);
    splitter.addWidget(new QWidget);
    splitter.addWidget(&panel);
    splitter.resize(800, 400);
    splitter.show();
    splitter.setSizes({400, 0});
    EXPECT_EQ(panel.height(), 20);
    splitter.widget(1)->setParent(nullptr);
}

TEST_F(Browsing, GoAndEnterNavigateAndTheBarFollowsTheCompletedPage)
{
    // Go with only spaces does nothing.
    QSignalSpy starts(panel.browser(), &QWebEngineView::loadStarted);
    panel.edWebAddress->setText(QStringLiteral("   "));
    panel.buWebGo->click();
    QTest::qWait(300);
    EXPECT_EQ(starts.count(), 0);
    EXPECT_EQ(bar(), QStringLiteral("   "));

    // Enter navigates and never reaches the edit.
    QSignalSpy returns(panel.edWebAddress, &QLineEdit::returnPressed);
    panel.edWebAddress->setText(QStringLiteral(" ") + address("/a") + QStringLiteral(" "));
    QTest::keyClick(panel.edWebAddress, Qt::Key_Return);
    ASSERT_TRUE(waitForPage("/a"));
    EXPECT_EQ(bar(), address("/a"));
    EXPECT_EQ(returns.count(), 0);

    // An address typed without its scheme is a web address.
    panel.edWebAddress->setText(address("/b").mid(QStringLiteral("http://").size()));
    panel.buWebGo->click();
    ASSERT_TRUE(waitForPage("/b"));
    EXPECT_EQ(bar(), address("/b"));

    // A move within the page is a completed navigation too.
    panel.Navigate(address("/b") + QStringLiteral("#part"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar() == address("/b") + QStringLiteral("#part"); }, LoadTimeout));

    // Words that make no address are refused with a message; the panel goes on.
    panel.edWebAddress->setText(QStringLiteral("two words"));
    EXPECT_THROW(panel.GoToAddress(), ParlivoError);
    panel.edWebAddress->setText(address("/c"));
    QTest::keyClick(panel.edWebAddress, Qt::Key_Enter);
    ASSERT_TRUE(waitForPage("/c"));
}

TEST_F(Browsing, BackAndForwardShowThePageLeftThenThePageReached)
{
    goTo("/a");
    goTo("/b");
    panel.edWebAddress->setText(QStringLiteral("typed"));

    panel.buWebBack->click();
    EXPECT_EQ(bar(), address("/b"));
    ASSERT_TRUE(waitForPage("/a"));
    EXPECT_EQ(bar(), address("/a"));

    panel.buWebForward->click();
    EXPECT_EQ(bar(), address("/a"));
    ASSERT_TRUE(waitForPage("/b"));
    EXPECT_EQ(bar(), address("/b"));

    // At the ends of the history the panel refuses with a message and stays as it was.
    panel.edWebAddress->setText(QStringLiteral("typed"));
    EXPECT_THROW(panel.GoForwardInHistory(), ParlivoError);
    panel.buWebBack->click();
    ASSERT_TRUE(waitForPage("/a"));
    panel.edWebAddress->setText(QStringLiteral("typed"));
    EXPECT_THROW(panel.GoBackInHistory(), ParlivoError);
    EXPECT_EQ(bar(), QStringLiteral("typed"));
    EXPECT_EQ(panel.LocationURL(), address("/a"));
    panel.GoForwardInHistory();
    ASSERT_TRUE(waitForPage("/b"));
}

TEST_F(Browsing, RefreshReloadsAndKeepsAnAddressBeingTyped)
{
    goTo("/a");
    panel.edWebAddress->setText(QStringLiteral("www.half-typ"));
    const qsizetype requests = server.requestedPaths().count(QStringLiteral("/a"));
    panel.buWebRefresh->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return server.requestedPaths().count(QStringLiteral("/a")) > requests; }, LoadTimeout));
    ASSERT_TRUE(waitForPage("/a"));
    EXPECT_EQ(bar(), QStringLiteral("www.half-typ"));
    // The next real navigation updates the bar again.
    goTo("/c");
    EXPECT_EQ(bar(), address("/c"));
}

TEST_F(Browsing, LinksClickedInTheReadingAreaOpenInThePanelOnceAPageIsShown)
{
    QTextEdit readingArea;
    auto* links = new LinkClicks(&readingArea);
    QObject::connect(links, &LinkClicks::linkClicked, &panel, &WebPanel::OpenLinkFromText);
    const QString link = address("/c");
    readingArea.setPlainText(QStringLiteral("Open ") + link + QStringLiteral(" now."));
    readingArea.resize(700, 200);
    readingArea.show();
    QTextCursor cursor(readingArea.document());
    cursor.setPosition(10);
    const QPoint onLink = readingArea.cursorRect(cursor).center() + QPoint(2, 0);
    auto click = [&](Qt::MouseButton button) {
        QTest::mousePress(readingArea.viewport(), button, {}, onLink);
        QTest::mouseRelease(readingArea.viewport(), button, {}, onLink);
    };

    // On the empty page link clicks, Back and Forward leave the panel alone.
    panel.edWebAddress->setText(QStringLiteral("typed"));
    click(Qt::LeftButton);
    panel.GoBackInHistory();
    panel.GoForwardInHistory();
    QTest::qWait(300);
    EXPECT_EQ(panel.LocationURL(), QStringLiteral("about:blank"));
    EXPECT_EQ(bar(), QStringLiteral("typed"));

    goTo("/a");
    panel.edWebAddress->setText(QStringLiteral("typed"));
    click(Qt::RightButton);
    QTest::qWait(300);
    EXPECT_EQ(panel.LocationURL(), address("/a"));
    EXPECT_EQ(bar(), QStringLiteral("typed"));

    click(Qt::LeftButton);
    EXPECT_EQ(bar(), address("/a"));
    ASSERT_TRUE(waitForPage("/c"));
    EXPECT_EQ(bar(), link);
}
