#include "SpellingSupport.h"

#include "core/Errors.h"
#include "window/spelling/SpellingFile.h"

#include <QFileInfo>
#include <algorithm>

namespace {
// "a|b|c" as a list of lines.
QStringList lines(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char('|'));
}
} // namespace

using SpellingFile = SpellingFixture;

TEST(SpellingLines, SplitAtEveryKindOfLineEndWithoutATrailingEmptyLine)
{
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("a\r\nb\rc\nd")), lines("a|b|c|d"));
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("Hello\r\nBye\r\n")), lines("Hello|Bye"));
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("a\r\n\r\nb\n\r")), lines("a||b|"));
    EXPECT_TRUE(SplitSpellingLines(QString()).isEmpty());
}

TEST(SpellingLines, WordLinesSplitAtTheFirstCommaAndBlankOnesAreDropped)
{
    const WordLine second = SplitWordLine(QStringLiteral("cat,1,5"));
    EXPECT_EQ(QStringList({second.word, second.seconds}), lines("cat|1,5"));
    const WordLine none = SplitWordLine(QStringLiteral("cat 20"));
    EXPECT_EQ(QStringList({none.word, none.seconds}), lines("|cat 20"));

    QStringList file = lines("Intro|Bye|cat,5| \t||dog,5");
    EXPECT_EQ(TestWordLines(file), lines("cat,5|dog,5"));
    for (int i = 0; i < 60; ++i)
        file << QStringLiteral("w%1,3").arg(i);
    EXPECT_EQ(TestWordLines(file).size(), 62) << "the test and the assistant take any number of words";
}

TEST(SpellingLines, DisplayNameSpelledOutWordAndOneLineRemark)
{
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/Week 1.pvt")), QStringLiteral("Week 1"));
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/abc")), QStringLiteral("abc"));
    EXPECT_EQ(SpelledOut(QStringLiteral("élève")), QStringLiteral("é l è v e"));
    EXPECT_EQ(OneLine(QStringLiteral("Listen.\r\n\r\nGood luck!\n")), QStringLiteral("Listen. Good luck!"));
    EXPECT_EQ(OneLine(QStringLiteral("  as typed, with commas  ")), QStringLiteral("  as typed, with commas  "));
}

TEST_F(SpellingFile, ReadsWindows1252AndUtf8UpToAZeroByte)
{
    const QString ansi = writeFile(QStringLiteral("ansi.pvt"), QByteArray("Caf\xe9 \x80\r\nBye\r\n\xe9l\xe8ve,15\r\n"));
    EXPECT_EQ(ReadSpellingLines(ansi), lines("Café €|Bye|élève,15"));
    const QString utf8 = writeFile(QStringLiteral("utf8.pvt"), QStringLiteral("Café\r\nBye\r\nélève,15").toUtf8());
    EXPECT_EQ(ReadSpellingLines(utf8), lines("Café|Bye|élève,15"));
    const QString zero = writeFile(QStringLiteral("zero.pvt"), QByteArray("Hi\r\nBye\r\ncat,5\0dog,5\r\n", 22));
    EXPECT_EQ(ReadSpellingLines(zero), lines("Hi|Bye|cat,5"));
}

TEST_F(SpellingFile, WritesCrLfLinesInWindows1252WhenTheyFitElseUtf8)
{
    const QString file = path(QStringLiteral("out.pvt"));
    WriteSpellingLines(file, lines("Bonjour, écoutez.|Au revoir|garçon,20"));
    EXPECT_EQ(readFile(file), QByteArray("Bonjour, \xe9\x63outez.\r\nAu revoir\r\ngar\xe7on,20\r\n"));

    WriteSpellingLines(file, lines("Łódź|Koniec|źdźbło,20|café,10"));
    EXPECT_EQ(readFile(file), QStringLiteral("Łódź\r\nKoniec\r\nźdźbło,20\r\ncafé,10\r\n").toUtf8());
    EXPECT_EQ(ReadSpellingLines(file), lines("Łódź|Koniec|źdźbło,20|café,10"));
}

TEST_F(SpellingFile, FailuresCarryTheSystemTextAndKeepTheOldFile)
{
    try {
        ReadSpellingLines(path(QStringLiteral("missing.pvt")));
        FAIL() << "a missing file was read";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("No such file or directory"))) << error.what();
    }
    EXPECT_THROW(WriteSpellingLines(path(QStringLiteral("no folder/out.pvt")), lines("a|b")), FileError);

    const QString file = writeFile(QStringLiteral("kept.pvt"), "Old\r\nFile\r\n");
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    if (QFileInfo(file).isWritable())
        GTEST_SKIP() << "running as a user who may write read-only files";
    EXPECT_THROW(WriteSpellingLines(file, lines("New")), FileError);
    EXPECT_EQ(readFile(file), QByteArray("Old\r\nFile\r\n"));
}

TEST(ShippedLists, AreWellFormedSpellingFiles)
{
    const QDir appFolder(QStringLiteral(PARLIVO_SOURCE_DIR "/resources/appfolder"));
    int files = 0;
    for (const QString& folder : {QStringLiteral("Spelling Test Files"), QStringLiteral("Lists")}) {
        const QDir lists(appFolder.filePath(folder));
        for (const QString& name : lists.entryList({QStringLiteral("*.pvt")}, QDir::Files)) {
            ++files;
            const QStringList words = TestWordLines(ReadSpellingLines(lists.filePath(name)));
            ASSERT_GT(words.size(), 0) << name.toStdString();
            for (const QString& line : words) {
                const WordLine word = SplitWordLine(line);
                EXPECT_TRUE(!word.word.isEmpty() && word.word.size() <= Spelling::MaxWordLength &&
                            std::all_of(word.word.begin(), word.word.end(), [](QChar ch) { return ch.isLetter(); }))
                    << name.toStdString() << ": " << line.toStdString();
                EXPECT_NO_THROW(StrToInt(word.seconds)) << name.toStdString() << ": " << line.toStdString();
            }
        }
    }
    EXPECT_GE(files, 3);
}
