#include "SpellingSupport.h"

#include "platform/Errors.h"
#include "spelling/SpellingFile.h"

#include <QFileInfo>
#include <algorithm>

using SpellingFile = SpellingFixture;

TEST(SpellingLines, SplitAtEveryKindOfLineEndWithoutATrailingEmptyLine)
{
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("a\r\nb\rc\nd")),
              QStringList({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("Hello\r\nBye\r\n")),
              QStringList({QStringLiteral("Hello"), QStringLiteral("Bye")}));
    // An empty line between two line ends is kept; a lone CR followed by LF is one line end, not two.
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("a\r\n\r\nb\n\r")),
              QStringList({QStringLiteral("a"), QString(), QStringLiteral("b"), QString()}));
    EXPECT_TRUE(SplitSpellingLines(QString()).isEmpty());
    EXPECT_EQ(SplitSpellingLines(QStringLiteral("\r\n")), QStringList({QString()}));
}

TEST(SpellingLines, WordLineSplitsAtTheFirstComma)
{
    const WordLine cat = SplitWordLine(QStringLiteral("cat,20"));
    EXPECT_EQ(cat.word, QStringLiteral("cat"));
    EXPECT_EQ(cat.seconds, QStringLiteral("20"));
    const WordLine second = SplitWordLine(QStringLiteral("cat,1,5"));
    EXPECT_EQ(second.word, QStringLiteral("cat"));
    EXPECT_EQ(second.seconds, QStringLiteral("1,5"));
    const WordLine none = SplitWordLine(QStringLiteral("cat 20"));
    EXPECT_EQ(none.word, QString());
    EXPECT_EQ(none.seconds, QStringLiteral("cat 20"));
    const WordLine empty = SplitWordLine(QStringLiteral(",5"));
    EXPECT_EQ(empty.word, QString());
    EXPECT_EQ(empty.seconds, QStringLiteral("5"));
}

TEST(SpellingLines, TestWordsSkipTheRemarksAndBlankLines)
{
    QStringList lines{
        QStringLiteral("Intro"), QStringLiteral("Bye"), QStringLiteral("cat,5"), QStringLiteral(" \t"), QString(),
        QStringLiteral("dog,5")};
    EXPECT_EQ(TestWordLines(lines), QStringList({QStringLiteral("cat,5"), QStringLiteral("dog,5")}));
    EXPECT_TRUE(TestWordLines({QStringLiteral("Intro")}).isEmpty());
    for (int i = 0; i < 60; ++i)
        lines << QStringLiteral("w%1,3").arg(i);
    EXPECT_EQ(TestWordLines(lines).size(), 62) << "the test and the assistant take any number of words";
}

TEST(SpellingLines, DisplayNameAndSpelledOutWord)
{
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/week3.pvt")), QStringLiteral("week3"));
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/Week 1 - animals.pvt")), QStringLiteral("Week 1 - animals"));
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/abc")), QStringLiteral("abc"));
    EXPECT_EQ(DisplayName(QStringLiteral("/tests/abcd")), QString());
    EXPECT_EQ(SpelledOut(QStringLiteral("dog")), QStringLiteral("d o g"));
    EXPECT_EQ(SpelledOut(QStringLiteral("élève")), QStringLiteral("é l è v e"));
    EXPECT_EQ(SpelledOut(QString()), QString());
}

TEST(SpellingLines, RemarkOverSeveralLinesBecomesOneLine)
{
    EXPECT_EQ(OneLine(QStringLiteral("Listen carefully.\nGood luck!")), QStringLiteral("Listen carefully. Good luck!"));
    EXPECT_EQ(OneLine(QStringLiteral("One\r\n\r\n\ntwo\n")), QStringLiteral("One two"));
    EXPECT_EQ(OneLine(QStringLiteral("  as typed, with commas  ")), QStringLiteral("  as typed, with commas  "));
}

