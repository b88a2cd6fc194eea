// A new user's first minutes with the window at the size of a small laptop screen, through the X server: what the
// empty window says, where the room goes, and how the reader bar and the face behave while reading.
#include "window/ReaderFixture.h"
#include "support/Xdotool.h"
#include "window/face/ReaderFace.h"
#include "window/web/WebPanel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QWebEngineView>

namespace {
void clickOn(const QWidget* widget)
{
    const QPoint at = widget->mapToGlobal(widget->rect().center());
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(at.x()), QString::number(at.y()),
             QStringLiteral("click"), QStringLiteral("1")});
}

void press(const char* keys)
{
    xdotool({QStringLiteral("key"), QLatin1String(keys)});
}

class FirstStart : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        create();
        reader->FormActivate(); // the whole screen, as at a real start
        ASSERT_TRUE(QTest::qWaitForWindowExposed(reader.get()));
        reader->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    }

    QToolButton* barButton(const char* name) const { return reader->findChild<QToolButton*>(QLatin1String(name)); }
};
} // namespace

TEST_F(FirstStart, TheEmptyWindowSaysWhatToDoAndKeepsTheBrowserUntilAPageIsAskedFor)
{
    // A hint in the empty reading area that is no text of it.
    EXPECT_FALSE(reader->reText->placeholderText().isEmpty());
    EXPECT_TRUE(reader->reText->toPlainText().isEmpty());

    // The web panel is its address bar alone, its browser not started; the reading area has the room.
    EXPECT_EQ(reader->findChild<QWebEngineView*>(), nullptr);
    EXPECT_LE(reader->Panel1->height(), 41);
    EXPECT_GE(reader->reText->height(), 550);

    // Play with nothing to read says so.
    clickOn(barButton("buBarPlay"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return reader->statusBar->text().contains(QStringLiteral("nothing to read")); }))
        << reader->statusBar->text().toStdString();
    EXPECT_TRUE(engine->spoken.isEmpty());

    // An address typed starts the browser, and the panel takes its room.
    clickOn(reader->Panel1->edWebAddress);
    xdotool({QStringLiteral("type"), QStringLiteral("about:blank#first")});
    press("Return");
    EXPECT_TRUE(QTest::qWaitFor([&] { return reader->Panel1->browserStarted(); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return reader->Panel1->height() == 231; })) << reader->Panel1->height();
}

TEST_F(FirstStart, PlayKeepsItsPlaceAndTheFaceRestsAfterPauseAndStop)
{
    engine->autoFinish = false;
    reader->reText->setPlainText(QStringLiteral(
        "The lighthouse keeper climbed the hundred and twelve steps every evening, lit the great lamp, and wrote "
        "in his log the names of the ships that passed. In winter the storms came from the north."));
    const QImage resting = reader->imgReader->grab().toImage();
    QToolButton* play = barButton("buBarPlay");
    QToolButton* stop = barButton("buBarStop");
    const QRect playPlace = play->geometry();
    const QRect stopPlace = stop->geometry();

    clickOn(play);
    ASSERT_TRUE(QTest::qWaitFor([&] { return play->text() == QStringLiteral("Pause"); }));
    QTest::qWait(100); // the bar laid out again
    EXPECT_EQ(play->geometry(), playPlace);
    EXPECT_EQ(stop->geometry(), stopPlace);

    // Paused on an open mouth with half-closed eyes, then stopped: the face rests, even when painted again.
    engine->word(4, 10);
    engine->viseme(11);
    engine->viseme(8);
    press("F6");
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader->model().state() == ReadingState::Paused; }));
    press("F7");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reader->model().busy(); }));
    QTest::qWait(100);
    EXPECT_EQ(reader->imgReader->grab().toImage(), resting);
    EXPECT_EQ(play->geometry(), playPlace);
}
