#include "SettingsTestSupport.h"
#include "window/main/MenuMarker.h"
#include "core/Errors.h"
#include "core/ProfileStrings.h"
#include "window/settings/MenuDecorator.h"
#include "window/settings/SettingsFile.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QMenu>
#include <QWidget>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

// The main window's choice menus and state, with every click recorded as "menu:caption".
class SettingsFileTest : public ::testing::Test
{
protected:
    TempAppFolder folder;
    QWidget window;
    QWidget* readerPanel = new QWidget(&window);
    QMenu* readers = menu(QStringLiteral("voice"), {QStringLiteral("English"), QStringLiteral("Microsoft Sam")});
    QMenu* speed = menu(QStringLiteral("speed"), {});
    QMenu* volume = menu(QStringLiteral("volume"), {});
    QMenu autoRead;
    QAction* singleWord = autoRead.addAction(QStringLiteral("Single Word"));
    QAction* sentence = autoRead.addAction(QStringLiteral("Sentence"));
    QAction* autoReadOff = autoRead.addAction(QStringLiteral("Auto Read Off"));
    quint8 autoReadMode = 2;
    qint32 spellingDelay = 10;
    AppearanceSettings appearance;
    MenuDecorator decorator;
    QStringList clicked;
    ReaderChoices choices{readers,     speed,        volume,        singleWord, sentence,  autoReadOff,
                          readerPanel, autoReadMode, spellingDelay, appearance, &decorator};

    SettingsFileTest()
    {
        for (int n = 1; n <= 10; ++n) {
            addItem(speed, QString::number(n));
            addItem(volume, QString::number(11 - n));
        }
        decorator.addMenu(readers);
    }
    QMenu* menu(const QString& name, const QStringList& items)
    {
        auto* submenu = new QMenu(&window);
        submenu->setObjectName(name + QLatin1Char(':'));
        for (const QString& caption : items)
            addItem(submenu, caption);
        return submenu;
    }
    void addItem(QMenu* submenu, const QString& caption)
    {
        QAction* item = submenu->addAction(caption);
        QObject::connect(item, &QAction::triggered, [=, this] { clicked << submenu->objectName() + caption; });
    }
    QString value(const QString& key) const
    {
        return ProfileStrings(folder.settings()).readString(ReaderSection, key, QStringLiteral("<missing>"));
    }
};

TEST_F(SettingsFileTest, WithoutASettingsFileTheDefaultsAreChosenAndClicked)
{
    readerPanel->hide();
    LoadSettings(choices, folder.settings());

    EXPECT_EQ(clicked, (QStringList{QStringLiteral("voice:Microsoft Sam"), QStringLiteral("volume:10"),
                                    QStringLiteral("speed:5")}));
    EXPECT_EQ(MarkedItemCaption(volume), QStringLiteral("10"));
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_TRUE(IsMarkedDefault(singleWord));
    EXPECT_FALSE(readerPanel->isHidden());
    EXPECT_EQ(spellingDelay, 15);
    EXPECT_EQ(appearance, AppearanceSettings{}); // black, sizes 10
    EXPECT_TRUE(decorator.isActive());
}

TEST_F(SettingsFileTest, StoredValuesInOtherFormsAndValuesThatMatchNothing)
{
    folder.write(QStringLiteral("Parlivo.ini"),
                 "[parlivo settings]\r\nreader=english\r\nVolume=0x0A\r\nSpeed=11\r\n"
                 "ReadALong=7\r\nReaderVisible=0\r\n"
                 "[CUSTOMISATION]\r\nStatusBarBColour=-2147483633\r\nAppFontSize=$E\r\n");
    MarkDefault(sentence);
    QString missingReader;
    choices.missingReader = &missingReader;
    LoadSettings(choices, folder.settings());

    // A voice named in other letter case is not the installed voice; the window is told which voice is gone.
    EXPECT_EQ(clicked, QStringList{QStringLiteral("volume:10")});
    EXPECT_EQ(missingReader, QStringLiteral("english"));
    EXPECT_EQ(MarkedItemCaption(readers), QString());
    EXPECT_EQ(MarkedItemCaption(speed), QString());
    EXPECT_EQ(autoReadMode, 2);
    EXPECT_TRUE(readerPanel->isHidden());
    EXPECT_EQ(appearance.StatusBarBColour, qint32(0x8000000F));
    EXPECT_EQ(appearance.AppFontSize, 14);

    // No speed item is marked: nothing at all is written at close.
    const QByteArray before = folder.read(QStringLiteral("Parlivo.ini"));
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(folder.read(QStringLiteral("Parlivo.ini")), before);

    // Once a speed is chosen, an unmarked auto-read submenu is written as sentence, the voice as empty.
    SelectItemByCaption(speed, QStringLiteral("3"));
    UnmarkDefault(sentence);
    SaveSettings(choices, folder.settings());
    EXPECT_EQ(value(QStringLiteral("ReadALong")), QStringLiteral("2"));
    EXPECT_EQ(value(QStringLiteral("Reader")), QString());
    EXPECT_EQ(value(QStringLiteral("ReaderVisible")), QStringLiteral("0"));
}

