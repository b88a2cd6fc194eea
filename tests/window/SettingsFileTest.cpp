#include "SettingsTestSupport.h"
#include "fakes/ScriptedSpeechEngine.h"
#include "core/ProfileStrings.h"
#include "speech/ReadingModel.h"
#include "window/settings/SettingsFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// A reading model over a scripted voice and the window's own settings, with every voice announced recorded.
class SettingsFileTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    ScriptedSpeechEngine* engine = new ScriptedSpeechEngine;
    Voice voice{std::unique_ptr<SpeechEngine>(engine)};
    ReadingModel model{voice};
    WindowSettings window;
    QStringList announced;

    SettingsFileTest()
    {
        engine->installed = {{QStringLiteral("en"), QStringLiteral("English")},
                             {QStringLiteral("sam"), QStringLiteral("Microsoft Sam")}};
        model.setVoices(voice.GetVoices());
    }
    QString load() { return loadReporting().missingReader; }
    SettingsRestored loadReporting()
    {
        return LoadSettings(
            model, window, [this] { announced << model.voice(); }, folder.settings());
    }
    QString save() { return SaveSettings(model, window, folder.settings()); }
    QString value(const QString& key) const
    {
        return ProfileStrings(folder.settings()).readString(ReaderSection, key, QStringLiteral("<missing>"));
    }
};

TEST_F(SettingsFileTest, WithoutASettingsFileTheDefaultsAreChosenAndTheVoiceTakesThem)
{
    window.readerVisible = false;
    EXPECT_EQ(load(), QString());

    EXPECT_EQ(announced, QStringList{QStringLiteral("Microsoft Sam")});
    EXPECT_EQ(engine->voiceId, QStringLiteral("sam"));
    EXPECT_EQ(model.volume(), 10);
    EXPECT_EQ(engine->volume, 100);
    EXPECT_EQ(model.speed(), 5);
    EXPECT_EQ(engine->rate, -1);
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::SingleWord);
    EXPECT_TRUE(window.readerVisible);
    EXPECT_EQ(window.spellingDelay, 15);
    EXPECT_EQ(window.appearance, AppearanceSettings{}); // black, sizes 10
}

TEST_F(SettingsFileTest, StoredValuesInOtherFormsAndValuesThatMatchNothing)
{
    folder.write(QStringLiteral("Parlivo.ini"),
                 "[parlivo settings]\r\nreader=english\r\nVolume=0x0A\r\nSpeed=11\r\n"
                 "ReadALong=7\r\nReaderVisible=0\r\n"
                 "[CUSTOMISATION]\r\nStatusBarBColour=-2147483633\r\nAppFontSize=$E\r\n");
    // A voice named in other letter case is not the installed voice; the window is told which voice is gone.
    const SettingsRestored restored = loadReporting();
    EXPECT_EQ(restored.missingReader, QStringLiteral("english"));
    EXPECT_TRUE(announced.isEmpty());
    EXPECT_EQ(model.voice(), QString());
    EXPECT_EQ(model.volume(), 10);
    EXPECT_EQ(model.speed(), 10) << "a speed beyond the fastest is the fastest";
    EXPECT_EQ(restored.corrected, QStringList{QStringLiteral("Speed=11 \u2192 10")});
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::Sentence) << "an unknown mode leaves the mode as it was";
    EXPECT_FALSE(window.readerVisible);
    EXPECT_EQ(window.appearance.StatusBarBColour, qint32(0x8000000F));
    EXPECT_EQ(window.appearance.AppFontSize, 14);

    // The mode is written as a number and the voice as empty.
    EXPECT_EQ(save(), QString());
    EXPECT_EQ(value(QStringLiteral("ReadALong")), QStringLiteral("2"));
    EXPECT_EQ(value(QStringLiteral("Speed")), QStringLiteral("10"));
    EXPECT_EQ(value(QStringLiteral("Reader")), QString());
    EXPECT_EQ(value(QStringLiteral("ReaderVisible")), QStringLiteral("0"));
}

