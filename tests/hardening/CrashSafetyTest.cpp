// Every file the program saves survives the program being killed in the middle of saving it: afterwards the
// file on disk is always the whole old version or the whole new one, never a mix or a stub.
#include "window/readingarea/DocumentSaver.h"
#include "core/Errors.h"
#include "core/ProfileStrings.h"
#include "window/settings/ColourSchemes.h"
#include "window/spelling/SpellingFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

const char* const ChildKind = "PARLIVO_SAVE_LOOP_KIND";
const char* const ChildPath = "PARLIVO_SAVE_LOOP_PATH";
constexpr int KillsPerKind = 100;

// Two versions of each saved file, of different lengths so that a cut-off or mixed file shows.
QString versionText(int version)
{
    QString text;
    const int paragraphs = version == 0 ? 300 : 700;
    for (int i = 0; i < paragraphs; ++i)
        text += QStringLiteral("Version %1, paragraph %2: the quick brown fox jumps over the lazy dog.\n")
                    .arg(version)
                    .arg(i);
    return text;
}

QStringList versionLines(int version)
{
    QStringList lines{QStringLiteral("Introduction of version %1").arg(version), QStringLiteral("Well done")};
    for (int i = 0; i < (version == 0 ? 400 : 900); ++i)
        lines << QStringLiteral("word%1v%2,%3").arg(i).arg(version).arg(10 + i % 50);
    return lines;
}

// Saves one version of the file with the program's own save routine.
void saveVersion(const QString& kind, const QString& path, int version)
{
    if (kind == QLatin1String("txt") || kind == QLatin1String("rtf")) {
        static QTextEdit areas[2];
        QTextEdit& area = areas[version];
        if (area.document()->isEmpty())
            area.setPlainText(versionText(version));
        writeReadingArea(&area, path, kind == QLatin1String("txt") ? SaveFormat::PlainText : SaveFormat::RichText);
    } else if (kind == QLatin1String("pvt")) {
        WriteSpellingLines(path, versionLines(version));
    } else if (kind == QLatin1String("pvc")) {
        QStringList lines{QStringLiteral("[Scheme]")};
        lines += versionLines(version);
        WriteTextLines(path, lines);
    } else if (kind == QLatin1String("ini")) {
        ProfileStrings(path).writeString(QStringLiteral("Parlivo Settings"), QStringLiteral("Reader"),
                                         versionText(version).left(version == 0 ? 100 : 1500).replace(u'\n', u' '));
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

struct SaveKind
{
    const char* extension;
};

// Keeps the test names readable in ctest's list.
void PrintTo(const SaveKind& kind, std::ostream* out)
{
    *out << kind.extension;
}

class CrashSafety : public ::testing::TestWithParam<SaveKind>
{
};

} // namespace

// Not a test on its own, so it is disabled: the crash-safety test runs this program again with this test selected, and
// this saves the two versions of a file in turn until it is killed.
TEST(CrashSafetyChild, DISABLED_SavesInALoopUntilKilled)
{
    if (qEnvironmentVariableIsEmpty(ChildKind))
        GTEST_SKIP() << "runs only as the child of the crash-safety test";
    const QString kind = qEnvironmentVariable(ChildKind);
    const QString path = qEnvironmentVariable(ChildPath);
    for (int round = 0;; ++round) {
        saveVersion(kind, path, round % 2);
        if (round == 0) {
            std::fputs("saving\n", stdout);
            std::fflush(stdout);
        }
    }
}

TEST_P(CrashSafety, KilledWhileSavingLeavesTheOldOrTheNewFile)
{
    const QString kind = QString::fromLatin1(GetParam().extension);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("saved.") + kind);
    QByteArray versions[2];
    QElapsedTimer clock;
    qint64 slowestSave = 0;
    for (int version : {1, 0, 1, 0}) {
        clock.start();
        saveVersion(kind, path, version);
        slowestSave = std::max(slowestSave, clock.nsecsElapsed() / 1000);
        versions[version] = readAll(path);
    }
    ASSERT_NE(versions[0], versions[1]);
    // Kills land anywhere in the first few saves of the loop, however long a save takes on this machine.
    const int killWindow = static_cast<int>(std::max<qint64>(20000, 4 * slowestSave));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildKind), kind);
    environment.insert(QString::fromLatin1(ChildPath), path);
    // The child saves version 0 first, over the version 0 already there; the file only changes when a save in
    // the loop has gone all the way to the disk.
    QByteArray previous = versions[0];
    int changes = 0;
    for (int kill = 0; kill < KillsPerKind; ++kill) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=CrashSafetyChild.DISABLED_SavesInALoopUntilKilled"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        ASSERT_TRUE(child.waitForStarted(10000));
        // The kill lands at a random moment once saving is under way.
        while (!child.canReadLine())
            ASSERT_TRUE(child.waitForReadyRead(20000)) << "the saving child did not start saving";
        QThread::usleep(QRandomGenerator::global()->bounded(killWindow));
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));

        const QByteArray onDisk = readAll(path);
        ASSERT_TRUE(onDisk == versions[0] || onDisk == versions[1])
            << "after kill " << kill << " the " << kind.toStdString() << " file holds " << onDisk.size()
            << " bytes that are neither version (" << versions[0].size() << " or " << versions[1].size() << ")";
        changes += onDisk != previous;
        previous = onDisk;
    }
    EXPECT_GE(changes, 2) << "across " << KillsPerKind << " kills the " << kind.toStdString()
                          << " file never went to the new version and back: the saves did not reach the disk";
}

