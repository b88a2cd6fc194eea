#include "speech/SpeechPieces.h"
#include "core/TextSegmentation.h"
#include "core/ReadingMoves.h"
#include "core/GivenText.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(QStringView text, const QList<TextSpan>& spans)
{
    QStringList out;
    for (const TextSpan& span : spans)
        out << text.mid(span.start, span.length).toString();
    return out;
}

QStringList sentencesOf(const QString& text)
{
    return texts(text, findSentences(text));
}

TEST(FindWords, KeepsInnerPunctuationAndDropsWhatSurroundsAWord)
{
    const QString text =
        QStringLiteral("The cost of the 2021 well-known e.g. plan. (Really?) \"Don't\" -- U.S.A. 3.14.");
    EXPECT_EQ(texts(text, findWords(text)),
              (QStringList{QStringLiteral("The"), QStringLiteral("cost"), QStringLiteral("of"), QStringLiteral("the"),
                           QStringLiteral("2021"), QStringLiteral("well-known"), QStringLiteral("e.g."),
                           QStringLiteral("plan"), QStringLiteral("Really"), QStringLiteral("Don't"),
                           QStringLiteral("U.S.A."), QStringLiteral("3.14")}));
}

TEST(FindWords, SymbolsAndEmojiAreWordsButPunctuationAloneIsNot)
{
    const QString text = QStringLiteral("Café 😀 naïve… $5 ... — 👍🏽!");
    EXPECT_EQ(texts(text, findWords(text)),
              (QStringList{QStringLiteral("Café"), QStringLiteral("😀"), QStringLiteral("naïve"), QStringLiteral("$5"),
                           QStringLiteral("👍🏽")}));
    EXPECT_TRUE(findWords(QStringLiteral("  \r\n ")).isEmpty());
}

TEST(FindSentences, EndAtStopsFollowedByABlankButNotAtAbbreviationsOrInitials)
{
    EXPECT_EQ(sentencesOf(QStringLiteral("Mr. Smith met J. Doe, e.g. at noon. Then 3.5 km! Done?\"Yes.\" No")),
              (QStringList{QStringLiteral("Mr. Smith met J. Doe, e.g. at noon."), QStringLiteral("Then 3.5 km!"),
                           QStringLiteral("Done?\"Yes.\""), QStringLiteral("No")}));
    EXPECT_EQ(sentencesOf(QStringLiteral("Wait... what? \"Go!\" she said.")),
              (QStringList{QStringLiteral("Wait... what?"), QStringLiteral("\"Go!\" she said.")}));
}

TEST(FindSentences, ALineBreakEndsASentence)
{
    EXPECT_EQ(sentencesOf(QStringLiteral("Café naïve.\r\nNext line\n\n  third line ")),
              (QStringList{QStringLiteral("Café naïve."), QStringLiteral("Next line"), QStringLiteral("third line")}));
    EXPECT_EQ(sentencesOf(QStringLiteral("你好。再见。")),
              (QStringList{QStringLiteral("你好。"), QStringLiteral("再见。")}));
}

TEST(FindSentenceEnd, AsksForMoreTextWhenTheEndIsNotYetCertain)
{
    EXPECT_EQ(findSentenceEnd(u"It ends here", 0, false), -1);
    EXPECT_EQ(findSentenceEnd(u"It ends here.", 0, false), -1); // the next word might be lower case
    EXPECT_EQ(findSentenceEnd(u"It ends here. Next", 0, false), 13);
    EXPECT_EQ(findSentenceEnd(u"It ends here", 0, true), 12);
}

TEST(FindSentenceEnd, CutsARunawaySentenceAtABlank)
{
    const QString text = QStringLiteral("word ").repeated(500);
    const int end = findSentenceEnd(text, 0, false, 1000);
    EXPECT_GT(end, 900);
    EXPECT_LE(end, 1000);
    EXPECT_TRUE(text[end - 1].isSpace());
    const QString solid = QStringLiteral("x").repeated(3000);
    EXPECT_EQ(findSentenceEnd(solid, 0, false, 1000), 1000);
}

TEST(ReadingMoves, StepBySentenceAndParagraphAndStopAtTheEnds)
{
    const QString text = QStringLiteral("One apple. Two bees.\n\n  Three cats. Four dogs.\nFive eels.");
    const auto landsOn = [&](int position, ReadingMove move) {
        const std::optional<TextSpan> target = readingMoveTarget(text, position, move);
        return target ? text.mid(target->start, target->length) : QStringLiteral("(none)");
    };
    const int four = int(text.indexOf(QStringLiteral("dogs"))); // inside "Four dogs."
    EXPECT_EQ(landsOn(four, ReadingMove::NextSentence), QStringLiteral("Five eels."));
    EXPECT_EQ(landsOn(four, ReadingMove::PreviousSentence), QStringLiteral("Three cats."));
    EXPECT_EQ(landsOn(four, ReadingMove::SentenceAgain), QStringLiteral("Four dogs."));
    // Paragraphs skip the blank one and the blanks that open the next.
    EXPECT_EQ(landsOn(four, ReadingMove::PreviousParagraph), QStringLiteral("One apple. Two bees."));
    EXPECT_EQ(landsOn(0, ReadingMove::NextParagraph), QStringLiteral("Three cats. Four dogs."));
    // In the blanks between two sentences the one before is the current one.
    EXPECT_EQ(landsOn(int(text.indexOf(QStringLiteral("\n\n"))) + 1, ReadingMove::NextSentence),
              QStringLiteral("Three cats."));
    // At the ends: the first has no previous but itself, the last no next.
    EXPECT_EQ(landsOn(2, ReadingMove::PreviousSentence), QStringLiteral("One apple."));
    EXPECT_EQ(landsOn(int(text.size()), ReadingMove::NextSentence), QStringLiteral("(none)"));
    EXPECT_EQ(landsOn(int(text.size()), ReadingMove::NextParagraph), QStringLiteral("(none)"));
    EXPECT_FALSE(readingMoveTarget(QStringLiteral(" \n "), 0, ReadingMove::SentenceAgain));

    const TextSpan word = wordAt(text, int(text.indexOf(QStringLiteral("hree"))));
    EXPECT_EQ(text.mid(word.start, word.length), QStringLiteral("Three"));
    EXPECT_EQ(wordAt(text, 3), (TextSpan{3, 0})) << "a blank gives no word";
}

