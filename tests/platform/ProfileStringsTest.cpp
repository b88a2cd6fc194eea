#include "platform/Errors.h"
#include "platform/ProfileStrings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

class ProfileStringsTest : public ::testing::Test
{
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("Parlivo.ini"));

    void writeFile(const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray readFile() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(ProfileStringsTest, FindsSectionsAndKeysWithoutRegardToCaseAndTakesTheFirstOfDuplicates)
{
    writeFile("; settings\r\n"
              "Reader=outside any section\r\n"
              "[parlivo SETTINGS]\r\n"
              "  reader  =   Microsoft Sam  \r\n"
              "Reader=second\r\n"
              "Quoted=\"  spaced  \"\r\n"
              "Empty=\r\n"
              "[Parlivo Settings]\r\n"
              "Speed=9\r\n"
              "[Other]\r\n"
              "Speed=3\r\n");
    const ProfileStrings ini(path);
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"READER", QStringLiteral("x")), QStringLiteral("Microsoft Sam"));
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"Quoted", QString()), QStringLiteral("  spaced  "));
    // A key that is present but empty reads as empty, not as the default.
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"Empty", QStringLiteral("d")), QString());
    // The second section of the same name is never reached, and keys of other sections do not leak in.
    EXPECT_EQ(ini.readInteger(u"Parlivo Settings", u"Speed", 5), 5);
    EXPECT_EQ(ini.readInteger(u"other", u"speed", 5), 3);
    EXPECT_EQ(ini.readString(u"Missing", u"Reader", QStringLiteral("d")), QStringLiteral("d"));
}

TEST_F(ProfileStringsTest, MissingFileAndLongValues)
{
    const ProfileStrings missing(folder.filePath(QStringLiteral("none.ini")));
    EXPECT_EQ(missing.readString(u"A", u"B", QStringLiteral("default")), QStringLiteral("default"));
    EXPECT_EQ(missing.readInteger(u"A", u"B", 15), 15);

    writeFile("[A]\nLong=" + QByteArray(5000, 'x') + "\n");
    EXPECT_EQ(ProfileStrings(path).readString(u"A", u"Long", QString()).size(), ProfileValueLimit);
}

TEST(ProfileIntegerTest, ReadsDecimalAndBothHexadecimalFormsAndRejectsTheRest)
{
    EXPECT_EQ(ParseProfileInteger(u"10"), 10);
    EXPECT_EQ(ParseProfileInteger(u"-2147483633"), -2147483633);
    EXPECT_EQ(ParseProfileInteger(u"+7"), 7);
    EXPECT_EQ(ParseProfileInteger(u"0x0A"), 10);
    EXPECT_EQ(ParseProfileInteger(u"0XfF"), 255);
    EXPECT_EQ(ParseProfileInteger(u"$0A"), 10);
    EXPECT_EQ(ParseProfileInteger(u"-$10"), -16);
    // System colours written by hand in hexadecimal wrap into the signed range as the stored decimals do.
    EXPECT_EQ(ParseProfileInteger(u"$8000000F"), qint32(0x8000000F));
    EXPECT_EQ(ParseProfileInteger(u"-2147483648"), std::numeric_limits<qint32>::min());

    for (const char16_t* bad : {u"", u"0x", u"$", u"-", u"12a", u"1 2", u"2147483648", u"$123456789", u"0x1g", u"ten"})
        EXPECT_FALSE(ParseProfileInteger(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST_F(ProfileStringsTest, IntegersFallBackToTheDefaultWhenMalformed)
{
    writeFile("[S]\nVolume=0x0A\nSpeed=fast\nDelay= 15 \nHex=0x\n");
    const ProfileStrings ini(path);
    EXPECT_EQ(ini.readInteger(u"S", u"Volume", 1), 10);
    EXPECT_EQ(ini.readInteger(u"S", u"Speed", 5), 5);
    EXPECT_EQ(ini.readInteger(u"S", u"Delay", 0), 15);
    EXPECT_EQ(ini.readInteger(u"S", u"Hex", 4), 4);
}

TEST_F(ProfileStringsTest, WritesKeepCommentsBlankLinesUnknownKeysAndTheirOrder)
{
    writeFile("; my notes about Parlivo\n"
              "\n"
              "[Parlivo Settings]\n"
              "# keep me\n"
              "speed=3\n"
              "MyOwnKey=hello\n"
              "\n"
              "[Customisation]\n"
              "AppFontSize=12\n");
    const ProfileStrings ini(path);
    ini.writeInteger(QStringLiteral("PARLIVO SETTINGS"), QStringLiteral("Speed"), 8);
    ini.writeInteger(QStringLiteral("Parlivo Settings"), QStringLiteral("Volume"), 4);
    ini.writeInteger(QStringLiteral("Customisation"), QStringLiteral("TextFontSize"), 14);
    ini.writeString(QStringLiteral("New Section"), QStringLiteral("Key"), QStringLiteral("two\r\nlines"));

    EXPECT_EQ(readFile(), QByteArray("; my notes about Parlivo\r\n"
                                     "\r\n"
                                     "[Parlivo Settings]\r\n"
                                     "# keep me\r\n"
                                     "Speed=8\r\n"
                                     "MyOwnKey=hello\r\n"
                                     "Volume=4\r\n"
                                     "\r\n"
                                     "[Customisation]\r\n"
                                     "AppFontSize=12\r\n"
                                     "TextFontSize=14\r\n"
                                     "\r\n"
                                     "[New Section]\r\n"
                                     "Key=two  lines\r\n"));
    EXPECT_EQ(ini.readInteger(u"Parlivo Settings", u"speed", 0), 8);
}

TEST_F(ProfileStringsTest, NewFileAndSingleByteText)
{
    const ProfileStrings ini(path);
    ini.writeString(QStringLiteral("Parlivo Settings"), QStringLiteral("Reader"), QStringLiteral("Zoë"));
    EXPECT_EQ(readFile(), QByteArray("[Parlivo Settings]\r\nReader=Zo\xEB\r\n"));

    // A Windows-1252 comment written by another program survives a write byte for byte.
    writeFile("; caf\xE9\r\n[A]\r\nK=1\r\n");
    ini.writeInteger(QStringLiteral("A"), QStringLiteral("K"), 2);
    EXPECT_EQ(readFile(), QByteArray("; caf\xE9\r\n[A]\r\nK=2\r\n"));
    EXPECT_EQ(ProfileStrings(path).readString(u"A", u"K", QString()), QStringLiteral("2"));
}

TEST_F(ProfileStringsTest, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray before = "[A]\r\nK=1\r\n";
    writeFile(before);

    // The file-size limit makes the write fail half-way, as a full disk would.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    bool threw = false;
    try {
        ProfileStrings(path).writeString(QStringLiteral("A"), QStringLiteral("K"), QString(4000, QLatin1Char('x')));
    } catch (const FileError&) {
        threw = true;
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(threw);
    EXPECT_EQ(readFile(), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Parlivo.ini")});
}

TEST(ProfileDocumentTest, RemovesOnlyTheKeyOfItsSection)
{
    ProfileDocument document = ProfileDocument::fromText(QStringLiteral("[A]\nK=1\n[B]\nk=2\n"));
    EXPECT_TRUE(document.removeKey(u"b", u"K"));
    EXPECT_FALSE(document.removeKey(u"B", u"K"));
    EXPECT_EQ(document.toText(), QStringLiteral("[A]\r\nK=1\r\n[B]\r\n"));
}

} // namespace
