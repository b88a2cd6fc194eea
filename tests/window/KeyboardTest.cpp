#include "ReaderFixture.h"

#include "window/main/ToolbarButton.h"
#include "window/face/ReaderFace.h"
#include "window/web/WebPanel.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>
#include <QWebEngineView>

namespace {
// The main window used with the keyboard alone: every step below is a key event sent where the focus is.
class Keyboard : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        create();
        QApplication::setActiveWindow(reader.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
        engine->autoFinish = false;
        engine->spoken.clear();
    }

    void TearDown() override
    {
        for (QMenu* menu : reader->findChildren<QMenu*>())
            menu->hide();
        ReaderFixture::TearDown();
    }

    static QWidget* focused() { return QApplication::focusWidget(); }
    static void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(focused(), Qt::Key(key), modifiers);
    }
    // What a screen reader hears from the status bar, the window's live region.
    QString spoken() const { return QAccessible::queryAccessibleInterface(reader->statusBar)->text(QAccessible::Name); }
    QString selected() const { return reader->reText->textCursor().selectedText(); }
};
} // namespace

TEST_F(Keyboard, ReadingKeysReadPauseResumeAndStopWithoutTypingOrAutoRead)
{
    ASSERT_EQ(focused(), reader->reText);
    reader->mipumSentence->trigger(); // auto-read speaks whole sentences
    QTest::keyClicks(reader->reText, QStringLiteral("Hello world"));
    ASSERT_TRUE(engine->spoken.isEmpty()) << "no sentence ended, so auto-read said nothing";

    press(Qt::Key_F5);
    ASSERT_EQ(engine->texts(), QStringList{QStringLiteral("Hello world")});
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_EQ(spoken(), QStringLiteral("Reading started"));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Hello world")) << "F5 types nothing";
    engine->word(0, 5);
    EXPECT_EQ(selected(), QStringLiteral("Hello"));
    engine->word(6, 5);
    EXPECT_EQ(selected(), QStringLiteral("world"));

    press(Qt::Key_F5); // Read is disabled while reading: nothing starts again
    EXPECT_EQ(engine->spoken.size(), 1);
    press(Qt::Key_F6);
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);
    EXPECT_TRUE(engine->paused);
    EXPECT_EQ(selected(), QStringLiteral("world")) << "the highlight holds during the pause";
    EXPECT_EQ(spoken(), QStringLiteral("Reading paused"));
    press(Qt::Key_F5);
    EXPECT_FALSE(engine->paused);
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_EQ(engine->spoken.size(), 1) << "resuming speaks nothing anew";
    EXPECT_EQ(spoken(), QStringLiteral("Reading resumed"));
    press(Qt::Key_F7);
    EXPECT_FALSE(reader->model().busy());
    EXPECT_FALSE(reader->reText->isReadOnly());
    EXPECT_EQ(engine->skips, 1);
    EXPECT_EQ(spoken(), QStringLiteral("Reading stopped"));
    engine->finish();

    // Idle: Pause and Stop do nothing, just as their menu items would not.
    press(Qt::Key_F6);
    press(Qt::Key_F7);
    EXPECT_EQ(reader->model().state(), ReadingState::Idle);
    EXPECT_EQ(engine->skips, 1);
    EXPECT_EQ(spoken(), QStringLiteral("Reading stopped"));

    // Ctrl+F5 reads from the caret, and the words it reports land after the caret.
    QTextCursor caret = reader->reText->textCursor();
    caret.setPosition(6);
    reader->reText->setTextCursor(caret);
    press(Qt::Key_F5, Qt::ControlModifier);
    EXPECT_EQ(engine->texts().constLast(), QStringLiteral("world"));
    engine->word(0, 5);
    EXPECT_EQ(reader->reText->textCursor().selectionStart(), 6);
    engine->finish();
    EXPECT_EQ(spoken(), QStringLiteral("Reading finished"));

    // An auto-read sentence ends without a word to the screen reader about reading.
    reader->ShowStatusText(QString());
    press(Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(reader->reText, QStringLiteral("."));
    ASSERT_EQ(engine->texts().constLast(), QStringLiteral("Hello world."));
    engine->finish();
    EXPECT_EQ(spoken(), QString());
}