TEST(GivenText, IsCleanedForReadingOrRefusedWithAReason)
{
    QString problem;
    EXPECT_EQ(readableGivenText(QStringLiteral("  One\r\ntwo\rthree\u0007\tfour  "), &problem),
              QStringLiteral("One\ntwo\nthree\tfour"));
    EXPECT_TRUE(problem.isEmpty());
    QString binary;
    for (int i = 0; i < 1000; ++i)
        binary += QChar(i % 64 < 32 ? i % 32 : 'a' + i % 26);
    EXPECT_TRUE(readableGivenText(binary, &problem).isEmpty());
    EXPECT_EQ(problem, QStringLiteral("The clipboard holds no readable text."));
    // Fifty megabytes of a selection are refused before anything is done with them.
    EXPECT_TRUE(readableGivenText(QString(50'000'000, QLatin1Char('a')), &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("too long")));
}

TEST(PieceReader, CutsTextIntoSentencesWithSilencesBetweenAndKeepsSourcePositions)
{
    const QString text = QStringLiteral("<p>First one.</p> <silence msec=\"500\"/>Second &amp; last");
    const QList<SpeechPiece> pieces = speechPieces(text, true);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0].text, QStringLiteral("First one."));
    EXPECT_TRUE(pieces[0].startsSentence);
    EXPECT_TRUE(pieces[0].endsSentence);
    EXPECT_EQ(text.mid(pieces[0].sentence.start, pieces[0].sentence.length), QStringLiteral("First one."));
    EXPECT_EQ(pieces[1].kind, SpeechPiece::Silence);
    EXPECT_EQ(pieces[1].msec, 500);
    EXPECT_EQ(pieces[2].text, QStringLiteral("Second & last"));
    EXPECT_EQ(text.mid(pieces[2].sentence.start, pieces[2].sentence.length), QStringLiteral("Second &amp; last"));
    const TextSpan ampersand = pieces[2].sourceSpan({7, 1});
    EXPECT_EQ(text.mid(ampersand.start, ampersand.length), QStringLiteral("&amp;"));
    EXPECT_EQ(pieces[2].sourceEnd, text.size());
}

TEST(PieceReader, LineBreaksAndEmojiEndPiecesCleanly)
{
    const QList<SpeechPiece> pieces = speechPieces(QStringLiteral("Café 😀 naïve.\r\nNext line here? Yes!"), false);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[1].text, QStringLiteral("Next line here?"));
    EXPECT_EQ(pieces[1].sentence.start, 16); // the emoji counts two units, the line break two
}

TEST(PieceReader, SilencesAtEitherEndAndAloneAreKept)
{
    const QList<SpeechPiece> pieces =
        speechPieces(QStringLiteral("<silence msec='100'/>Hi.<silence msec='200'/><silence msec='300'/>"), true);
    ASSERT_EQ(pieces.size(), 4);
    EXPECT_EQ(pieces[0].msec, 100);
    EXPECT_EQ(pieces[1].text, QStringLiteral("Hi."));
    EXPECT_EQ(pieces[2].msec, 200);
    EXPECT_EQ(pieces[3].msec, 300);
    EXPECT_TRUE(speechPieces(QStringLiteral("  <b> </b> "), true).isEmpty());
}

TEST(PieceReader, ALongSentenceIsSynthesisedInPiecesButAnnouncedOnce)
{
    QString sentence;
    for (int i = 0; i < 30; ++i)
        sentence += QStringLiteral("clause number %1 goes on, ").arg(i);
    sentence += QStringLiteral("and ends.");
    const QList<SpeechPiece> pieces = speechPieces(sentence + QStringLiteral(" Next."), false);
    ASSERT_GT(pieces.size(), 3);
    int starts = 0;
    QString joined;
    for (const SpeechPiece& piece : pieces) {
        EXPECT_LE(piece.text.size(), PieceReader::PieceLength * 3 / 2);
        starts += piece.startsSentence ? 1 : 0;
        joined += (joined.isEmpty() ? QString() : QStringLiteral(" ")) + piece.text;
    }
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(pieces.first().sentence.length, sentence.size());
    EXPECT_EQ(joined, sentence + QStringLiteral(" Next."));
}

TEST(PieceReader, ReadsOnlyAsFarAsTheFirstSentenceNeeds)
{
    const QString huge =
        QStringLiteral("A short opening sentence. ") + QStringLiteral("More text follows here. ").repeated(200000);
    PieceReader reader(huge, false);
    SpeechPiece piece;
    ASSERT_TRUE(reader.next(piece));
    EXPECT_EQ(piece.text, QStringLiteral("A short opening sentence."));
    EXPECT_LT(piece.sourceEnd, 100);
}

} // namespace