TEST_F(SettingsFileTest, ARunsChoicesAndTheUsersOwnLinesSurviveARestart)
{
    folder.write(
        QStringLiteral("Parlivo.ini"),
        "; Parlivo for room 4\r\n[Parlivo Settings]\r\nReader=English\r\nTeacher=Mrs Jones\r\nReadALong=0\r\n");
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff));

    SelectItemByCaption(speed, QStringLiteral("8"));
    SelectItemByCaption(volume, QStringLiteral("4"));
    MarkDefault(singleWord);
    UnmarkDefault(autoReadOff);
    appearance.AppFontSize = 16;
    appearance.ReaderBColour = qint32(0x8000000F);
    spellingDelay = 20;
    SaveSettings(choices, folder.settings());

    const QByteArray text = folder.read(QStringLiteral("Parlivo.ini"));
    EXPECT_TRUE(text.startsWith("; Parlivo for room 4\r\n"));
    EXPECT_TRUE(text.contains("Teacher=Mrs Jones\r\n"));
    EXPECT_EQ(value(QStringLiteral("Speed")), QStringLiteral("8"));
    EXPECT_EQ(value(QStringLiteral("Volume")), QStringLiteral("4"));

    const AppearanceSettings saved = appearance;
    appearance = {};
    spellingDelay = 10;
    clicked.clear();
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(appearance, saved);
    EXPECT_EQ(autoReadMode, 1);
    EXPECT_EQ(spellingDelay, 20);
    EXPECT_EQ(clicked,
              (QStringList{QStringLiteral("voice:English"), QStringLiteral("volume:4"), QStringLiteral("speed:8")}));
}

TEST_F(SettingsFileTest, FailuresSkipTheRestQuietly)
{
    // The voice cannot start: the later choices are skipped and auto-read is switched off.
    folder.write(QStringLiteral("Parlivo.ini"), "[Parlivo Settings]\nReader=English\nReadALong=2\nSpellingDelay=30\n");
    QObject::connect(readers->actions().first(), &QAction::triggered,
                     [] { throw SpeechError(QStringLiteral("The voice English cannot start")); });
    MarkDefault(singleWord);
    LoadSettings(choices, folder.settings());
    EXPECT_EQ(autoReadMode, 0);
    EXPECT_TRUE(IsMarkedDefault(autoReadOff) && !IsMarkedDefault(singleWord));
    EXPECT_EQ(MarkedItemCaption(volume), QString());
    EXPECT_EQ(spellingDelay, 10);
    EXPECT_TRUE(decorator.isActive());

    SelectItemByCaption(speed, QStringLiteral("5"));
    SelectItemByCaption(volume, QStringLiteral("10"));
    EXPECT_NO_THROW(SaveSettings(choices, folder.path(QStringLiteral("missing folder/Parlivo.ini"))));
}

// The folder a read-only install keeps its settings in, reported by a copy of this program run from that install.
const char* const kReportFolder = "PARLIVO_REPORT_APP_FOLDER";

// Not a test on its own, so it is disabled: the settings-location test runs a copy of this program with it selected.
TEST(SettingsLocationChild, DISABLED_ReportsTheApplicationFolder)
{
    if (qEnvironmentVariableIsEmpty(kReportFolder))
        GTEST_SKIP() << "runs only as the child of the settings-location test";
    std::printf("Application folder: %s\n", qPrintable(appFolder()));
}

// A folder no one may write to while it lives: no write permission and, for root whom permissions do not stop,
// the immutable attribute. Writable again when it goes, so that it can be removed.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(QString path) : m_path(std::move(path))
    {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
        if (!QFileInfo(m_path).isWritable())
            return;
        const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable) {
            const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString m_path;
    bool m_immutable = false;
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
        environment.insert(QString::fromLatin1(kReportFolder), QStringLiteral("1"));
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
