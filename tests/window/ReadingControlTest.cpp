#include "ReaderFixture.h"

#include "window/main/ToolbarButton.h"
#include "window/dialogs/PronunciationsDialog.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {
class ReadingControl : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        create();
        engine->autoFinish = false;
        engine->spoken.clear();
    }

    QString selected() const { return reader->reText->textCursor().selectedText(); }
    int selectionStart() const { return reader->reText->textCursor().selectionStart(); }
    void type(const QString& text) { QTest::keyClicks(reader->reText, text); }
};
} // namespace

TEST_F(ReadingControl, ReadingSelectsTheSentenceThenEachWordAndEndsIdle)
{
    reader->reText->setPlainText(QStringLiteral("Hello world. More text."));
    reader->StartReading(true);
    ASSERT_EQ(engine->spoken.size(), 1);
    EXPECT_EQ(engine->spoken[0].text, QStringLiteral("Hello world. More text."));
    EXPECT_TRUE(engine->spoken[0].markup);
    EXPECT_TRUE(engine->spoken[0].purge);
    EXPECT_TRUE(reader->model().busy());
    EXPECT_TRUE(reader->reText->isReadOnly());
    EXPECT_FALSE(reader->buOpen->isEnabled());
    EXPECT_FALSE(reader->pummiRead->isEnabled());
    EXPECT_TRUE(reader->pummiPause->isEnabled());

    engine->sentence(0, 12);
    EXPECT_EQ(selected(), QStringLiteral("Hello world."));
    engine->word(0, 5);
    EXPECT_EQ(selected(), QStringLiteral("Hello"));
    engine->word(6, 5);
    EXPECT_EQ(selected(), QStringLiteral("world"));
    engine->finish();
    EXPECT_EQ(selected(), QString());
    EXPECT_EQ(selectionStart(), 6);
    EXPECT_FALSE(reader->model().busy());
    EXPECT_FALSE(reader->reText->isReadOnly());
    EXPECT_TRUE(reader->buOpen->isEnabled());
    EXPECT_FALSE(reader->pummiStop->isEnabled());
}

TEST_F(ReadingControl, LineBreaksAreSpokenAsSpacesAndKeepTheirPositions)
{
    reader->reText->setPlainText(QStringLiteral("ab\ncd"));
    reader->StartReading(true);
    EXPECT_EQ(engine->spoken.value(0).text, QStringLiteral("ab cd"));
    engine->word(3, 2);
    EXPECT_EQ(selected(), QStringLiteral("cd"));
}

TEST_F(ReadingControl, ReadingFromTheCaretOffsetsEveryPositionAndSurvivesPause)
{
    reader->reText->setPlainText(QStringLiteral("0123456789abcd efgh ijkl"));
    QTextCursor caret = reader->reText->textCursor();
    caret.setPosition(10);
    reader->reText->setTextCursor(caret);
    reader->StartReading(false);
    EXPECT_EQ(engine->spoken.value(0).text, QStringLiteral("abcd efgh ijkl"));
    engine->word(5, 4);
    EXPECT_EQ(selected(), QStringLiteral("efgh"));

    reader->imgReaderClick(); // pauses
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);
    EXPECT_TRUE(engine->paused);
    EXPECT_TRUE(reader->pummiRead->isEnabled());
    reader->imgReaderClick(); // resumes: nothing is spoken anew
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_FALSE(engine->paused);
    EXPECT_EQ(engine->spoken.size(), 1);
    engine->word(10, 4);
    EXPECT_EQ(selected(), QStringLiteral("ijkl"));
}

TEST_F(ReadingControl, StopWhilePausedResumesTheVoiceBeforeSkipping)
{
    reader->reText->setPlainText(QStringLiteral("One two three."));
    reader->StartReading(true);
    reader->PauseReading();
    reader->imgReaderDblClick();
    EXPECT_FALSE(engine->paused);
    EXPECT_EQ(engine->skips, 1);
    EXPECT_EQ(reader->model().state(), ReadingState::Idle);
    EXPECT_FALSE(reader->reText->isReadOnly());
}