TEST_F(SettingsFileTest, HostileValuesArePutRightAndNoLongerStopTheSaving)
{
    // A volume below the quietest once left no volume chosen, and then no setting at all was ever saved again.
    folder.write(QStringLiteral("Parlivo.ini"), "[Parlivo Settings]\r\nVolume=-5\r\nSpeed=loud\r\n"
                                                "[Customisation]\r\nTextAreaFColour=16777215\r\n"
                                                "TextAreaBColour=15790320\r\nStatusBarFColour=0\r\n"
                                                "AppFontSize=400\r\nTextFontSize=0\r\n");
    const SettingsRestored restored = loadReporting();
    EXPECT_EQ(model.volume(), 1);
    EXPECT_EQ(model.speed(), 5);
    // White text on a near-white page becomes black; the status bar's black on the missing (black) background is
    // given white; sizes come within what the window can show.
    EXPECT_EQ(restored.corrected,
              (QStringList{QStringLiteral("Volume=-5 \u2192 1"), QStringLiteral("Speed=loud \u2192 5"),
                           QStringLiteral("AppFontSize=400 \u2192 24"), QStringLiteral("TextFontSize=0 \u2192 8"),
                           QStringLiteral("TextAreaFColour=16777215 \u2192 0"),
                           QStringLiteral("StatusBarFColour=0 \u2192 16777215")}));
    EXPECT_EQ(window.appearance.ToolbarFColour, 0) << "colours the file does not hold stay as they were";

    model.setSpeed(8);
    EXPECT_EQ(save(), QString());
    EXPECT_EQ(value(QStringLiteral("Speed")), QStringLiteral("8"));
    EXPECT_EQ(value(QStringLiteral("Volume")), QStringLiteral("1"));

    // A save that cannot be made says why.
    EXPECT_TRUE(SaveSettings(model, window, folder.path(QStringLiteral("missing folder/Parlivo.ini")))
                    .contains(QStringLiteral("missing folder/Parlivo.ini")));
}

TEST_F(SettingsFileTest, ARunsChoicesAndTheUsersOwnLinesSurviveARestart)
{
    folder.write(
        QStringLiteral("Parlivo.ini"),
        "; Parlivo for room 4\r\n[Parlivo Settings]\r\nReader=English\r\nTeacher=Mrs Jones\r\nReadALong=0\r\n");
    load();
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::Off);

    model.setSpeed(8);
    model.setVolume(4);
    model.setAutoReadMode(AutoReadMode::SingleWord);
    window.appearance.AppFontSize = 16;
    window.appearance.ReaderBColour = qint32(0x8000000F);
    // Light pages under the default black text (black on black would be put right at the next start).
    for (qint32* background : {&window.appearance.ToolbarBColour, &window.appearance.TextAreaBColour,
                               &window.appearance.StatusBarBColour})
        *background = 0xF0F0F0;
    window.spellingDelay = 20;
    save();

    const QByteArray text = folder.read(QStringLiteral("Parlivo.ini"));
    EXPECT_TRUE(text.startsWith("; Parlivo for room 4\r\n"));
    EXPECT_TRUE(text.contains("Teacher=Mrs Jones\r\n"));
    EXPECT_EQ(value(QStringLiteral("Speed")), QStringLiteral("8"));
    EXPECT_EQ(value(QStringLiteral("Volume")), QStringLiteral("4"));

    const WindowSettings saved = window;
    window = {};
    model.setSpeed(1);
    model.setAutoReadMode(AutoReadMode::Off);
    announced.clear();
    load();
    EXPECT_EQ(window.appearance, saved.appearance);
    EXPECT_EQ(window.spellingDelay, 20);
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::SingleWord);
    EXPECT_EQ(announced, QStringList{QStringLiteral("English")});
    EXPECT_EQ(engine->rate, 6);
    EXPECT_EQ(engine->volume, 40);
}

