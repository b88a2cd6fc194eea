// "Read web page": the page shown in the web panel read aloud from the reader menu, the page's own menu and F8.
#include "support/NewsPages.h"
#include "ReaderFixture.h"

#include "core/TextRoutines.h"
#include "formats/PageText.h"
#include "window/web/WebPanel.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QWebEngineView>

namespace {

constexpr int Timeout = 30000;

class ReadWebPage : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        create();
        engine->autoFinish = false;
        // Keys reach the window's commands only once it is the active window.
        reader->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    }

    void show(const QString& name, const QByteArray& html)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
        file.close();
        bool loaded = false;
        QObject::connect(reader->Panel1->browser(), &QWebEngineView::loadFinished, [&loaded](bool) { loaded = true; });
        reader->Panel1->Navigate(QUrl::fromLocalFile(path).toString());
        ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, Timeout));
    }

    // Presses F8 in the reading area and waits until the page's text has been used or refused.
    void pressF8()
    {
        const qsizetype spoken = engine->spoken.size();
        const qsizetype messages = prompts.messages.size();
        const qsizetype questions = prompts.questions.size();
        reader->reText->setFocus();
        QTest::keyClick(reader->reText, Qt::Key_F8);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return engine->spoken.size() > spoken || prompts.messages.size() > messages ||
                       prompts.questions.size() > questions;
            },
            Timeout));
    }
};

} // namespace

TEST_F(ReadWebPage, TheCommandIsInTheReaderMenuAndThePagesOwnMenu)
{
    EXPECT_TRUE(reader->pumReaderOnly->actions().contains(reader->pummiReadWebPage));
    EXPECT_EQ(reader->pummiReadWebPage->text(), QStringLiteral("Read web page"));
    EXPECT_EQ(reader->pummiReadWebPage->shortcut(), QKeySequence(Qt::Key_F8));
    QMenu browserMenu;
    QAction* back = browserMenu.addAction(QStringLiteral("Back"));
    reader->Panel1->PageMenu(&browserMenu);
    EXPECT_EQ(browserMenu.actions().first(), reader->pummiReadWebPage);
    EXPECT_TRUE(browserMenu.actions().contains(back));
}

TEST_F(ReadWebPage, F8PutsTheArticleIntoTheReadingAreaAndReadsItWithHighlighting)
{
    show(QStringLiteral("news.html"), fixtures::newsArticlePage());
    pressF8();
    const QString article = fixtures::newsArticleParagraphs().join(QLatin1Char('\n'));
    EXPECT_EQ(reader->reText->toPlainText(), article);
    EXPECT_TRUE(prompts.questions.isEmpty());
    ASSERT_FALSE(engine->spoken.isEmpty());
    EXPECT_EQ(engine->spoken.last().text, TextForVoice(article));
    EXPECT_TRUE(reader->model().busy());
    EXPECT_TRUE(reader->reText->isReadOnly());

    // The words the voice reports are selected in the reading area, as for any reading.
    engine->word(6, 6);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("school"));
}

TEST_F(ReadWebPage, TextInTheReadingAreaIsReplacedOnlyWhenTheUserAgrees)
{
    show(QStringLiteral("news.html"), fixtures::newsArticlePage());
    reader->reText->setPlainText(QStringLiteral("My own notes."));
    reader->reText->document()->setModified(true); // typed, never saved
    prompts.choices << 2;                          // Cancel
    pressF8();
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Replace text in the reading area?")});
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("My own notes."));
    EXPECT_TRUE(engine->spoken.isEmpty());
    EXPECT_FALSE(reader->model().busy());

    // During a reading the question comes too; Replace reads the page in place of the text being read.
    reader->StartReading(true);
    prompts.choices << 0;
    pressF8();
    EXPECT_EQ(prompts.questions.size(), 2);
    EXPECT_TRUE(reader->reText->toPlainText().startsWith(fixtures::newsArticleParagraphs().first()));
    EXPECT_TRUE(engine->spoken.last().purge);
    EXPECT_TRUE(reader->model().busy());
}

TEST_F(ReadWebPage, APageWithNothingToReadLeavesTheReadingAreaAsItWas)
{
    reader->reText->setPlainText(QStringLiteral("Keep me."));
    pressF8();
    EXPECT_EQ(prompts.messages.value(0), PageTextMessages::NoPage);

    show(QStringLiteral("empty.html"), QByteArrayLiteral("<html><body><p> </p></body></html>"));
    pressF8();
    EXPECT_EQ(prompts.messages.value(1), PageTextMessages::NoText);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Keep me."));
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_TRUE(engine->spoken.isEmpty());
    EXPECT_FALSE(reader->reText->isReadOnly());
}
