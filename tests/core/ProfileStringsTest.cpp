#include "core/Errors.h"
#include "core/ProfileStrings.h"

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
    ProfileStrings ini{path};

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

TEST_F(ProfileStringsTest, ReadsIgnoreLetterCaseTakeTheFirstOfDuplicatesAndFallBackToDefaults)
{
    EXPECT_EQ(ini.readString(u"A", u"B", QStringLiteral("none")), QStringLiteral("none")); // no file yet
    writeFile("Reader=outside any section\r\n"
              "[parlivo SETTINGS]\r\n"
              "  reader  =   Microsoft Sam  \r\n"
              "Reader=second\r\n"
              "Quoted=\"  spaced  \"\r\n"
              "Empty=\r\n"
              "Long=" +
              QByteArray(5000, 'x') +
              "\r\n"
              "[Parlivo Settings]\r\n"
              "Speed=9\r\n"
              "[Other]\r\n"
              "Speed=3\r\n");
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"READER", {}), QStringLiteral("Microsoft Sam"));
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"Quoted", {}), QStringLiteral("  spaced  "));
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"Empty", QStringLiteral("d")), QString());
    EXPECT_EQ(ini.readString(u"Parlivo Settings", u"Long", {}).size(), ProfileValueLimit);
    // The second section of the same name is never reached, and other sections' keys do not leak in.
    EXPECT_EQ(ini.readInteger(u"Parlivo Settings", u"Speed", 5), 5);
    EXPECT_EQ(ini.readInteger(u"other", u"speed", 5), 3);

    // A file that several editors saved, each adding its byte-order mark, still starts with its first section.
    writeFile("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF[Parlivo Settings]\r\nSpeed=7\r\n[Parlivo Settings]\r\nSpeed=2\r\n");
    EXPECT_EQ(ini.readInteger(u"Parlivo Settings", u"Speed", 5), 7);
}

TEST(ProfileIntegerTest, ReadsDecimalAndBothHexadecimalFormsAndRejectsTheRest)
{
    EXPECT_EQ(ParseProfileInteger(u"-2147483633"), -2147483633);
    EXPECT_EQ(ParseProfileInteger(u"+7"), 7);
    EXPECT_EQ(ParseProfileInteger(u"0x0A"), 10);
    EXPECT_EQ(ParseProfileInteger(u"0XfF"), 255);
    EXPECT_EQ(ParseProfileInteger(u"$0A"), 10);
    EXPECT_EQ(ParseProfileInteger(u"-$10"), -16);
    // System colours written by hand in hexadecimal wrap into the signed range, as the stored decimals do.
    EXPECT_EQ(ParseProfileInteger(u"$8000000F"), qint32(0x8000000F));
    EXPECT_EQ(ParseProfileInteger(u"-2147483648"), std::numeric_limits<qint32>::min());
    for (const char16_t* bad : {u"", u"0x", u"$", u"-", u"12a", u"1 2", u"2147483648", u"$123456789", u"ten"})
        EXPECT_FALSE(ParseProfileInteger(bad).has_value()) << QString::fromUtf16(bad).toStdString();
}

TEST_F(ProfileStringsTest, WritesKeepTheUsersLinesAndBytes)
{
    writeFile("; my notes about Parlivo, caf\xE9\n"
              "\n"
              "[Parlivo Settings]\n"
              "speed=3\n"
              "MyOwnKey=hello\n"
              "\n"
              "[Customisation]\n"
              "AppFontSize=12\n");
    ini.writeInteger(QStringLiteral("PARLIVO SETTINGS"), QStringLiteral("Speed"), 8);
    ini.writeInteger(QStringLiteral("Parlivo Settings"), QStringLiteral("Volume"), 4);
    ini.writeString(QStringLiteral("New Section"), QStringLiteral("Reader"), QStringLiteral("Zo\u00EB\r\nTwo"));

    EXPECT_EQ(readFile(), QByteArray("; my notes about Parlivo, caf\xE9\r\n"
                                     "\r\n"
                                     "[Parlivo Settings]\r\n"
                                     "Speed=8\r\n"
                                     "MyOwnKey=hello\r\n"
                                     "Volume=4\r\n"
                                     "\r\n"
                                     "[Customisation]\r\n"
                                     "AppFontSize=12\r\n"
                                     "\r\n"
                                     "[New Section]\r\n"
                                     "Reader=Zo\xEB  Two\r\n"));
    EXPECT_EQ(ini.readString(u"new section", u"reader", {}), QStringLiteral("Zo\u00EB  Two"));
}

TEST_F(ProfileStringsTest, AFailedWriteLeavesTheOldFileWhole)
{
    const QByteArray before = "[A]\r\nK=1\r\n";
    writeFile(before);
    // A file-size limit makes the write stop half-way, as a full disk would.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(ini.writeString(QStringLiteral("A"), QStringLiteral("K"), QString(4000, QLatin1Char('x'))), FileError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(readFile(), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Parlivo.ini")});
}

} // namespace
