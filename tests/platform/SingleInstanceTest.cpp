#include "platform/SingleInstance.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
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
