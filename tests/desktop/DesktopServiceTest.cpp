// The desktop service driven as another program drives it: real calls through a private session bus (tools/test.sh
// starts one), real X11 selections set with xclip, and the parlivo program handing a request to this running copy.
#include "window/main/MainWindow.h"
#include "window/main/DesktopService.h"
#include "fakes/ScriptedPrompts.h"
#include "core/AppFolder.h"
#include "core/GivenText.h"
#include "speech/EspeakEngine.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

// What a client of the service hears of the reading state.
class StateListener : public QObject
{
    Q_OBJECT
public:
    QStringList states;
public slots:
    void changed(const QString& state) { states.append(state); }
};

namespace {
class DesktopServiceCalls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        if (!QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a session bus (tools/test.sh starts one)";
        setAppFolder(folder.path());
        EspeakEngine::Options options;
        options.useClock = true;
        options.clockSpeed = 3;
        reader = std::make_unique<MainWindow>(std::make_unique<EspeakEngine>(options));
        ASSERT_TRUE(reader->FormCreate());
        reader->show();
        service = std::make_unique<DesktopService>(*reader);
        ASSERT_TRUE(service->start());
        QObject::connect(reader->spVoice, &Voice::OnWord,
                         [this](const SpeechEvent&) { words << reader->reText->textCursor().selectedText(); });
        ASSERT_TRUE(client.isConnected());
        client.connect(DesktopService::ServiceName, DesktopService::ObjectPath, DesktopService::ServiceName,
                       QStringLiteral("ReadingStateChanged"), &listener, SLOT(changed(QString)));
    }

    void TearDown() override
    {
        if (reader)
            reader->StopReading();
        service.reset();
        QDBusConnection::sessionBus().unregisterService(DesktopService::ServiceName);
        QDBusConnection::sessionBus().unregisterObject(DesktopService::ObjectPath);
        for (QProcess* owner : {&primary, &clipboard}) {
            owner->kill();
            owner->waitForFinished();
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
    }

    // Calls a method from a connection of its own, as another program would, and waits for the answer with the
    // event loop running. Returns the error message, empty on success.
    QString call(const QString& method, const QVariantList& arguments = {},
                 const QString& interface = DesktopService::ServiceName, QVariant* answer = nullptr)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(DesktopService::ServiceName, DesktopService::ObjectPath, interface, method);
        message.setArguments(arguments);
        words.clear();
        QDBusPendingCallWatcher watcher(client.asyncCall(message));
        EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.isFinished(); }, 10000)) << method.toStdString();
        if (answer && !watcher.isError())
            *answer = watcher.reply().arguments().value(0).value<QDBusVariant>().variant();
        return watcher.isError() ? watcher.error().message() : QString();
    }

    QString readingStateProperty()
    {
        QVariant state;
        call(QStringLiteral("Get"), {DesktopService::ServiceName, QStringLiteral("ReadingState")},
             QStringLiteral("org.freedesktop.DBus.Properties"), &state);
        return state.toString();
    }

    // Offers `data` as an X11 selection ("primary" or "clipboard") from another program, xclip.
    void offer(QProcess& owner, const QString& selection, const QByteArray& data,
               const QString& type = QStringLiteral("UTF8_STRING"))
    {
        owner.kill();
        owner.waitForFinished();
        owner.start(QStringLiteral("xclip"),
                    {QStringLiteral("-quiet"), QStringLiteral("-selection"), selection, QStringLiteral("-t"), type});
        ASSERT_TRUE(owner.waitForStarted()) << "xclip sets the selections";
        owner.write(data);
        owner.closeWriteChannel();
        QTest::qWait(200); // xclip owns the selection once it has read its input
    }

    // The first word highlighted since the last call.
    QString nextWord()
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return !words.isEmpty(); }, 10000));
        return words.value(0);
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    std::unique_ptr<MainWindow> reader;
    std::unique_ptr<DesktopService> service;
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    StateListener listener;
    QStringList& states = listener.states;
    QStringList words;
    QProcess primary;
    QProcess clipboard;
};
} // namespace

