#include "ReaderFixture.h"

#include "window/main/ToolbarButton.h"
#include "window/face/ReaderFace.h"
#include "window/dialogs/StatusDialog.h"
#include "window/readingarea/FindInText.h"
#include "support/DocumentFixtures.h"
#include "support/PicturePages.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

namespace {
class DocumentCommands : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        create();
        engine->autoFinish = false;
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};
} // namespace

TEST_F(DocumentCommands, OpeningIntoABlankReadingAreaAsksNothingAndPutsTheCaretAtTheStart)
{
    reader->reText->setPlainText(QStringLiteral("  \n  "));
    prompts.files << write(QStringLiteral("Story.TXT"), "Once upon a time.\r\nThe end.");
    reader->buOpen->click();
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(prompts.fileDialogs.value(0).title, QStringLiteral("Open Parlivo Document"));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Once upon a time.\nThe end."));
    EXPECT_EQ(reader->reText->textCursor().position(), 0);
    EXPECT_TRUE(reader->edAddress->text().isEmpty());
}

TEST_F(DocumentCommands, ALargeDocumentSaysItIsLoadingWhileItIsLaidOut)
{
    // The status windows shown while the document loads.
    struct ShownWindows : QObject
    {
        QStringList titles;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && qobject_cast<QDialog*>(watched))
                titles << static_cast<QWidget*>(watched)->windowTitle();
            return false;
        }
    } shown;
    qApp->installEventFilter(&shown);
    prompts.files << write(QStringLiteral("big.txt"),
                           QByteArray(5 * 1024 * 1024 / 16, 'x').replace("x", "Read this line. "));
    reader->buOpen->click();
    qApp->removeEventFilter(&shown);
    EXPECT_EQ(shown.titles, QStringList{QStringLiteral("Loading Document")});
    EXPECT_EQ(reader->reText->document()->characterCount() - 1, 5 * 1024 * 1024);
}

TEST_F(DocumentCommands, ReplacingTextWhilePausedAsksAndYesLeavesTheReaderIdle)
{
    reader->reText->setPlainText(QStringLiteral("Old text here."));
    reader->StartReading(true);
    reader->PauseReading();
    const QString page = write(QStringLiteral("page.html"), "<p>New\rpage</p>\r\n<b>text</b>");
    prompts.files << page;
    prompts.answers << false;
    reader->OpenDocument();
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Replace text in the reading area?")});
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Old text here."));
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);

    prompts.files << page;
    prompts.answers << true;
    reader->OpenDocument();
    EXPECT_EQ(reader->model().state(), ReadingState::Idle);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("New page text"));
}

TEST_F(DocumentCommands, ASpellingFileBecomesTheCurrentSpellingFileWithoutTouchingTheText)
{
    reader->reText->setPlainText(QStringLiteral("Keep me."));
    const QString list = write(QStringLiteral("week1.pvt"), "Hello\r\nBye\r\ncat,20\r\n");
    prompts.files << list;
    reader->OpenDocument();
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(reader->mSpellingFile, list);
    EXPECT_EQ(reader->mSpellingWords,
              (QStringList{QStringLiteral("Hello"), QStringLiteral("Bye"), QStringLiteral("cat,20")}));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Keep me."));
}

TEST_F(DocumentCommands, ClearStopsTheVoiceAndEmptiesTheReadingArea)
{
    reader->reText->setPlainText(QStringLiteral("Read me aloud."));
    reader->StartReading(true);
    reader->buReadingAreaClear->setEnabled(true);
    reader->ClearReadingArea();
    EXPECT_EQ(engine->skips, 1);
    EXPECT_TRUE(reader->reText->toPlainText().isEmpty());
    EXPECT_FALSE(reader->model().busy());
}

