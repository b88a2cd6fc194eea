// Reading with the real espeak-ng voice on a fast clock: every word the voice reports is the word selected.
#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "core/AppFolder.h"
#include "speech/EspeakEngine.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {
class ReadingAloud : public ::testing::Test
{
protected:
    void SetUp() override { start(20); }

    // A reader whose voice plays to a clock running `clockSpeed` times faster than real time.
    void start(double clockSpeed)
    {
        reader.reset();
        setAppFolder(folder.path());
        EspeakEngine::Options options;
        options.useClock = true;
        options.clockSpeed = clockSpeed;
        auto espeak = std::make_unique<EspeakEngine>(options);
        engine = espeak.get();
        reader = std::make_unique<MainWindow>(std::move(espeak));
        ASSERT_TRUE(reader->FormCreate());
        reader->show();
        QObject::connect(reader->spVoice, &Voice::OnWord,
                         [this](const SpeechEvent&) { words << reader->reText->textCursor().selectedText(); });
    }

    // Reads and waits for the end, returning the text selected at each word event.
    QStringList read(const QString& text, int caret = -1)
    {
        reader->reText->setPlainText(text);
        words.clear();
        QSignalSpy end(reader->spVoice, &Voice::OnEndStream);
        if (caret >= 0) {
            QTextCursor cursor = reader->reText->textCursor();
            cursor.setPosition(caret);
            reader->reText->setTextCursor(cursor);
        }
        reader->StartReading(caret < 0);
        EXPECT_TRUE(end.wait(20000));
        EXPECT_FALSE(reader->model().busy());
        return words;
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> reader;
    EspeakEngine* engine = nullptr; // the reader's
    QStringList words;
};
} // namespace

TEST_F(ReadingAloud, EveryWordEventSelectsThatWord)
{
    EXPECT_EQ(
        read(QStringLiteral("The cost of the 2021 well-known plan was low. Children read books every day.")),
        (QStringList{QStringLiteral("The"), QStringLiteral("cost"), QStringLiteral("of"), QStringLiteral("the"),
                     QStringLiteral("2021"), QStringLiteral("well-known"), QStringLiteral("plan"),
                     QStringLiteral("was"), QStringLiteral("low"), QStringLiteral("Children"), QStringLiteral("read"),
                     QStringLiteral("books"), QStringLiteral("every"), QStringLiteral("day")}));
}

TEST_F(ReadingAloud, ShortLinesAccentsAndEmojiKeepTheirPlaces)
{
    EXPECT_EQ(read(QStringLiteral("Hi\nyou\nthe café \U0001F600 is open")),
              (QStringList{QStringLiteral("Hi"), QStringLiteral("you"), QStringLiteral("the"), QStringLiteral("café"),
                           QStringLiteral("\U0001F600"), QStringLiteral("is"), QStringLiteral("open")}));
}

TEST_F(ReadingAloud, ReadingFromTheCaretSelectsTheWordsAfterIt)
{
    EXPECT_EQ(read(QStringLiteral("First words here. Then these words."), 18),
              (QStringList{QStringLiteral("Then"), QStringLiteral("these"), QStringLiteral("words")}));
}

TEST_F(ReadingAloud, WordsArriveSpreadOverTheirSentenceNotInOneBurst)
{
    // The first sound of a sentence plays before the sentence is fully made; its words must still come one by
    // one as their audio is heard, not together once the sentence has played. Each word is placed by the audio
    // handed to the output when it arrives, not by the wall clock: most words come before the audio of the last
    // one has even been handed over, which a burst at the sentence's end never does. At twice real time the
    // synthesiser stays far ahead of the ear even on a loaded machine.
    start(2);
    QList<QPair<qint64, qint64>> arrivals; // (audio handed to the output, the word's own audio position)
    const qint64 before = engine->audioDelivered();
    QObject::connect(reader->spVoice, &Voice::OnWord, [&](const SpeechEvent& event) {
        arrivals.append({engine->audioDelivered() - before, event.audioPosition});
    });
    read(QStringLiteral("Reading aloud helps learners follow every single word on the page."));
    ASSERT_GE(arrivals.size(), 10);
    const qint64 lastWord = arrivals.last().second;
    const auto early =
        std::count_if(arrivals.begin(), arrivals.end(),
                      [lastWord](const QPair<qint64, qint64>& arrival) { return arrival.first < lastWord; });
    EXPECT_GE(early, arrivals.size() / 2);
}

TEST_F(ReadingAloud, MovesThroughAReadingSelectTheFirstWordOfWhereTheyLand)
{
    start(4); // slow enough that a sentence is still being read when the next move comes
    reader->reText->setPlainText(QStringLiteral("Alpha starts the first line of words here. Bravo follows it with "
                                                "more words.\nCharlie opens the second paragraph now. Delta ends it "
                                                "with a few words."));
    QSignalSpy word(reader->spVoice, &Voice::OnWord);
    const auto nextWord = [&] {
        words.clear();
        return word.wait(10000) && !words.isEmpty() ? words.first() : QStringLiteral("(no word)");
    };
    reader->StartReading(true);
    EXPECT_EQ(nextWord(), QStringLiteral("Alpha"));
    reader->MoveReading(ReadingMove::NextSentence);
    EXPECT_EQ(nextWord(), QStringLiteral("Bravo"));
    reader->MoveReading(ReadingMove::SentenceAgain);
    EXPECT_EQ(nextWord(), QStringLiteral("Bravo"));
    reader->MoveReading(ReadingMove::NextParagraph);
    EXPECT_EQ(nextWord(), QStringLiteral("Charlie"));
    reader->MoveReading(ReadingMove::PreviousSentence);
    EXPECT_EQ(nextWord(), QStringLiteral("Bravo"));
    reader->MoveReading(ReadingMove::PreviousParagraph);
    EXPECT_EQ(nextWord(), QStringLiteral("Alpha"));

    // Paused, a move shows the sentence it lands on and the reading goes on from there when resumed.
    reader->PauseReading();
    reader->MoveReading(ReadingMove::NextParagraph);
    reader->MoveReading(ReadingMove::NextSentence);
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("Delta ends it with a few words."));
    EXPECT_FALSE(word.wait(300)) << "nothing is read while paused";
    reader->StartReading(true);
    EXPECT_EQ(nextWord(), QStringLiteral("Delta"));

    // A word clicked while paused is where the reading goes on, from the word's start.
    reader->PauseReading();
    QWidget* page = reader->reText->viewport();
    QTextCursor at = reader->reText->textCursor();
    at.setPosition(int(reader->reText->toPlainText().indexOf(QStringLiteral("econd"))));
    QTest::mouseClick(page, Qt::LeftButton, {}, reader->reText->cursorRect(at).center());
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("second"));
    reader->ReadFromHere();
    EXPECT_EQ(nextWord(), QStringLiteral("second"));
    reader->StopReading();
}