TEST_F(DesktopServiceCalls, ReadsTheSelectionElseTheClipboardAndMovesAndPausesOnRequest)
{
    offer(primary, QStringLiteral("primary"), "Selected words are read first. Then a second sentence follows.");
    offer(clipboard, QStringLiteral("clipboard"), "Copied text.");
    EXPECT_EQ(call(QStringLiteral("ReadSelection")), QString());
    EXPECT_EQ(nextWord(), QStringLiteral("Selected"));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Selected words are read first. Then a second sentence "
                                                            "follows."));
    EXPECT_EQ(call(QStringLiteral("NextSentence")), QString());
    EXPECT_EQ(nextWord(), QStringLiteral("Then"));
    EXPECT_EQ(call(QStringLiteral("PreviousSentence")), QString());
    EXPECT_EQ(nextWord(), QStringLiteral("Selected"));

    EXPECT_EQ(call(QStringLiteral("PauseResume")), QString());
    EXPECT_EQ(readingStateProperty(), QStringLiteral("Paused"));
    EXPECT_EQ(call(QStringLiteral("PauseResume")), QString());
    EXPECT_EQ(readingStateProperty(), QStringLiteral("Reading"));
    EXPECT_EQ(call(QStringLiteral("Stop")), QString());
    EXPECT_TRUE(QTest::qWaitFor([this] { return states.endsWith(QStringLiteral("Idle")); }));
    EXPECT_EQ(states, (QStringList{QStringLiteral("Reading"), QStringLiteral("Paused"), QStringLiteral("Reading"),
                                   QStringLiteral("Idle")}));

    // An empty selection leaves the clipboard to be read. It replaces the text read before without a question:
    // that text came from another program too, and Undo brings it back.
    offer(primary, QStringLiteral("primary"), "");
    EXPECT_EQ(call(QStringLiteral("ReadSelection")), QString());
    EXPECT_EQ(nextWord(), QStringLiteral("Copied"));
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Copied text."));

    // Words selected in the reading area itself are read where they stand, with no question.
    reader->StopReading();
    QTest::qWait(200); // the stopped reading's end, which collapses its highlight
    reader->reText->setPlainText(QStringLiteral("Keep all of this. Read from here on."));
    QTextCursor selected(reader->reText->document());
    selected.setPosition(18);
    selected.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    reader->reText->setTextCursor(selected);
    QGuiApplication::clipboard()->setText(selected.selectedText(), QClipboard::Selection);
    EXPECT_EQ(call(QStringLiteral("ReadSelection")), QString());
    EXPECT_EQ(nextWord(), QStringLiteral("Read"));
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Keep all of this. Read from here on."));
}

TEST_F(DesktopServiceCalls, BadInputGetsAnErrorAndTheReadingAreaKeepsItsText)
{
    reader->reText->setPlainText(QStringLiteral("The learner's own text."));
    reader->reText->document()->setModified(true); // typed, never saved
    QByteArray picture(4000, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 37) % 256);
    offer(clipboard, QStringLiteral("clipboard"), picture, QStringLiteral("text/plain"));
    EXPECT_EQ(call(QStringLiteral("ReadClipboard")), QStringLiteral("The clipboard holds no readable text."));
    EXPECT_TRUE(call(QStringLiteral("ReadText"), {QString(MaxGivenText + 1, QLatin1Char('a'))})
                    .contains(QStringLiteral("too long")));
    EXPECT_EQ(call(QStringLiteral("ReadText"), {QStringLiteral(" \n\t ")}),
              QStringLiteral("No text is selected or on the clipboard."));

    // A dialog of Parlivo waiting for an answer: the call is refused at once, not kept waiting behind it.
    QMessageBox question(QMessageBox::Question, QStringLiteral("Parlivo"), QStringLiteral("A question"),
                         QMessageBox::Ok, reader.get());
    QString busy;
    QTimer::singleShot(0, &question, [&] {
        busy = call(QStringLiteral("ReadText"), {QStringLiteral("Words from elsewhere.")});
        question.accept();
    });
    question.exec();
    EXPECT_EQ(busy, QStringLiteral("Parlivo is waiting for an answer in one of its windows."));

    // Two calls at once: each is answered; asked to replace, the learner cancels twice, and keeps the text.
    prompts.choices = {2, 2};
    QDBusPendingCallWatcher first(
        client.asyncCall(QDBusMessage::createMethodCall(DesktopService::ServiceName, DesktopService::ObjectPath,
                                                        DesktopService::ServiceName, QStringLiteral("ReadText"))
                         << QStringLiteral("One.")));
    EXPECT_EQ(call(QStringLiteral("ReadText"), {QStringLiteral("Two.")}), QString());
    EXPECT_TRUE(QTest::qWaitFor([&] { return first.isFinished(); }));
    EXPECT_FALSE(first.isError());
    EXPECT_TRUE(QTest::qWaitFor([this] { return prompts.questions.size() == 2; }));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("The learner's own text."));
    EXPECT_FALSE(reader->model().busy());
}