TEST_F(DocumentCommands, TypedTextComesBackWithUndoAfterClearReplacingAndOpeningOverIt)
{
    QApplication::setActiveWindow(reader.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    reader->reText->setFocus();
    const QString typed = QStringLiteral("My dog Rex can jump over the gate.");
    QTest::keyClicks(reader->reText, typed);
    const auto text = [this] { return reader->reText->toPlainText(); };

    QTest::mouseClick(reader->buReadingAreaClear, Qt::LeftButton);
    EXPECT_TRUE(prompts.questions.isEmpty()) << "Clear still asks nothing";
    ASSERT_TRUE(text().isEmpty());
    QTest::keyClick(reader->reText, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), typed);

    // Text from another program over typed work: one question that shows what came; Replace is one undo step, taken
    // back from the Edit menu's key while the focus is on the face.
    prompts.choices << 0;
    ASSERT_TRUE(reader->ReadText(QStringLiteral("Volcanoes form where plates meet.")));
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Replace text in the reading area?")});
    EXPECT_TRUE(prompts.choiceDetails.value(0).contains(QStringLiteral("Volcanoes form where plates meet.")));
    EXPECT_EQ(text(), QStringLiteral("Volcanoes form where plates meet."));
    reader->StopReading();
    reader->imgReader->setFocus();
    QTest::keyClick(reader->imgReader, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), typed);
    QTest::keyClick(reader->imgReader, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(text(), QStringLiteral("Volcanoes form where plates meet."));
    // That text is no work of the user's: the next text replaces it without a question.
    ASSERT_TRUE(reader->ReadText(QStringLiteral("Rivers carry sand to the sea.")));
    EXPECT_EQ(prompts.questions.size(), 1);
    reader->StopReading();
    reader->mUndoAction->trigger();
    reader->mUndoAction->trigger();
    ASSERT_EQ(text(), typed);

    // Add at the end keeps the typed text; Cancel changes nothing.
    prompts.choices << 1 << 2;
    ASSERT_TRUE(reader->ReadText(QStringLiteral("Added.")));
    EXPECT_EQ(text(), typed + QStringLiteral("\nAdded."));
    reader->StopReading();
    EXPECT_FALSE(reader->ReadText(QStringLiteral("Refused.")));
    EXPECT_EQ(text(), typed + QStringLiteral("\nAdded."));
    reader->reText->setFocus();
    QTest::keyClick(reader->reText, Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(text(), typed);

    // A document opened over it, with the usual question, is one step too.
    prompts.answers << true;
    prompts.files << write(QStringLiteral("story.rtf"), "{\\rtf1 {\\b Title}\\par Body text.}");
    reader->buOpen->click();
    EXPECT_EQ(prompts.questions.last(), QStringLiteral("Replace text in the reading area?"));
    EXPECT_EQ(text(), QStringLiteral("Title\nBody text."));
    EXPECT_EQ(reader->reText->document()->firstBlock().begin().fragment().charFormat().fontWeight(), QFont::Bold);
    QTest::keyClick(reader->reText, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(text(), typed);
}

TEST_F(DocumentCommands, BeginningCollapsesTheSelectionToTheStart)
{
    reader->reText->setPlainText(QStringLiteral("Some words"));
    reader->reText->selectAll();
    reader->Beginning1->trigger();
    EXPECT_EQ(reader->reText->textCursor().position(), 0);
    EXPECT_FALSE(reader->reText->textCursor().hasSelection());
}

TEST_F(DocumentCommands, CtrlFAndCtrlShiftFOpenFindButCustomiseOnlyWhenIdle)
{
    reader->reText->setPlainText(QStringLiteral("find the word"));
    QApplication::setActiveWindow(reader.get());
    reader->reText->setFocus();
    QTest::keyClick(reader->reText, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    auto* find = reader->reText->findChild<FindDialog*>();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(find->isVisible());
    find->close();

    // Ctrl+Shift+C opens the customisation dialog while idle, never while reading.
    bool opened = false;
    auto closeCustomisation = [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    };
    reader->StartReading(true);
    QTimer::singleShot(50, closeCustomisation);
    QTest::keyClick(reader.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::qWait(100);
    EXPECT_FALSE(opened);
    reader->StopReading();

    QTimer::singleShot(50, closeCustomisation);
    QTest::keyClick(reader.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(opened);
}

namespace {
QStringList recentCaptions(const MainWindow& reader)
{
    QStringList captions;
    for (QAction* item : reader.pumOpenMenu->actions().mid(2))
        captions << item->text();
    return captions;
}

int caret(const MainWindow& reader)
{
    return reader.reText->textCursor().position();
}
} // namespace

TEST_F(DocumentCommands, ADocumentOpensAgainWhereReadingStoppedEvenAfterARestart)
{
    const QString story = write(QStringLiteral("story.txt"), "Once upon a time there was a river.\r\nIt ran.");
    const QString poem = write(QStringLiteral("poem.html"), "<p>Roses are red.</p>");
    prompts.files << story;
    reader->buOpen->click();
    QTextCursor cursor = reader->reText->textCursor();
    cursor.setPosition(21);
    reader->reText->setTextCursor(cursor);
    prompts.files << poem;
    reader->buOpen->click();
    EXPECT_EQ(caret(*reader), 0);
    EXPECT_EQ(recentCaptions(*reader), (QStringList{QStringLiteral("poem.html"), QStringLiteral("story.txt")}));

    reader->pumOpenMenu->findChild<QAction*>(QStringLiteral("miRecent1"))->trigger();
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Once upon a time there was a river.\nIt ran."));
    EXPECT_EQ(caret(*reader), 21);
    EXPECT_EQ(recentCaptions(*reader), (QStringList{QStringLiteral("story.txt"), QStringLiteral("poem.html")}));

    // A reading stopped on "river": the window closes, and the next run opens the story there.
    reader->StartReading(true);
    reader->HighlightSpoken(28, 5);
    reader->StopReading();
    reader->close();
    QFile settings(folder.filePath(QStringLiteral("Parlivo.ini")));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settings.readAll().contains("story"));
    reader.reset();
    SetUp();
    EXPECT_EQ(recentCaptions(*reader), (QStringList{QStringLiteral("story.txt"), QStringLiteral("poem.html")}));
    prompts.files << story;
    reader->buOpen->click();
    EXPECT_EQ(caret(*reader), 28);
}

TEST_F(DocumentCommands, ARecentDocumentThatIsGoneIsTakenOffTheListWithAMessage)
{
    EXPECT_EQ(recentCaptions(*reader), QStringList{QStringLiteral("No recent documents")});
    const QString story = write(QStringLiteral("story.txt"), "Once upon a time.");
    prompts.files << story << write(QStringLiteral("poem.txt"), "Roses are red.");
    reader->buOpen->click();
    reader->buOpen->click();
    ASSERT_TRUE(QFile::remove(story));
    reader->pumOpenMenu->findChild<QAction*>(QStringLiteral("miRecent1"))->trigger();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("\"story.txt\" is no longer in ")));
    EXPECT_EQ(prompts.questions.size(), 1); // only when the poem replaced the story
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Roses are red."));
    EXPECT_EQ(recentCaptions(*reader), QStringList{QStringLiteral("poem.txt")});
}

TEST_F(DocumentCommands, CancellingALongBookKeepsTheTextAndTheBookIsNotRemembered)
{
    QList<QPair<QString, QByteArray>> chapters;
    const QByteArray paragraph = "<p>" + QByteArray(40, 'x').replace("x", "The river ran to the sea. ") + "</p>";
    for (int i = 0; i < 600; ++i)
        chapters.append({QStringLiteral("c%1.xhtml").arg(i), "<h1>Chapter</h1>" + paragraph.repeated(120)});
    const QString book = folder.filePath(QStringLiteral("long.epub"));
    ASSERT_TRUE(fixtures::zip(book, fixtures::epubEntries(chapters)));

    reader->reText->setPlainText(QStringLiteral("Keep this text."));
    bool cancelled = false;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<StatusDialog*>(window);
                status && status->isVisible() && status->buCancel->isVisible() && !cancelled) {
                cancelled = true;
                status->buCancel->click();
            }
    });
    cancel.start(20);
    prompts.files << book;
    reader->buOpen->click();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Keep this text."));
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_EQ(recentCaptions(*reader), QStringList{QStringLiteral("No recent documents")});
}

