// The pronunciation list: how it loads, what it says instead, and how positions come back to the written text.
#include "speech/EspeakEngine.h"
#include "speech/Pronunciations.h"

#include <QElapsedTimer>
#include <QLocale>
#include <gtest/gtest.h>

TEST(Pronunciations, ValidLinesLoadAndTheRestAreReportedOnce)
{
    PronunciationProblems problems;
    const QString text = QStringLiteral("# names in class 4\n"
                                        "Siobhan = shiv awn\r\n"
                                        "no equals sign\n"
                                        "=nothing written\n"
                                        "nothing spoken=\n"
                                        "two words=too\n") +
                         QString(1 << 20, QLatin1Char('x')) + QStringLiteral("=long\n") +
                         QString::fromLatin1("\x01\x02\xff=\x03\n") + QStringLiteral("PARLIVO=par lee voh\n");
    const PronunciationList list = PronunciationList::fromText(text, &problems);
    EXPECT_EQ(list.written(), (QStringList{QStringLiteral("Siobhan"), QStringLiteral("PARLIVO")}));
    EXPECT_EQ(problems.count, 6);
    EXPECT_EQ(problems.first.first(),
              QStringLiteral("line 3 (there is no \"=\" between the word and how it is said): no equals sign"));
    EXPECT_EQ(PronunciationList::fromText(list.toText()).toText(), list.toText()) << "saved and read again";
}

// A class list pasted in twice, and a file of a million damaged lines: both load at once, and the damage is told in
// a line that shows no raw bytes.
TEST(Pronunciations, LongRepeatedAndDamagedListsLoadQuicklyAndAreSummedUp)
{
    QString text;
    for (int pass = 0; pass < 2; ++pass)
        for (int word = 0; word < 100'000; ++word)
            text +=
                QStringLiteral("Name%1=name %1%2\n").arg(word).arg(pass == 0 ? QString() : QStringLiteral(" again"));
    text += QStringLiteral("name7=seven\n");
    QElapsedTimer clock;
    clock.start();
    const PronunciationList list = PronunciationList::fromText(text);
    EXPECT_LT(clock.elapsed(), 10'000);
    EXPECT_EQ(list.size(), 100'000);
    EXPECT_EQ(list.spokenFor(QStringLiteral("NAME5")), QStringLiteral("name 5 again")) << "the later line wins";
    EXPECT_EQ(list.spokenFor(QStringLiteral("Name7")), QStringLiteral("seven"));
    EXPECT_EQ(list.written().last(), QStringLiteral("name7")) << "and takes the later place";

    PronunciationProblems problems;
    QString damaged = QStringLiteral("ok=okay\n");
    damaged += QString::fromLatin1("\x01\x1b[31m\x7f no equals\n").repeated(1'000'000);
    PronunciationList::fromText(damaged, &problems);
    EXPECT_EQ(problems.count, 1'000'000);
    const QString summary = problems.summary();
    EXPECT_LT(summary.size(), 400);
    EXPECT_TRUE(summary.startsWith(QLocale().toString(1'000'000) +
                                   QStringLiteral(" lines could not be read; the first: line 2 (")))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("\\u0001\\u001B[31m\\u007F no equals"))) << summary.toStdString();
    EXPECT_FALSE(std::any_of(summary.begin(), summary.end(), [](QChar c) { return c.unicode() < 0x20; }));
}

TEST(Pronunciations, WholeWordsAnyCaseAreReplacedAndPositionsComeBackToTheWrittenWords)
{
    const PronunciationList list =
        PronunciationList::fromText(QStringLiteral("Siobhan=shiv awn\nparlivo=par lee voh\nDr=doctor\n"));
    const QString written = QStringLiteral("SIOBHAN likes Parlivo, not Parlivos. <b>Dr</b> Who.");
    SpokenTextMap map;
    const QString spoken = list.apply(written, true, &map);
    EXPECT_EQ(spoken, QStringLiteral("shiv awn likes par lee voh, not Parlivos. <b>doctor</b> Who."));
    // Each word the voice reports selects the word as written.
    auto writtenOf = [&](const QString& word) {
        const auto [position, length] = map.toWritten(int(spoken.indexOf(word)), int(word.size()));
        return written.mid(position, length);
    };
    EXPECT_EQ(writtenOf(QStringLiteral("shiv")), QStringLiteral("SIOBHAN"));
    EXPECT_EQ(writtenOf(QStringLiteral("lee")), QStringLiteral("Parlivo"));
    EXPECT_EQ(writtenOf(QStringLiteral("likes")), QStringLiteral("likes"));
    EXPECT_EQ(writtenOf(QStringLiteral("Parlivos")), QStringLiteral("Parlivos"));
    EXPECT_EQ(writtenOf(QStringLiteral("Who")), QStringLiteral("Who"));
    // A sentence keeps its whole written span.
    const auto [start, length] = map.toWritten(0, int(spoken.indexOf(QLatin1Char('.')) + 1));
    EXPECT_EQ(written.mid(start, length), QStringLiteral("SIOBHAN likes Parlivo, not Parlivos."));
}

TEST(Pronunciations, TheSpokenFormIsWhatIsHeard)
{
    EspeakEngine::Options options;
    options.useClock = true;
    EspeakEngine engine(options);
    const PronunciationList list =
        PronunciationList::fromText(QStringLiteral("NASA=national aeronautics and space administration\n"));
    auto rendered = [&engine](const QString& text) {
        QByteArray pcm;
        engine.render(text, false, [&pcm](const QByteArray& stretch) { pcm += stretch; }, {});
        return pcm;
    };
    const qsizetype listed = rendered(list.apply(QStringLiteral("NASA is here."), false)).size();
    EXPECT_NEAR(double(listed),
                double(rendered(QStringLiteral("national aeronautics and space administration is here.")).size()),
                4000.0);
    EXPECT_GT(listed, 2 * rendered(QStringLiteral("NASA is here.")).size()) << "the audio changes";
}
