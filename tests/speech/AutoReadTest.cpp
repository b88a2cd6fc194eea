#include "speech/AutoRead.h"

#include <gtest/gtest.h>

namespace {

// The fragment spoken when key is typed with the caret at the end of text.
QString AtEnd(const QString& text, QChar key, AutoReadMode mode)
{
    return AutoReadFragment(text, int(text.size()), key, mode);
}

const QChar Enter(13);

} // namespace

TEST(AutoRead, SingleWordEndsAtASpaceEnterOrMark)
{
    const QString text = QStringLiteral("I said hello");
    EXPECT_EQ(AtEnd(text, QLatin1Char(' '), AutoReadMode::SingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(text, QLatin1Char('.'), AutoReadMode::SingleWord), QStringLiteral("hello."));
    EXPECT_EQ(AtEnd(text, QLatin1Char('?'), AutoReadMode::SingleWord), QStringLiteral("hello?"));
    EXPECT_EQ(AtEnd(text, Enter, AutoReadMode::SingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char(' '), AutoReadMode::SingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(QStringLiteral("It is. Go"), QLatin1Char(';'), AutoReadMode::SingleWord), QStringLiteral("Go;"));
    // Letters, commas and the like trigger nothing.
    EXPECT_EQ(AtEnd(text, QLatin1Char('x'), AutoReadMode::SingleWord), QString());
    EXPECT_EQ(AtEnd(text, QLatin1Char(','), AutoReadMode::SingleWord), QString());
}

TEST(AutoRead, SingleWordAfterADelimiterSpeaksOnlyAMark)
{
    EXPECT_EQ(AtEnd(QStringLiteral("Stop."), QLatin1Char(' '), AutoReadMode::SingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("one "), QLatin1Char(' '), AutoReadMode::SingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("one "), Enter, AutoReadMode::SingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("Stop."), QLatin1Char('.'), AutoReadMode::SingleWord), QStringLiteral("."));
}

TEST(AutoRead, LineBreaksSeparateWordsButNotSentences)
{
    EXPECT_EQ(AtEnd(QStringLiteral("first line\nsecond"), QLatin1Char(' '), AutoReadMode::SingleWord),
              QStringLiteral("second"));
    EXPECT_EQ(AtEnd(QStringLiteral("first\u2029second"), QLatin1Char(' '), AutoReadMode::SingleWord),
              QStringLiteral("second"));
    EXPECT_EQ(
        AtEnd(QStringLiteral("Done. This sentence runs\nover two lines"), QLatin1Char('.'), AutoReadMode::Sentence),
        QStringLiteral("This sentence runs over two lines."));
    EXPECT_EQ(AtEnd(QStringLiteral("A line\r\nmore"), QLatin1Char('!'), AutoReadMode::Sentence),
              QStringLiteral("A line  more!"));
    EXPECT_EQ(AtEnd(QStringLiteral("Ends with a break\n"), QLatin1Char('.'), AutoReadMode::Sentence),
              QStringLiteral("Ends with a break ."));
}

TEST(AutoRead, SentenceRunsFromTheLastSentenceMark)
{
    const QString text = QStringLiteral("Yes. I am here");
    EXPECT_EQ(AtEnd(text, QLatin1Char('?'), AutoReadMode::Sentence), QStringLiteral("I am here?"));
    EXPECT_EQ(AtEnd(text, QLatin1Char('!'), AutoReadMode::Sentence), QStringLiteral("I am here!"));
    EXPECT_EQ(AtEnd(QStringLiteral("No marks at all"), QLatin1Char('.'), AutoReadMode::Sentence),
              QStringLiteral("No marks at all."));
    EXPECT_EQ(AtEnd(text, QLatin1Char(' '), AutoReadMode::Sentence), QString());
    EXPECT_EQ(AtEnd(text, Enter, AutoReadMode::Sentence), QString());
}

TEST(AutoRead, CaretAtTheStartSpeaksTheKeyAlone)
{
    EXPECT_EQ(AutoReadFragment(QStringLiteral("hello"), 0, QLatin1Char('.'), AutoReadMode::SingleWord),
              QStringLiteral("."));
    EXPECT_EQ(AutoReadFragment(QStringLiteral("hello"), 0, QLatin1Char(' '), AutoReadMode::SingleWord), QString());
    EXPECT_EQ(AutoReadFragment(QString(), 0, QLatin1Char('?'), AutoReadMode::Sentence), QStringLiteral("?"));
}

TEST(AutoRead, CaretInsideTheTextIgnoresWhatFollows)
{
    const QString text = QStringLiteral("one two. three four");
    // Caret between "thr" and "ee".
    EXPECT_EQ(AutoReadFragment(text, 12, QLatin1Char(' '), AutoReadMode::SingleWord), QStringLiteral("thr"));
    EXPECT_EQ(AutoReadFragment(text, 12, QLatin1Char('.'), AutoReadMode::Sentence), QStringLiteral("thr."));
    EXPECT_EQ(AutoReadFragment(text, 5, QLatin1Char('.'), AutoReadMode::Sentence), QStringLiteral("one t."));
    // A caret the text does not reach reads up to the end; a negative one reads nothing.
    EXPECT_EQ(AutoReadFragment(text, 500, QLatin1Char(' '), AutoReadMode::SingleWord), QStringLiteral("four"));
    EXPECT_EQ(AutoReadFragment(text, -3, QLatin1Char(' '), AutoReadMode::SingleWord), QString());
}

TEST(AutoRead, OffOrUnknownModesSpeakNothing)
{
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char('.'), AutoReadMode::Off), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char('.'), AutoReadMode(3)), QString());
    EXPECT_FALSE(IsAutoReadTrigger(QLatin1Char('.'), AutoReadMode::Off));
}

TEST(AutoRead, TrimsOnlyControlCharactersAndSpaces)
{
    EXPECT_EQ(AtEnd(QStringLiteral("Say.\t\u00a0word"), QLatin1Char('!'), AutoReadMode::Sentence),
              QStringLiteral("\u00a0word!"));
}