TEST_F(DocumentCommands, APictureCancelledKeepsTheTextAndOneReadPoorlyIsNamedInTheStatusBar)
{
    // A long page, cancelled while it is read.
    const QString page = folder.filePath(QStringLiteral("page.png"));
    QStringList paragraphs;
    for (int i = 0; i < 8; ++i)
        paragraphs << pictures::Worksheet;
    ASSERT_TRUE(pictures::typesetPage(paragraphs, 300).save(page));
    reader->reText->setPlainText(QStringLiteral("Keep this text."));
    bool cancelled = false;
    QString label;
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* status = qobject_cast<StatusDialog*>(window);
                status && status->isVisible() && status->buCancel->isVisible() && !cancelled &&
                status->Label1->text().startsWith(QLatin1String("Reading the text"))) {
                cancelled = true;
                label = status->Label1->text();
                status->buCancel->click();
            }
    });
    cancel.start(20);
    prompts.files << page;
    reader->buOpen->click();
    cancel.stop();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(label, QStringLiteral("Reading the text in page 1 of 1 ..."));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Keep this text."));

    // Small type under specks: read, but with little confidence.
    const QString poor = folder.filePath(QStringLiteral("poor.png"));
    ASSERT_TRUE(pictures::speckled(pictures::typesetPage(pictures::Worksheet, 60, 9), 0.02).save(poor));
    prompts.files << poor;
    reader->buOpen->click();
    EXPECT_NE(reader->reText->toPlainText(), QStringLiteral("Keep this text."));
    EXPECT_EQ(reader->statusBar->text(), QStringLiteral("Document loaded: poor.png. Page 1 may be misread"));
}

TEST_F(DocumentCommands, AFileDroppedOnTheReadingAreaOpensAsTheOpenCommandWould)
{
    reader->reText->setPlainText(QStringLiteral("Old text."));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(write(QStringLiteral("dropped.txt"), "Dropped here."))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(reader->reText->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(reader->reText->viewport(), &drop);
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Replace text in the reading area?")});
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Dropped here."));
    EXPECT_EQ(recentCaptions(*reader), QStringList{QStringLiteral("dropped.txt")});
}
