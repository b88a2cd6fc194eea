#include "core/SingleInstance.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

TEST(SingleInstance, ASecondCopyIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir folder;
    auto first = std::make_unique<SingleInstance>(QStringLiteral("Parlivo"), folder.path());
    ASSERT_TRUE(first->acquire());
    SingleInstance second(QStringLiteral("Parlivo"), folder.path());
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, TheLockOfAKilledCopyDoesNotBlockTheNextStart)
{
    QTemporaryDir folder;
    // A copy that was killed leaves its lock file behind, naming a process that no longer runs.
    QProcess victim;
    victim.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(victim.waitForStarted());
    const qint64 pid = victim.processId();
    victim.kill();
    victim.waitForFinished();

    SingleInstance probe(QStringLiteral("Parlivo"), folder.path());
    QFile stale(probe.lockPath());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write(QByteArray::number(pid) + "\nparlivo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();

    EXPECT_TRUE(probe.acquire());
}

TEST(SingleInstance, ALaterStartHandsItsDocumentToTheRunningCopy)
{
    QTemporaryDir folder;
    SingleInstance running(QStringLiteral("Parlivo"), folder.path());
    ASSERT_TRUE(running.acquire());
    SingleInstance later(QStringLiteral("Parlivo"), folder.path());
    // Nobody listens yet (a copy of an older version): the later start falls back to its message.
    EXPECT_FALSE(later.handOff(QStringLiteral("/tmp/none.pdf")));

    QStringList opened;
    running.listen([&opened](const QString& path) { opened << path; });
    const QString document = QStringLiteral(u"/home/learner/Worksheets/café sheet.pdf");
    // The later start waits for the answer, so it runs beside the running copy's event loop.
    bool handed = false;
    std::unique_ptr<QThread> start(QThread::create([&] { handed = later.handOff(document); }));
    QEventLoop loop;
    QObject::connect(start.get(), &QThread::finished, &loop, &QEventLoop::quit);
    start->start();
    loop.exec();
    QCoreApplication::processEvents();
    EXPECT_TRUE(handed);
    EXPECT_EQ(opened, QStringList{document});
}
