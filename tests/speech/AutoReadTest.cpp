#include "speech/AutoRead.h"

#include <gtest/gtest.h>

namespace {

// The fragment spoken when key is typed with the caret at the end of text.
QString AtEnd(const QString& text, QChar key, int mode)
{
    return AutoReadFragment(text, int(text.size()), key, mode);
}

const QChar Enter(13);

} // namespace

TEST(AutoRead, SingleWordEndsAtASpaceEnterOrMark)
{
    const QString text = QStringLiteral("I said hello");
    EXPECT_EQ(AtEnd(text, QLatin1Char(' '), AutoReadSingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(text, QLatin1Char('.'), AutoReadSingleWord), QStringLiteral("hello."));
    EXPECT_EQ(AtEnd(text, QLatin1Char('?'), AutoReadSingleWord), QStringLiteral("hello?"));
    EXPECT_EQ(AtEnd(text, Enter, AutoReadSingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char(' '), AutoReadSingleWord), QStringLiteral("hello"));
    EXPECT_EQ(AtEnd(QStringLiteral("It is. Go"), QLatin1Char(';'), AutoReadSingleWord), QStringLiteral("Go;"));
    // Letters, commas and the like trigger nothing.
    EXPECT_EQ(AtEnd(text, QLatin1Char('x'), AutoReadSingleWord), QString());
    EXPECT_EQ(AtEnd(text, QLatin1Char(','), AutoReadSingleWord), QString());
}

TEST(AutoRead, SingleWordAfterADelimiterSpeaksOnlyAMark)
{
    EXPECT_EQ(AtEnd(QStringLiteral("Stop."), QLatin1Char(' '), AutoReadSingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("one "), QLatin1Char(' '), AutoReadSingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("one "), Enter, AutoReadSingleWord), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("Stop."), QLatin1Char('.'), AutoReadSingleWord), QStringLiteral("."));
}

TEST(AutoRead, LineBreaksSeparateWordsButNotSentences)
{
    EXPECT_EQ(AtEnd(QStringLiteral("first line\nsecond"), QLatin1Char(' '), AutoReadSingleWord),
              QStringLiteral("second"));
    EXPECT_EQ(AtEnd(QStringLiteral("first\u2029second"), QLatin1Char(' '), AutoReadSingleWord),
              QStringLiteral("second"));
    EXPECT_EQ(AtEnd(QStringLiteral("Done. This sentence runs\nover two lines"), QLatin1Char('.'), AutoReadSentence),
              QStringLiteral("This sentence runs over two lines."));
    EXPECT_EQ(AtEnd(QStringLiteral("A line\r\nmore"), QLatin1Char('!'), AutoReadSentence),
              QStringLiteral("A line  more!"));
    EXPECT_EQ(AtEnd(QStringLiteral("Ends with a break\n"), QLatin1Char('.'), AutoReadSentence),
              QStringLiteral("Ends with a break ."));
}

TEST(AutoRead, SentenceRunsFromTheLastSentenceMark)
{
    const QString text = QStringLiteral("Yes. I am here");
    EXPECT_EQ(AtEnd(text, QLatin1Char('?'), AutoReadSentence), QStringLiteral("I am here?"));
    EXPECT_EQ(AtEnd(text, QLatin1Char('!'), AutoReadSentence), QStringLiteral("I am here!"));
    EXPECT_EQ(AtEnd(QStringLiteral("No marks at all"), QLatin1Char('.'), AutoReadSentence),
              QStringLiteral("No marks at all."));
    EXPECT_EQ(AtEnd(text, QLatin1Char(' '), AutoReadSentence), QString());
    EXPECT_EQ(AtEnd(text, Enter, AutoReadSentence), QString());
}

TEST(AutoRead, CaretAtTheStartSpeaksTheKeyAlone)
{
    EXPECT_EQ(AutoReadFragment(QStringLiteral("hello"), 0, QLatin1Char('.'), AutoReadSingleWord), QStringLiteral("."));
    EXPECT_EQ(AutoReadFragment(QStringLiteral("hello"), 0, QLatin1Char(' '), AutoReadSingleWord), QString());
    EXPECT_EQ(AutoReadFragment(QString(), 0, QLatin1Char('?'), AutoReadSentence), QStringLiteral("?"));
}

TEST(AutoRead, CaretInsideTheTextIgnoresWhatFollows)
{
    const QString text = QStringLiteral("one two. three four");
    // Caret between "thr" and "ee".
    EXPECT_EQ(AutoReadFragment(text, 12, QLatin1Char(' '), AutoReadSingleWord), QStringLiteral("thr"));
    EXPECT_EQ(AutoReadFragment(text, 12, QLatin1Char('.'), AutoReadSentence), QStringLiteral("thr."));
    EXPECT_EQ(AutoReadFragment(text, 5, QLatin1Char('.'), AutoReadSentence), QStringLiteral("one t."));
    // A caret the text does not reach reads up to the end; a negative one reads nothing.
    EXPECT_EQ(AutoReadFragment(text, 500, QLatin1Char(' '), AutoReadSingleWord), QStringLiteral("four"));
    EXPECT_EQ(AutoReadFragment(text, -3, QLatin1Char(' '), AutoReadSingleWord), QString());
}

TEST(AutoRead, OffOrUnknownModesSpeakNothing)
{
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char('.'), AutoReadOff), QString());
    EXPECT_EQ(AtEnd(QStringLiteral("hello"), QLatin1Char('.'), 3), QString());
    EXPECT_FALSE(IsAutoReadTrigger(QLatin1Char('.'), AutoReadOff));
}

TEST(AutoRead, TrimsOnlyControlCharactersAndSpaces)
{
    EXPECT_EQ(AtEnd(QStringLiteral("Say.\t\u00a0word"), QLatin1Char('!'), AutoReadSentence),
              QStringLiteral("\u00a0word!"));
}