TEST_F(Keyboard, DocumentKeysOpenAndSaveOnlyWhereTheirButtonsWould)
{
    const QString path = folder.filePath(QStringLiteral("story.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Once upon a time.");
    file.close();

    prompts.files = {path};
    press(Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Once upon a time."));
    EXPECT_EQ(spoken(), QStringLiteral("Document loaded: story.txt"));

    press(Qt::Key_F5);
    ASSERT_TRUE(reader->model().busy());
    // While reading, Open and Save are disabled: their keys ask nothing.
    press(Qt::Key_O, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier);
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(prompts.fileDialogs.size(), 1);
    press(Qt::Key_F7);
    engine->finish();

    // Idle again: Save As and Save As MP3 ask for a name (cancelled here), in that order.
    press(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(prompts.fileDialogs.size(), 3);
    EXPECT_EQ(prompts.fileDialogs.value(2).filter, QStringLiteral("MP3 File (*.mp3)|*.mp3"));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Once upon a time.")) << "the keys typed nothing";
}

TEST_F(Keyboard, FocusLeavesTheReadingAreaAndTabWalksTheWindowInScreenOrder)
{
    QTest::keyClick(reader->reText, Qt::Key_Tab);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("\t")) << "Tab types a tab in the reading area";
    EXPECT_EQ(focused(), reader->reText);

    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(focused(), reader->Panel1->buWebBack);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(focused(), reader->reText);
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(focused(), reader->buFind);

    reader->buOpen->setFocus(Qt::TabFocusReason);
    const QList<QWidget*> expected = {reader->buSAve, reader->buSpelling, reader->buMinimise,
                                      reader->buExit, reader->imgReader,  reader->buReadingAreaClear,
                                      reader->buFind, reader->reText};
    for (QWidget* next : expected) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), next) << next->objectName().toStdString();
    }
    press(Qt::Key_Tab, Qt::ControlModifier);
    for (QWidget* next :
         {static_cast<QWidget*>(reader->Panel1->buWebRefresh), static_cast<QWidget*>(reader->Panel1->buWebForward),
          static_cast<QWidget*>(reader->Panel1->buWebStop), static_cast<QWidget*>(reader->Panel1->edWebAddress),
          static_cast<QWidget*>(reader->Panel1->buWebGo)}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(focused(), next) << next->objectName().toStdString();
    }

    // A click with the mouse leaves the focus where it was, as before.
    reader->reText->setFocus();
    QTest::mouseClick(reader->buFind, Qt::LeftButton);
    QTest::mouseClick(reader->imgReader, Qt::LeftButton);
    EXPECT_EQ(focused(), reader->reText);
}

TEST_F(Keyboard, TheFaceActsOnSpaceAndEnterAndEachMenuOpensFromTheKeyboard)
{
    reader->reText->setPlainText(QStringLiteral("One two."));
    press(Qt::Key_Menu);
    ASSERT_TRUE(reader->pumTextToRead->isVisible());
    EXPECT_EQ(reader->pumTextToRead->activeAction(), reader->miColourSchemes->menuAction());
    const QPoint caret = reader->reText->viewport()->mapToGlobal(reader->reText->cursorRect().bottomLeft());
    EXPECT_LT((reader->pumTextToRead->pos() - caret).manhattanLength(), 3) << "the menu opens at the caret";
    reader->pumTextToRead->hide();

    reader->buFind->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(focused(), reader->imgReader);
    press(Qt::Key_F10, Qt::ShiftModifier);
    ASSERT_TRUE(reader->pumReaderOnly->isVisible());
    EXPECT_EQ(reader->pumReaderOnly->activeAction(), reader->pummiRead);
    EXPECT_FALSE(reader->pumTextToRead->isVisible());
    QTest::keyClick(reader->pumReaderOnly, Qt::Key_Return);
    EXPECT_TRUE(reader->model().busy()) << "Enter on the highlighted item starts reading";
    EXPECT_EQ(engine->spoken.size(), 1);

    reader->imgReader->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Space);
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);
    press(Qt::Key_Return);
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_EQ(engine->spoken.size(), 1);
    press(Qt::Key_F7);

    reader->buSpelling->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Menu);
    EXPECT_TRUE(reader->pumSpellingMode->isVisible());
    reader->pumSpellingMode->hide();
    // Space on the Spell button runs the spelling test: it asks for the test file (cancelled here).
    press(Qt::Key_Space);
    EXPECT_EQ(prompts.fileDialogs.value(0).title, QStringLiteral("Open Parlivo Test File"));
}