TEST_F(SettingsFileTest, AnOlderSettingsFileLoadsIntoTheModelAndSavesBackByteForByte)
{
    // Every key the program writes, laid out and valued as older versions wrote them.
    const QByteArray older = "[Parlivo Settings]\r\nReaderVisible=0\r\nVolume=7\r\nSpeed=3\r\nReadALong=2\r\n"
                             "SpellingDelay=15\r\nReader=English\r\n\r\n"
                             "[Customisation]\r\nToolbarFColour=2956820\r\nToolbarBColour=15788258\r\n"
                             "LocationFColour=0\r\nLocationBColour=16777215\r\nTextAreaFColour=0\r\n"
                             "TextAreaBColour=16777215\r\nSettingsFColour=2956820\r\nSettingsBColour=15788258\r\n"
                             "StatusBarFColour=-2147483640\r\nStatusBarBColour=-2147483633\r\n"
                             "SeperatorFColour=2956820\r\nSeperatorBColour=15788258\r\nReaderFColour=2956820\r\n"
                             "ReaderBColour=15257790\r\nAppFontSize=11\r\nTextFontSize=16\r\n\r\n"
                             "[Reading Aids]\r\nFontFamily=OpenDyslexic\r\nOverrideDocumentFonts=1\r\n"
                             "LineSpacing=150\r\nLetterSpacing=120\r\nLineFocus=3\r\nLineFocusWhenIdle=0\r\n"
                             "Syllables=1\r\n";
    folder.write(QStringLiteral("Parlivo.ini"), older);
    load();
    EXPECT_EQ(model.voice(), QStringLiteral("English"));
    EXPECT_EQ(model.speed(), 3);
    EXPECT_EQ(model.volume(), 7);
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::Sentence);
    EXPECT_EQ(engine->rate, -5);
    EXPECT_EQ(engine->volume, 70);
    EXPECT_FALSE(window.readerVisible);
    EXPECT_EQ(window.readingAids.FocusLines, 3);

    save();
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), older);
}

TEST_F(SettingsFileTest, FailuresSkipTheRestQuietly)
{
    // The voice cannot start: the later choices are skipped and auto-read is switched off.
    folder.write(QStringLiteral("Parlivo.ini"), "[Parlivo Settings]\nReader=English\nReadALong=2\nSpellingDelay=30\n");
    engine->failingVoice = QStringLiteral("en");
    model.setAutoReadMode(AutoReadMode::SingleWord);
    load();
    EXPECT_TRUE(announced.isEmpty());
    EXPECT_EQ(model.voice(), QStringLiteral("English")) << "the user's choice is kept for the next run";
    EXPECT_EQ(model.autoReadMode(), AutoReadMode::Off);
    EXPECT_EQ(model.volume(), std::nullopt);
    EXPECT_EQ(window.spellingDelay, 10);
}

// The folder a read-only install keeps its settings in, reported by a copy of this program run from that install.
const char* const ReportFolder = "PARLIVO_REPORT_APP_FOLDER";

// Not a test on its own, so it is disabled: the settings-location test runs a copy of this program with it selected.
TEST(SettingsLocationChild, DISABLED_ReportsTheApplicationFolder)
{
    if (qEnvironmentVariableIsEmpty(ReportFolder))
        GTEST_SKIP() << "runs only as the child of the settings-location test";
    std::printf("Application folder: %s\n", qPrintable(appFolder()));
}