// A disk that fills up part-way through a save (here a file-size limit, which fails the write the same way)
// must leave the old file whole and report the failure.
TEST_P(CrashSafety, ADiskThatFillsUpKeepsTheOldFile)
{
    const QString kind = QString::fromLatin1(GetParam().extension);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("saved.") + kind);
    saveVersion(kind, path, 0);
    const QByteArray old = readAll(path);
    saveVersion(kind, path, 1);
    const qsizetype newSize = readAll(path).size();
    saveVersion(kind, path, 0);
    ASSERT_LT(old.size(), newSize);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = rlim_t((old.size() + newSize) / 2);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool threw = false;
    QString message;
    try {
        saveVersion(kind, path, 1);
    } catch (const ParlivoError& error) {
        threw = true;
        message = error.message();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(threw) << "a save that did not reach the disk was reported as done";
    EXPECT_TRUE(message.contains(QStringLiteral("larger than this system allows"))) << message.toStdString();
    EXPECT_EQ(readAll(path), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QFileInfo(path).fileName()})
        << "the unfinished copy must not stay behind";
}

// A save replaces a regular file or makes a new one; a named pipe or a device at the name is refused and stays as it
// was, never swapped for a file.
TEST_P(CrashSafety, APipeOrADeviceAtTheNameIsRefusedAndLeftAsItIs)
{
    const QString kind = QString::fromLatin1(GetParam().extension);
    QTemporaryDir folder;
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("pipe.") + kind));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
    const QByteArray device = QFile::encodeName(folder.filePath(QStringLiteral("device.") + kind));
    const bool madeDevice = ::mknod(device.constData(), S_IFCHR | 0644, makedev(1, 3)) == 0;
    for (const QByteArray& node : madeDevice ? QList<QByteArray>{pipe, device} : QList<QByteArray>{pipe}) {
        try {
            saveVersion(kind, QFile::decodeName(node), 0);
            ADD_FAILURE() << node.constData() << " was saved over";
        } catch (const ParlivoError& error) {
            EXPECT_TRUE(error.message().contains(QStringLiteral("is not a regular file"))) << error.what();
        }
    }
    struct stat status;
    ASSERT_EQ(::stat(pipe.constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    if (madeDevice) {
        ASSERT_EQ(::stat(device.constData(), &status), 0);
        EXPECT_TRUE(S_ISCHR(status.st_mode));
    }
}

INSTANTIATE_TEST_SUITE_P(EverySavedFile, CrashSafety,
                         ::testing::Values(SaveKind{"txt"}, SaveKind{"rtf"}, SaveKind{"pvt"}, SaveKind{"pvc"},
                                           SaveKind{"ini"}),
                         [](const auto& info) { return std::string(info.param.extension); });
