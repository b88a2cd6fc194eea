#pragma once

#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

// Plays the user under the test's X server: `xdotool` with these arguments, failing the test when it cannot run.
inline void xdotool(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    ASSERT_TRUE(process.waitForFinished()) << "xdotool did not run";
    ASSERT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}