// A folder no one may write to while it lives: no write permission and, for root whom permissions do not stop,
// the immutable attribute. Writable again when it goes, so that it can be removed.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString path) : mPath(std::move(path))
    {
        QFile::setPermissions(mPath, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        if (!QFileInfo(mPath).isWritable())
            return;
        const int fd = ::open(QFile::encodeName(mPath).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            mImmutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~ReadOnlyFolder()
    {
        if (mImmutable) {
            const int fd = ::open(QFile::encodeName(mPath).constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
        QFile::setPermissions(mPath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString mPath;
    bool mImmutable = false;
};

TEST(SettingsLocation, AReadOnlyInstallKeepsSettingsInTheUsersDataFolderSeededOnce)
{
    QTemporaryDir root;
    const QDir install(root.filePath(QStringLiteral("install")));
    const QString data = root.filePath(QStringLiteral("data"));
    ASSERT_TRUE(QDir().mkpath(install.filePath(QStringLiteral("schemes"))) &&
                QDir().mkpath(install.filePath(QStringLiteral("Lists"))) &&
                QDir().mkpath(install.filePath(QStringLiteral("Spelling Test Files"))));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const QByteArray shippedSettings = "[Parlivo Settings]\r\nReader=English\r\n";
    const QByteArray shippedScheme = "[Scheme]\r\nFontName=Arial\r\n";
    const QByteArray shippedList = "Hi\r\nBye\r\ncat,5\r\n";
    ASSERT_TRUE(write(install.filePath(QStringLiteral("Parlivo.ini")), shippedSettings));
    ASSERT_TRUE(write(install.filePath(QStringLiteral("schemes/Night.pvc")), shippedScheme));
    ASSERT_TRUE(write(install.filePath(QStringLiteral("Lists/animals.pvt")), shippedList));
    ASSERT_TRUE(write(install.filePath(QStringLiteral("Spelling Test Files/week 1.pvt")), shippedList));
    ASSERT_TRUE(write(install.filePath(QStringLiteral("README.txt")), "not settings"));
    // The program is this test program, linked or copied into the install.
    const QString program = install.filePath(QStringLiteral("parlivo-tests"));
    const bool linked = ::link(QFile::encodeName(QCoreApplication::applicationFilePath()).constData(),
                               QFile::encodeName(program).constData()) == 0;
    ASSERT_TRUE(linked || QFile::copy(QCoreApplication::applicationFilePath(), program));
    const QStringList installed = install.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const ReadOnlyFolder readOnly(install.path());
    if (QFileInfo(install.path()).isWritable())
        GTEST_SKIP() << "running as root on a file system without the immutable attribute: no folder here is "
                        "read-only to this test";

    const auto runInstalledProgram = [&] {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ReportFolder), QStringLiteral("1"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), data);
        child.setProcessEnvironment(environment);
        child.start(program, {QStringLiteral("--gtest_filter=SettingsLocationChild.*"),
                              QStringLiteral("--gtest_also_run_disabled_tests")});
        EXPECT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        const QString marker = QStringLiteral("Application folder: ");
        for (const QString& line : QString::fromUtf8(child.readAllStandardOutput()).split(u'\n')) {
            if (line.startsWith(marker))
                return line.mid(marker.size());
        }
        return QString();
    };
    const QString user = data + QStringLiteral("/Parlivo/");
    const auto read = [&user](const QString& relative) {
        QFile file(user + relative);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };

    ASSERT_TRUE(runInstalledProgram() == user) << "the settings folder is the user's, not the install";
    EXPECT_EQ(read(QStringLiteral("Parlivo.ini")), shippedSettings);
    EXPECT_EQ(read(QStringLiteral("schemes/Night.pvc")), shippedScheme);
    EXPECT_EQ(read(QStringLiteral("Lists/animals.pvt")), shippedList);
    EXPECT_EQ(read(QStringLiteral("Spelling Test Files/week 1.pvt")), shippedList);
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("README.txt")));
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("parlivo-tests")));

    // The user's own changes are theirs: a later start does not seed the folder again.
    const QByteArray changed = "[Parlivo Settings]\r\nReader=Anna\r\n";
    ASSERT_TRUE(write(user + QStringLiteral("Parlivo.ini"), changed));
    ASSERT_TRUE(QFile::remove(user + QStringLiteral("schemes/Night.pvc")));
    EXPECT_TRUE(runInstalledProgram() == user);
    EXPECT_EQ(read(QStringLiteral("Parlivo.ini")), changed);
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral("schemes/Night.pvc")));
    EXPECT_EQ(install.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), installed);
}

} // namespace
