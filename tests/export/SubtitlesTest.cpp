#include "export/Subtitles.h"

#include <gtest/gtest.h>

namespace {

SpeechEvent event(SpeechEvent::Type type, int position, int length, qint64 ms)
{
    SpeechEvent e;
    e.type = type;
    e.position = position;
    e.length = length;
    e.audioPosition = ms * 44100 / 1000;
    return e;
}

SpeechEvent end(qint64 ms)
{
    return event(SpeechEvent::EndStream, 0, 0, ms);
}

} // namespace

TEST(SpeechTimings, RepeatedAndBackwardWordsAreDroppedAndTimesStayInsideTheAudio)
{
    //                   0         1         2
    //                   0123456789012345678901234
    const QString text = QStringLiteral("One two. Three four five.");
    const std::vector<SpeechEvent> events{
        event(SpeechEvent::Sentence, 0, 8, 0),
        event(SpeechEvent::Word, 0, 3, 0),
        event(SpeechEvent::Word, 4, 3, 400),
        event(SpeechEvent::Word, 4, 3, 450),      // reported twice
        event(SpeechEvent::Sentence, 9, 0, 1000), // no length: runs to the end, without the blanks
        event(SpeechEvent::Word, 9, 5, 1200),
        event(SpeechEvent::Word, 4, 3, 1300), // steps back
        event(SpeechEvent::Word, 15, 4, 1500),
        event(SpeechEvent::Word, 20, 4, 9000), // after the end
        end(2000)};
    const SpeechTimings timings = TimingsFromEvents(text, events);

    EXPECT_EQ(timings.durationMs, 2000);
    ASSERT_EQ(timings.sentences.size(), 2);
    EXPECT_EQ(text.mid(timings.sentences[1].position, timings.sentences[1].length), QStringLiteral("Three four five."));
    EXPECT_EQ(timings.sentences[0].endMs, 1000);
    EXPECT_EQ(timings.sentences[1].endMs, 2000);

    QStringList words;
    for (const TimedSpan& word : timings.words)
        words << text.mid(word.position, word.length);
    EXPECT_EQ(words, (QStringList{QStringLiteral("One"), QStringLiteral("two"), QStringLiteral("Three"),
                                  QStringLiteral("four"), QStringLiteral("five")}));
    qint64 last = 0;
    for (const TimedSpan& word : timings.words) {
        EXPECT_GE(word.startMs, last);
        EXPECT_LE(word.startMs, word.endMs);
        EXPECT_LE(word.endMs, timings.durationMs);
        last = word.startMs;
    }
    // A word ends where its sentence ends, not at the next sentence's first word.
    EXPECT_EQ(timings.words[1].endMs, 1000);
}

TEST(SpeechTimings, TextWithoutSentenceEventsIsStillOneLine)
{
    const QString text = QStringLiteral("  just words");
    const SpeechTimings timings =
        TimingsFromEvents(text, {event(SpeechEvent::Word, 2, 4, 0), event(SpeechEvent::Word, 7, 5, 300), end(800)});
    ASSERT_EQ(timings.sentences.size(), 1);
    EXPECT_EQ(text.mid(timings.sentences[0].position, timings.sentences[0].length), QStringLiteral("just words"));
    EXPECT_EQ(FormatSrt(text, timings), QStringLiteral("1\n00:00:00,000 --> 00:00:00,800\njust words\n\n"));
}

TEST(SubtitleFiles, TimestampsCountPastAMinuteAndAnHour)
{
    EXPECT_EQ(LrcTimestamp(0), QStringLiteral("00:00.00"));
    EXPECT_EQ(LrcTimestamp(61'239), QStringLiteral("01:01.23"));
    EXPECT_EQ(LrcTimestamp(3'725'990), QStringLiteral("62:05.99")); // LRC minutes go on past 59
    EXPECT_EQ(SrtTimestamp(3'725'009), QStringLiteral("01:02:05,009"));
    EXPECT_EQ(SrtTimestamp(-5), QStringLiteral("00:00:00,000"));
}

TEST(SubtitleFiles, LrcLinesCarryEachWordWithItsPunctuationAndLineBreaksBecomeSpaces)
{
    const QString text = QStringLiteral("\"Hi,\n you.\" Bye.");
    const SpeechTimings timings =
        TimingsFromEvents(text, {event(SpeechEvent::Sentence, 0, 11, 0), event(SpeechEvent::Word, 1, 2, 100),
                                 event(SpeechEvent::Word, 6, 3, 700), event(SpeechEvent::Sentence, 12, 4, 1500),
                                 event(SpeechEvent::Word, 12, 3, 1500), end(2000)});
    EXPECT_EQ(FormatLrc(text, timings, QStringLiteral("talk")),
              QStringLiteral("[ti:talk]\n"
                             "[00:00.00]<00:00.10>\"Hi, <00:00.70>you.\" <00:01.50>\n"
                             "[00:01.50]<00:01.50>Bye. <00:02.00>\n"));
    EXPECT_EQ(FormatSrt(text, timings), QStringLiteral("1\n00:00:00,000 --> 00:00:01,500\n\"Hi, you.\"\n\n"
                                                       "2\n00:00:01,500 --> 00:00:02,000\nBye.\n\n"));
}
