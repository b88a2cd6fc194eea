// A learner's typed text and their settings outlive the window however it ends: a crash, a logout's SIGTERM.
#include "window/main/MainWindow.h"
#include "window/main/Program.h"
#include "window/main/ReaderBar.h"
#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"
#include "core/AppFolder.h"
#include "core/ProfileStrings.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <cstdio>
#include <gtest/gtest.h>
#include <signal.h>

namespace {
const char* const ChildFolder = "PARLIVO_ENDED_WINDOW_FOLDER";
const QString Typed = QStringLiteral("Yesterday we went to the museum and saw a whale skeleton");

std::unique_ptr<MainWindow> newReader()
{
    auto engine = std::make_unique<ScriptedSpeechEngine>();
    engine->installed = {{QStringLiteral("en-gb"), QStringLiteral("English (Great Britain)")}};
    return std::make_unique<MainWindow>(std::move(engine));
}

QString setting(const QString& folder, const QString& key)
{
    return ProfileStrings(folder + QStringLiteral("/Parlivo.ini"))
        .readString(QStringLiteral("Parlivo Settings"), key, QStringLiteral("<missing>"));
}
} // namespace

// Not a test on its own, so it is disabled: the test below runs this program again with it selected, as the window
// a learner types in until the session ends it.
TEST(EndedWindowChild, DISABLED_TypesUntilEnded)
{
    if (qEnvironmentVariableIsEmpty(ChildFolder))
        GTEST_SKIP() << "runs only as the child of the ended-window test";
    setAppFolder(qEnvironmentVariable(ChildFolder));
    ScriptedPrompts prompts;
    const std::unique_ptr<MainWindow> reader = newReader();
    ASSERT_TRUE(reader->FormCreate());
    reader->show();
    KeepWorkAtTheEnd(*reader);
    QApplication::setActiveWindow(reader.get());
    reader->reText->setFocus();
    QTest::keyClicks(reader->reText, Typed);
    reader->findChild<QAction*>(QStringLiteral("miSpeed8"))->trigger();
    reader->ShowFloatingReaderBar(true);
    reader->floatingReaderBar()->move(300, 200);
    std::puts("typed");
    std::fflush(stdout);
    QApplication::exec();
}

TEST(EndedWindow, TypedTextAndSettingsOutliveACrashAndASignalToEnd)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("schemes"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildFolder), folder.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=EndedWindowChild.*"),
                                                          QStringLiteral("--gtest_also_run_disabled_tests")});
    while (!child.canReadLine())
        ASSERT_TRUE(child.waitForReadyRead(30000)) << "the window did not start";

    // What a crash would leave: the speed as soon as it changed, the typing a few seconds after it stopped.
    const QString draft = folder.filePath(QStringLiteral("Parlivo draft.rtf"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(draft); }, 10000));
    EXPECT_EQ(setting(folder.path(), QStringLiteral("Speed")), QStringLiteral("8"));

    // A logout's SIGTERM: the window keeps the rest (where the floating bar was put) and ends as on Exit.
    ::kill(static_cast<pid_t>(child.processId()), SIGTERM);
    ASSERT_TRUE(child.waitForFinished(20000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
    EXPECT_EQ(setting(folder.path(), QStringLiteral("ReaderBarPlace")), QStringLiteral("300,200"));

    // The next start puts the typing back and says so.
    setAppFolder(folder.path());
    ScriptedPrompts prompts;
    const std::unique_ptr<MainWindow> reader = newReader();
    ASSERT_TRUE(reader->FormCreate());
    EXPECT_EQ(reader->reText->toPlainText(), Typed);
    EXPECT_TRUE(reader->statusBar->text().contains(QStringLiteral("never saved")));
    EXPECT_EQ(reader->model().speed(), 8);

    // With nowhere to write (the program's folder and the data folder read-only), a change says it was not saved.
    setAppFolder(folder.filePath(QStringLiteral("no such folder")));
    reader->findChild<QAction*>(QStringLiteral("miSpeed3"))->trigger();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return reader->statusBar->text().contains(QStringLiteral("could not be saved")); }));
    setAppFolder(folder.path());

    // Cleared, and the window closed with Exit: nothing comes back.
    reader->ClearReadingArea();
    reader->ExitReader();
    EXPECT_FALSE(QFileInfo::exists(draft));
    EXPECT_TRUE(prompts.messages.isEmpty());
}