TEST_F(DesktopServiceCalls, TheParlivoCommandHandsTheSelectionToTheRunningCopy)
{
    offer(primary, QStringLiteral("primary"), "Handed over by the command.");
    QProcess command;
    words.clear();
    command.start(QStringLiteral(PARLIVO_PATH), {QStringLiteral("--read-selection")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return command.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(command.exitCode(), 0) << command.readAllStandardError().toStdString();
    EXPECT_EQ(nextWord(), QStringLiteral("Handed"));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Handed over by the command."));

    // A copy that refuses is an answer: the command says why and fails, and starts no window of its own.
    offer(clipboard, QStringLiteral("clipboard"), " \n\t ");
    command.start(QStringLiteral(PARLIVO_PATH), {QStringLiteral("--read-clipboard")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return command.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(command.exitCode(), 1);
    EXPECT_EQ(command.readAllStandardError(), "parlivo: No text is selected or on the clipboard.\n");
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("Handed over by the command."));
}

TEST_F(DesktopServiceCalls, WatchingTheClipboardReadsCopiedTextWithoutLosingTheReadingAreas)
{
    offer(clipboard, QStringLiteral("clipboard"), "Not watched yet.");
    reader->reText->setPlainText(QStringLiteral("My own notes."));
    reader->reText->document()->setModified(true); // typed, never saved
    reader->pummiWatchClipboard->trigger();
    prompts.choices = {1}; // keep the notes, add the copied text after them
    words.clear();
    offer(clipboard, QStringLiteral("clipboard"), "Copied in the browser.");
    EXPECT_EQ(nextWord(), QStringLiteral("Copied"));
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Replace text in the reading area?")});
    EXPECT_TRUE(prompts.choiceDetails.value(0).contains(QStringLiteral("Copied in the browser.")));
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("My own notes.\nCopied in the browser."));

    // What Parlivo copies itself is not read back; switched off, nothing is.
    reader->StopReading();
    reader->reText->selectAll();
    reader->reText->copy();
    QTest::qWait(200);
    EXPECT_EQ(prompts.questions.size(), 1);
    EXPECT_FALSE(reader->model().busy());
    reader->pummiWatchClipboard->trigger();
    EXPECT_FALSE(reader->pummiWatchClipboard->isChecked());
    offer(clipboard, QStringLiteral("clipboard"), "No longer watched.");
    EXPECT_EQ(reader->reText->toPlainText(), QStringLiteral("My own notes.\nCopied in the browser."));
}

TEST(DesktopServiceStart, AShortcutWithNoParlivoRunningStartsOneThatReadsAndOffersTheService)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("starter"));
    if (!client.isConnected())
        GTEST_SKIP() << "needs a session bus (tools/test.sh starts one)";
    const auto readingState = [&client] {
        QDBusMessage get =
            QDBusMessage::createMethodCall(DesktopService::ServiceName, DesktopService::ObjectPath,
                                           QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        get << DesktopService::ServiceName << QStringLiteral("ReadingState");
        const QDBusMessage reply = client.call(get, QDBus::Block, 2000);
        return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
    };
    ASSERT_EQ(readingState(), QString()) << "no Parlivo runs yet";
    QProcess primary;
    primary.start(QStringLiteral("xclip"),
                  {QStringLiteral("-quiet"), QStringLiteral("-selection"), QStringLiteral("primary")});
    primary.write("Started by the shortcut, and read at once by the new copy of Parlivo.");
    primary.closeWriteChannel();
    QTest::qWait(200);

    // A copy of its own: its own lock, its speech on a clock rather than a sound device.
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    environment.insert(QStringLiteral("PARLIVO_SPEECH_CLOCK"), QStringLiteral("1"));
    QProcess parlivo;
    parlivo.setProcessEnvironment(environment);
    parlivo.start(QStringLiteral(PARLIVO_PATH), {QStringLiteral("--read-selection")});
    // The new copy answers on the bus (the request's own connection is closed before it starts).
    EXPECT_TRUE(QTest::qWaitFor([&] { return readingState() == QLatin1String("Reading"); }, 60000))
        << parlivo.readAllStandardError().toStdString();
    parlivo.kill();
    parlivo.waitForFinished();
    primary.kill();
    primary.waitForFinished();
    QDBusConnection::disconnectFromBus(QStringLiteral("starter"));
}

#include "DesktopServiceTest.moc"