TEST_F(ReadingControl, BlankTextAndIdleClicksDoNothing)
{
    reader->reText->setPlainText(QStringLiteral("  \n\t "));
    reader->StartReading(true);
    EXPECT_TRUE(engine->spoken.isEmpty());
    EXPECT_FALSE(reader->model().busy());
    EXPECT_TRUE(reader->buOpen->isEnabled());

    reader->imgReaderDblClick();
    reader->PauseReading();
    EXPECT_EQ(engine->skips, 0);
    EXPECT_FALSE(engine->paused);
    EXPECT_EQ(reader->model().state(), ReadingState::Idle);
}

TEST_F(ReadingControl, ReadingFromACaretFollowedOnlyByBlanksReturnsToIdle)
{
    reader->reText->setPlainText(QStringLiteral("Words here.   \n  "));
    QTextCursor caret = reader->reText->textCursor();
    caret.setPosition(11);
    reader->reText->setTextCursor(caret);
    reader->StartReading(false);
    EXPECT_TRUE(engine->spoken.isEmpty());
    EXPECT_FALSE(reader->model().busy());
    EXPECT_FALSE(reader->reText->isReadOnly());
}

TEST_F(ReadingControl, WordsAfterAnEmojiAndATabSelectTheRightText)
{
    reader->reText->setPlainText(QStringLiteral("I \U0001F600 love\tcake"));
    reader->StartReading(true);
    engine->word(5, 4);
    EXPECT_EQ(selected(), QStringLiteral("love"));
    engine->word(10, 4);
    EXPECT_EQ(selected(), QStringLiteral("cake"));
}

TEST_F(ReadingControl, AutoReadSpeaksTheFinishedWordOnlyWhenIdle)
{
    reader->mipumSingleWord->trigger();
    type(QStringLiteral("hello "));
    ASSERT_EQ(engine->spoken.size(), 1);
    EXPECT_EQ(engine->spoken[0].text, QStringLiteral("hello"));
    EXPECT_FALSE(engine->spoken[0].markup);
    EXPECT_EQ(reader->model().state(), ReadingState::Speaking);
    EXPECT_FALSE(reader->mHighlight);
    EXPECT_FALSE(reader->reText->isReadOnly());

    // Keys typed while the word is spoken are inserted, not spoken.
    type(QStringLiteral("there "));
    EXPECT_EQ(engine->spoken.size(), 1);
    engine->word(0, 5);
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("hello there "));
    engine->finish();
    EXPECT_FALSE(reader->model().busy());

    reader->mipumSentence->trigger();
    type(QStringLiteral("I am here?"));
    EXPECT_EQ(engine->spoken.last().text, QStringLiteral("hello there I am here?"));
    engine->finish();

    reader->mipumAutoReadOff->trigger();
    type(QStringLiteral("Quiet."));
    EXPECT_EQ(engine->spoken.size(), 2);
}

TEST_F(ReadingControl, VisemeEventsAreKeptForTheFace)
{
    reader->reText->setPlainText(QStringLiteral("Map"));
    reader->StartReading(true);
    engine->viseme(21);
    EXPECT_EQ(reader->mCurrentViseme, 21);
    engine->finish();
    EXPECT_EQ(reader->mCurrentViseme, 21);
}

TEST_F(ReadingControl, AReadingStartedWhileAutoReadSpeaksKeepsItsStateWhenTheCutUtteranceEnds)
{
    reader->mipumSentence->trigger();
    type(QStringLiteral("The sun is hot."));
    ASSERT_EQ(engine->spoken.size(), 1);
    reader->pummiRead->trigger();
    ASSERT_EQ(engine->spoken.size(), 2);
    // The auto-read utterance the reading cut off reports its end now.
    QCoreApplication::processEvents();
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_TRUE(reader->reText->isReadOnly());
    engine->word(4, 3);
    EXPECT_EQ(selected(), QStringLiteral("sun"));
    reader->imgReaderClick();
    EXPECT_EQ(reader->model().state(), ReadingState::Paused) << "a click during the reading pauses it";
}

