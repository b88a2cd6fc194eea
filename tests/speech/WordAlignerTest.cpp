#include "speech/EspeakVoices.h"
#include "speech/Visemes.h"
#include "speech/WordAligner.h"

#include <gtest/gtest.h>

namespace {

const QString Tricky = QStringLiteral("The cost of the 2021 well-known e.g. plan.");

// The marks espeak-ng 1.51 reports for Tricky (positions converted to 0-based units, samples rounded).
std::vector<WordMark> trickyMarks()
{
    return {{0, 3, 0},      {4, 4, 3065},   {9, 2, 9812},   {16, 4, 14840}, {17, 4, 19625}, {17, 4, 29350},
            {17, 4, 31884}, {17, 4, 40969}, {21, 4, 45974}, {32, 1, 55698}, {37, 4, 72655}};
}

TEST(AlignWords, GivesEveryWordOneStartInOrderWhateverTheMarks)
{
    const QList<TextSpan> words = findWords(Tricky);
    ASSERT_EQ(words.size(), 8);
    const std::vector<qint64> starts = alignWords(words, trickyMarks(), int(Tricky.size()), 81588);
    ASSERT_EQ(starts.size(), 8u);
    EXPECT_EQ(starts[0], 0);
    EXPECT_EQ(starts[1], 3065);
    EXPECT_EQ(starts[2], 9812);
    // "the" had no mark: it falls between "of" and "2021", by its place in the text.
    EXPECT_GT(starts[3], 9812);
    EXPECT_LT(starts[3], 14840);
    EXPECT_EQ(starts[4], 14840); // four marks for "2021" merge into the first
    EXPECT_EQ(starts[5], 45974);
    EXPECT_EQ(starts[6], 55698);
    EXPECT_EQ(starts[7], 72655);
}

TEST(AlignWords, AMarkOnTheBlankAfterAWordBelongsToThatWordUnlessItReachesTheNext)
{
    const QString text = QStringLiteral("Hello 😀 world");
    const QList<TextSpan> words = findWords(text); // Hello 0, emoji 6, world 9
    // espeak says "grinning face" for the emoji: the second mark points at the blank after it.
    const std::vector<qint64> starts =
        alignWords(words, {{0, 5, 0}, {6, 2, 6800}, {8, 1, 14200}, {9, 5, 20600}}, int(text.size()), 29000);
    EXPECT_EQ(starts, (std::vector<qint64>{0, 6800, 20600}));
    const std::vector<qint64> quoted = alignWords(findWords(u"say \"yes\""), {{0, 3, 0}, {4, 5, 5000}}, 9, 9000);
    EXPECT_EQ(quoted, (std::vector<qint64>{0, 5000}));
}

TEST(AlignWords, MarksRunningBackwardsAreDroppedAndGapsAtTheEndsInterpolated)
{
    const QString text = QStringLiteral("one two three four five");
    const QList<TextSpan> words = findWords(text);
    // "two" claims a time after "four": the longest ordered run wins and "two" is placed between.
    const std::vector<qint64> starts =
        alignWords(words, {{4, 3, 9000}, {8, 5, 3000}, {14, 4, 5000}}, int(text.size()), 10000);
    EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    EXPECT_EQ(starts[2], 3000);
    EXPECT_EQ(starts[3], 5000);
    EXPECT_LT(starts[0], 3000);
    EXPECT_GT(starts[4], 5000);
    EXPECT_LE(starts[4], 10000);

    const std::vector<qint64> unmarked = alignWords(words, {}, int(text.size()), 2300);
    EXPECT_EQ(unmarked.front(), 0);
    EXPECT_TRUE(std::is_sorted(unmarked.begin(), unmarked.end()));
    EXPECT_LT(unmarked.back(), 2300);
    EXPECT_TRUE(alignWords({}, trickyMarks(), 0, 100).empty());
}

TEST(CodePointIndex, ConvertsTheSynthesisersPositionsToUtf16)
{
    const CodePointIndex index(u"a😀b\r\nc");
    EXPECT_EQ(index.unitIndex(1), 0);
    EXPECT_EQ(index.unitIndex(2), 1);
    EXPECT_EQ(index.unitLength(2, 1), 2);
    EXPECT_EQ(index.unitIndex(3), 3);
    EXPECT_EQ(index.unitIndex(6), 6); // the CR LF counts two
    EXPECT_EQ(index.unitIndex(99), 7);
    EXPECT_EQ(index.unitIndex(0), 0);
}

TEST(Visemes, MapsPhonemesToMouthShapes)
{
    EXPECT_EQ(visemeForPhoneme("p"), VisemeP);
    EXPECT_EQ(visemeForPhoneme("b"), VisemeP);
    EXPECT_EQ(visemeForPhoneme("m"), VisemeP);
    EXPECT_EQ(visemeForPhoneme("_"), VisemeSilence);
    EXPECT_EQ(visemeForPhoneme("_:"), VisemeSilence);
    EXPECT_EQ(visemeForPhoneme("aI"), VisemeAy);
    EXPECT_EQ(visemeForPhoneme("oU"), VisemeOw);
    EXPECT_EQ(visemeForPhoneme("OI"), VisemeOy);
    EXPECT_EQ(visemeForPhoneme("3:"), VisemeEr);
    EXPECT_EQ(visemeForPhoneme("tS"), VisemeSh);
    EXPECT_EQ(visemeForPhoneme("D"), VisemeTh);
    EXPECT_EQ(visemeForPhoneme("N"), VisemeK);
    EXPECT_EQ(visemeForPhoneme("@L"), VisemeL);
    // Other languages' phonemes: by their stem, then by their letter.
    EXPECT_EQ(visemeForPhoneme("O~"), VisemeAo);
    EXPECT_EQ(visemeForPhoneme("y:"), VisemeW);
    EXPECT_EQ(visemeForPhoneme("R"), VisemeR);
    EXPECT_EQ(visemeForPhoneme("(en)"), -1);
    EXPECT_EQ(visemeForPhoneme(""), -1);
}

TEST(DescribeVoices, UsesTheVoicesNamesFallsBackToTheLanguageAndKeepsThemApart)
{
    const QList<EngineVoice> voices = describeVoices({
        {QStringLiteral("English (Great Britain)"), QStringLiteral("en-gb"), QStringLiteral("gmw/en")},
        {QStringLiteral("afrikaans-mbrola-1"), QStringLiteral("af"), QStringLiteral("mb/mb-af1")},
        {QStringLiteral("Cherokee_ "), QStringLiteral("chr"), QStringLiteral("iro/chr")},
        {QStringLiteral("de-ch"), QStringLiteral("de-ch"), QStringLiteral("gmw/de-CH")},
        {QStringLiteral("Chinese (Cantonese)"), QStringLiteral("yue"), QStringLiteral("sit/yue")},
        {QStringLiteral("chinese (cantonese)"), QStringLiteral("yue"), QStringLiteral("sit/yue-x")},
    });
    ASSERT_EQ(voices.size(), 5);
    EXPECT_EQ(voices[0].description, QStringLiteral("English (Great Britain)"));
    EXPECT_EQ(voices[0].id, QStringLiteral("gmw/en"));
    EXPECT_EQ(voices[1].description, QStringLiteral("Cherokee"));
    EXPECT_EQ(voices[2].description, QStringLiteral("German (Switzerland)"));
    EXPECT_EQ(voices[3].description, QStringLiteral("Chinese (Cantonese)"));
    EXPECT_EQ(voices[4].description, QStringLiteral("chinese (cantonese) (yue)"));
}

TEST(WordsPerMinute, RisesWithTheRateFromTheSlowestToTheFastestWithNormalAtZero)
{
    EXPECT_EQ(wordsPerMinuteForRate(0), 175);
    EXPECT_EQ(wordsPerMinuteForRate(-10), 80);
    EXPECT_EQ(wordsPerMinuteForRate(10), 450);
    EXPECT_EQ(wordsPerMinuteForRate(-5), 118);
    EXPECT_EQ(wordsPerMinuteForRate(5), 281);
    for (int rate = -10; rate < 10; ++rate)
        EXPECT_LT(wordsPerMinuteForRate(rate), wordsPerMinuteForRate(rate + 1)) << rate;
    EXPECT_EQ(wordsPerMinuteForRate(99), 450);
    EXPECT_EQ(wordsPerMinuteForRate(-99), 80);
}

} // namespace
