#include "ReaderFixture.h"

#include "app/TToolbarButton.h"
#include "documents/FindInText.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

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
    EXPECT_TRUE(reader->FBusy);
    EXPECT_TRUE(reader->FPaused);

    prompts.files << page;
    prompts.answers << true;
    reader->OpenDocument();
    EXPECT_FALSE(reader->FBusy);
    EXPECT_FALSE(reader->FPaused);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("New page text"));
}

TEST_F(DocumentCommands, ASpellingFileBecomesTheCurrentSpellingFileWithoutTouchingTheText)
{
    reader->reText->setPlainText(QStringLiteral("Keep me."));
    const QString list = write(QStringLiteral("week1.pvt"), "Hello\r\nBye\r\ncat,20\r\n");
    prompts.files << list;
    reader->OpenDocument();
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(reader->FSpellingFile, list);
    EXPECT_EQ(reader->FSpellingWords,
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
    EXPECT_FALSE(reader->FBusy);
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
    auto* find = reader->reText->findChild<TFindDialog*>();
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