TEST_F(SpellingFile, ZeroByteEndsTheText)
{
    const QString file = writeFile(QStringLiteral("zero.pvt"), QByteArray("Intro\r\nBye\r\ncat,5\0dog,5\r\n", 25));
    EXPECT_EQ(ReadSpellingLines(file),
              QStringList({QStringLiteral("Intro"), QStringLiteral("Bye"), QStringLiteral("cat,5")}));
}

TEST_F(SpellingFile, ReadsWindows1252AndUtf8Files)
{
    // "Café" in Windows-1252, with the euro sign of its 0x80 byte.
    const QString ansi = writeFile(QStringLiteral("ansi.pvt"), QByteArray("Caf\xe9 \x80\r\nBye\r\n\xe9l\xe8ve,15\r\n"));
    EXPECT_EQ(ReadSpellingLines(ansi),
              QStringList({QStringLiteral("Café €"), QStringLiteral("Bye"), QStringLiteral("élève,15")}));
    const QString utf8 = writeFile(QStringLiteral("utf8.pvt"), QStringLiteral("Café\r\nBye\r\nélève,15").toUtf8());
    EXPECT_EQ(ReadSpellingLines(utf8),
              QStringList({QStringLiteral("Café"), QStringLiteral("Bye"), QStringLiteral("élève,15")}));
}

TEST_F(SpellingFile, WritesEveryLineWithCrLfInWindows1252WhenItFits)
{
    const QString file = path(QStringLiteral("out.pvt"));
    WriteSpellingLines(file,
                       {QStringLiteral("Bonjour, écoutez."), QStringLiteral("Au revoir"), QStringLiteral("garçon,20")});
    EXPECT_EQ(readFile(file), QByteArray("Bonjour, \xe9\x63outez.\r\nAu revoir\r\ngar\xe7on,20\r\n"));
    EXPECT_EQ(ReadSpellingLines(file).at(2), QStringLiteral("garçon,20"));
}

TEST_F(SpellingFile, WritesUtf8WhenALetterIsOutsideWindows1252)
{
    const QStringList lines{QStringLiteral("Łódź"), QStringLiteral("Koniec"), QStringLiteral("źdźbło,20"),
                            QStringLiteral("café,10")};
    const QString file = path(QStringLiteral("polish.pvt"));
    WriteSpellingLines(file, lines);
    EXPECT_EQ(readFile(file), QStringLiteral("Łódź\r\nKoniec\r\nźdźbło,20\r\ncafé,10\r\n").toUtf8());
    EXPECT_EQ(ReadSpellingLines(file), lines);
}

TEST_F(SpellingFile, FailuresCarryTheSystemTextAndKeepTheOldFile)
{
    try {
        ReadSpellingLines(path(QStringLiteral("missing.pvt")));
        FAIL() << "a missing file was read";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("No such file or directory"))) << error.what();
    }
    try {
        WriteSpellingLines(path(QStringLiteral("no folder/out.pvt")), {QStringLiteral("a"), QStringLiteral("b")});
        FAIL() << "a file was written into a missing folder";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("no folder"))) << error.what();
    }

    const QString file = writeFile(QStringLiteral("kept.pvt"), "Old\r\nFile\r\n");
    QFile::setPermissions(file, QFileDevice::ReadOwner);
    if (QFileInfo(file).isWritable())
        GTEST_SKIP() << "running as a user who may write read-only files";
    EXPECT_THROW(WriteSpellingLines(file, {QStringLiteral("New")}), FileError);
    EXPECT_EQ(readFile(file), QByteArray("Old\r\nFile\r\n"));
}

TEST(ShippedLists, AreWellFormedSpellingFiles)
{
    const QDir appFolder(
        QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../../resources/appfolder")));
    int files = 0;
    for (const QString folder : {QStringLiteral("Spelling Test Files"), QStringLiteral("Lists")}) {
        const QDir lists(appFolder.filePath(folder));
        for (const QString& name : lists.entryList({QStringLiteral("*.pvt")}, QDir::Files)) {
            ++files;
            const QStringList lines = ReadSpellingLines(lists.filePath(name));
            ASSERT_GT(TestWordLines(lines).size(), 0) << name.toStdString();
            for (const QString& line : TestWordLines(lines)) {
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