TEST_F(ReadingControl, ListedWordsAreSaidAsTheListSaysWhileTheWrittenWordIsSelected)
{
    PronunciationsDialog editor(*reader->spVoice, folder.filePath(QStringLiteral("Pronunciations.txt")));
    editor.edWritten->setText(QStringLiteral("Siobhan"));
    editor.edSpoken->setText(QStringLiteral("shiv awn"));
    editor.buAdd->click();
    editor.edWritten->setText(QStringLiteral("Aoife"));
    editor.edSpoken->setText(QStringLiteral("ee fa"));
    editor.buAdd->click();
    editor.edWritten->setText(QStringLiteral("aoife"));
    editor.buRemove->click();
    editor.edWritten->setText(QStringLiteral("Niamh"));
    editor.edSpoken->clear();
    editor.buAdd->click();
    EXPECT_EQ(editor.lbProblem->text(), QStringLiteral("Not added: how it is said is missing."));
    editor.edWritten->setText(QStringLiteral("Mr Byrne"));
    editor.edSpoken->setText(QStringLiteral("mister burn"));
    editor.buAdd->click();
    EXPECT_EQ(editor.lbProblem->text(), QStringLiteral("Not added: the written side is not one word."));
    EXPECT_EQ(editor.list().size(), 1);
    editor.edSpoken->setText(QStringLiteral("ee fa"));
    editor.buSayIt->click();
    EXPECT_EQ(engine->spoken.last().text, QStringLiteral("ee fa"));
    editor.buSave->click();
    QFile saved(folder.filePath(QStringLiteral("Pronunciations.txt")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "Siobhan=shiv awn\n");

    reader->reText->setPlainText(QStringLiteral("Siobhan reads."));
    reader->StartReading(true);
    EXPECT_EQ(engine->spoken.last().text, QStringLiteral("shiv awn reads."));
    engine->word(0, 4); // "shiv"
    EXPECT_EQ(selected(), QStringLiteral("Siobhan"));
    engine->word(9, 5); // "reads"
    EXPECT_EQ(selected(), QStringLiteral("reads"));
}

TEST_F(ReaderFixture, MatchingTheVoiceToTheLanguageReadsEachParagraphInAVoiceOfItsLanguage)
{
    engine->installed = {{QStringLiteral("en-gb"), QStringLiteral("English (Great Britain)"), QStringLiteral("en-gb")},
                         {QStringLiteral("fr-fr"), QStringLiteral("French (France)"), QStringLiteral("fr-fr")},
                         {QStringLiteral("de"), QStringLiteral("German"), QStringLiteral("de")},
                         {QStringLiteral("es"), QStringLiteral("Spanish"), QStringLiteral("es")}};
    create();
    reader->model().setVoice(QStringLiteral("English (Great Britain)"));
    reader->pummiMatchLanguage->trigger();
    const QStringList paragraphs = {
        QStringLiteral("The children walked to school together every morning, talking about their lessons."),
        QStringLiteral("Les enfants marchaient ensemble vers l'école chaque matin en parlant de leurs leçons."),
        QStringLiteral("Die Kinder gingen jeden Morgen zusammen zur Schule und sprachen über ihren Unterricht."),
        QStringLiteral("Los niños caminaban juntos a la escuela cada mañana hablando de sus lecciones."),
        QStringLiteral("Then they went home again in the afternoon when the lessons were over.")};
    reader->reText->setPlainText(paragraphs.join(QLatin1Char('\n')));
    engine->spoken.clear();
    reader->StartReading(true);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !reader->model().busy(); }));

    QStringList heard;
    for (const auto& utterance : engine->spoken)
        heard << utterance.voice + QStringLiteral(": ") + utterance.text.trimmed();
    EXPECT_EQ(heard, (QStringList{QStringLiteral("en-gb: ") + paragraphs[0], QStringLiteral("fr-fr: ") + paragraphs[1],
                                  QStringLiteral("de: ") + paragraphs[2], QStringLiteral("es: ") + paragraphs[3],
                                  QStringLiteral("en-gb: ") + paragraphs[4]}));
    EXPECT_EQ(engine->voiceId, QStringLiteral("en-gb")) << "the chosen voice is back once the reading ends";
}
