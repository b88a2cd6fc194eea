#include "core/ProcessRunner.h"
#include "core/DesktopFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

QString shell()
{
    return QStringLiteral("/bin/sh");
}

TEST(RunProgram, ReportsExitCodesAndPassesArgumentsUntouched)
{
    EXPECT_EQ(RunAndWait(shell(), {QStringLiteral("-c"), QStringLiteral("exit 7")}), 7);
    const RunResult ok = RunProgram(QStringLiteral("true"), {});
    EXPECT_TRUE(ok.started);
    EXPECT_FALSE(ok.timedOut);
    EXPECT_EQ(ok.exitCode, 0);

    // Each argument reaches the program whole: no shell splits or expands it, and no length limit applies.
    const QString tricky = QStringLiteral("a b;c $(echo x) 'q' ") + QString(5000, QLatin1Char('z'));
    EXPECT_EQ(RunAndWait(shell(), {QStringLiteral("-c"), QStringLiteral("[ \"$1\" = \"$2\" ]"), QStringLiteral("sh"),
                                   tricky, tricky}),
              0);
    EXPECT_EQ(RunAndWait(shell(), {QStringLiteral("-c"), QStringLiteral("[ \"$1\" = \"$2\" ]"), QStringLiteral("sh"),
                                   tricky, QStringLiteral("other")}),
              1);
}

TEST(RunProgram, MissingProgramIsNotStartedAndGivesZeroAtOnce)
{
    QElapsedTimer clock;
    clock.start();
    const RunResult result = RunProgram(QStringLiteral("/nonexistent/parlivo-no-such-program"), {});
    EXPECT_FALSE(result.started);
    EXPECT_EQ(RunAndWait(QStringLiteral("parlivo-no-such-program"), {QStringLiteral("x")}), 0);
    EXPECT_LT(clock.elapsed(), 2000);
}

bool processRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return !line.mid(line.lastIndexOf(')') + 2).startsWith('Z');
}

TEST(RunProgram, HungProgramIsKilledWithItsHelpersAtTheLimit)
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("helper.pid"));
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);

    QElapsedTimer clock;
    clock.start();
    const RunResult result = RunProgram(
        shell(), {QStringLiteral("-c"), QStringLiteral("sleep 30 & echo $! > \"$0\"; wait"), pidFile}, 400ms);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.timedOut);
    EXPECT_NE(result.exitCode, 0);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_GT(ticks, 3) << "the wait must keep the event loop turning";

    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const qint64 helper = file.readAll().trimmed().toLongLong();
    ASSERT_GT(helper, 0);
    QThread::msleep(100);
    EXPECT_FALSE(processRunning(helper));
}

// A helper started in the background goes when its program is stopped, and when its program ends by itself.
TEST(RunProgram, AStopRequestOrTheProgramsEndTakesItsHelpersAlong)
{
    QTemporaryDir dir;
    const QString pidFile = dir.filePath(QStringLiteral("helper.pid"));
    const auto helper = [&] {
        QFile file(pidFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
    };
    std::atomic<bool> stop{false};
    QTimer::singleShot(300, [&] { stop = true; });
    QElapsedTimer clock;
    clock.start();
    const RunResult stopped =
        RunProgram(shell(), {QStringLiteral("-c"), QStringLiteral("sleep 30 & echo $! > \"$0\"; wait"), pidFile},
                   std::chrono::minutes(1), {}, &stop);
    EXPECT_TRUE(stopped.stopped);
    EXPECT_FALSE(stopped.timedOut);
    EXPECT_EQ(stopped.exitCode, -1);
    EXPECT_LT(clock.elapsed(), 2000);
    ASSERT_GT(helper(), 0);
    EXPECT_FALSE(processRunning(helper()));

    const RunResult finished =
        RunProgram(shell(), {QStringLiteral("-c"), QStringLiteral("sleep 30 & echo $! > \"$0\""), pidFile});
    EXPECT_EQ(finished.exitCode, 0);
    EXPECT_FALSE(finished.stopped);
    QThread::msleep(100);
    EXPECT_FALSE(processRunning(helper()));
}

TEST(RunProgram, CrashIsNotReportedAsSuccess)
{
    const RunResult result = RunProgram(shell(), {QStringLiteral("-c"), QStringLiteral("kill -SEGV $$")});
    EXPECT_TRUE(result.crashed);
    EXPECT_NE(RunAndWait(shell(), {QStringLiteral("-c"), QStringLiteral("kill -KILL $$")}), 0);
}

class ListFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkpath(QStringLiteral("schemes/folder.pvc"));
        for (const char* name : {"Blue.pvc", ".hidden.pvc", "LOUD.PVC", "[odd] name.pvc", "notes.txt", "a.pvcx"}) {
            QFile file(dir.filePath(QStringLiteral("schemes/") + QString::fromUtf8(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    QTemporaryDir dir;
};

TEST_F(ListFilesTest, AppendsBareNamesOfMatchingFilesOnly)
{
    QStringList list{QStringLiteral("kept")};
    ListFiles(dir.filePath(QStringLiteral("schemes/*.pvc")), list);
    list.sort();
    EXPECT_EQ(list, (QStringList{QStringLiteral(".hidden.pvc"), QStringLiteral("Blue.pvc"), QStringLiteral("LOUD.PVC"),
                                 QStringLiteral("[odd] name.pvc"), QStringLiteral("kept")}));
}

TEST_F(ListFilesTest, FindsFolderWrittenInOtherLetterCase)
{
    QStringList list;
    ListFiles(dir.filePath(QStringLiteral("Schemes/B?ue.*")), list);
    EXPECT_EQ(list, QStringList{QStringLiteral("Blue.pvc")});
}

TEST_F(ListFilesTest, LeavesListAloneWhenNothingMatches)
{
    QStringList list{QStringLiteral("kept")};
    ListFiles(dir.filePath(QStringLiteral("schemes/*.xyz")), list);
    ListFiles(dir.filePath(QStringLiteral("missing/*.pvc")), list);
    EXPECT_EQ(list, QStringList{QStringLiteral("kept")});
}

// Receives what the desktop would be asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.append(url); }
};

TEST(ShellOpen, HandsAddressesAndFilesToTheDesktop)
{
    UrlCatcher catcher;
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("read me.txt"));
    QFile(file).open(QIODevice::WriteOnly);

    ShellOpen(QString());
    ShellOpen(QStringLiteral("https://example.org/a?b=1"));
    ShellOpen(QStringLiteral("www.example.org"));
    ShellOpen(file);
    for (const char* scheme : {"http", "https", "file"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));

    ASSERT_EQ(catcher.urls.size(), 3);
    EXPECT_EQ(catcher.urls[0], QUrl(QStringLiteral("https://example.org/a?b=1")));
    EXPECT_EQ(catcher.urls[1].host(), QStringLiteral("www.example.org"));
    EXPECT_EQ(catcher.urls[2], QUrl::fromLocalFile(file));
}

} // namespace

#include "ProcessAndFilesTest.moc"
