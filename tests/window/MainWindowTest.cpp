#include "ReaderFixture.h"

#include "window/main/ToolbarButton.h"
#include "window/main/ReaderBar.h"
#include "window/main/MenuMarker.h"
#include "window/face/ReaderFace.h"
#include "core/Errors.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolButton>

TEST_F(ReaderFixture, StartsWithTheDocumentedState)
{
    EXPECT_EQ(reader->model().state(), ReadingState::Idle);
    EXPECT_FALSE(reader->mFromCursor);
    EXPECT_EQ(reader->mCursorOffset, 0);
    EXPECT_FALSE(reader->mHighlight);
    EXPECT_FALSE(reader->mExiting);
    EXPECT_EQ(reader->model().autoReadMode(), AutoReadMode::Sentence);
    EXPECT_EQ(reader->mCurrentViseme, 0);
    EXPECT_EQ(reader->mSpellingDelay, 10);
    EXPECT_TRUE(reader->mSpellingFile.isEmpty());
    create();
    // Idle, whether or not a saved voice has spoken: nothing to pause, the reading area editable.
    EXPECT_FALSE(reader->pummiPause->isEnabled());
    EXPECT_FALSE(reader->reText->isReadOnly());
}

TEST_F(ReaderFixture, VoicesAreListedSortedAndUniqueWithoutRegardToCase)
{
    engine->installed.append({QStringLiteral("fr2"), QStringLiteral("FRENCH")});
    create();
    QStringList captions;
    for (const QAction* item : reader->mReaderItems)
        captions << ItemCaption(item);
    EXPECT_EQ(captions, (QStringList{QStringLiteral("English (America)"), QStringLiteral("English (Great Britain)"),
                                     QStringLiteral("French")}));
}

TEST_F(ReaderFixture, NoSpeechEngineEndsWithItsMessage)
{
    engine->failVoices = true;
    EXPECT_FALSE(reader->FormCreate());
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("Speech Engine not installed.")});
}

TEST_F(ReaderFixture, ASavedVoiceThatIsGoneMarksNothingAndSaysSo)
{
    QFile ini(folder.filePath(QStringLiteral("Parlivo.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Parlivo Settings]\nReader=US English, male (Festival)\n");
    ini.close();
    create();
    EXPECT_EQ(MarkedItemCaption(reader->miReadersList), QString());
    EXPECT_TRUE(engine->texts().isEmpty());
    const QString notice = QStringLiteral("The reader \"US English, male (Festival)\" is no longer installed; the "
                                          "default voice reads instead.");
    EXPECT_EQ(reader->statusBar->text(), notice);
    QStatusTipEvent hint(QStringLiteral("Reading area"));
    QApplication::sendEvent(reader.get(), &hint);
    EXPECT_EQ(reader->statusBar->text(), notice) << "the pointer passing over a control does not hide it at once";
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ReaderFixture, SelectingAVoiceSpeaksTheReadyMessageWithTheFaceDisabled)
{
    create();
    engine->autoFinish = false;
    bool faceDisabledWhileSpeaking = false;
    QTimer speech;
    QObject::connect(&speech, &QTimer::timeout, [&] {
        if (engine->speaking) {
            faceDisabledWhileSpeaking = !reader->imgReader->isEnabled();
            engine->finish();
        }
    });
    speech.start(5);
    reader->SelectVoice(QStringLiteral("French"));
    EXPECT_TRUE(faceDisabledWhileSpeaking);
    EXPECT_TRUE(reader->imgReader->isEnabled());
    EXPECT_EQ(engine->voiceId, QStringLiteral("fr"));
    EXPECT_EQ(engine->texts().last(), QStringLiteral("Your text reader is now initialised and ready."));
    EXPECT_EQ(MarkedItemCaption(reader->miReadersList), QStringLiteral("French"));

    // A voice that cannot start is reported, and the window is left usable, without the hourglass.
    engine->failingVoice = QStringLiteral("en-us");
    EXPECT_THROW(reader->SelectVoice(QStringLiteral("English (America)")), SpeechError);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(reader->imgReader->isEnabled());
}

// The installed voices, opened from the face on a 1280 x 800 screen: each can be clicked on screen, on the readers
// menu or one submenu down; typing finds a language and a voice, and the chosen voice's language comes first.
TEST_F(ReaderFixture, EveryInstalledVoiceCanBeReachedOnA1280By800ScreenAndFoundByTyping)
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    if (QGuiApplication::primaryScreen()->size() != QSize(1280, 800)) {
        ASSERT_FALSE(platform.contains(QLatin1String("configfile"))) << "the screen of that size did not come";
        // The test runs again in a program of its own, on an offscreen screen of that size.
        QFile screen(folder.filePath(QStringLiteral("screen.json")));
        ASSERT_TRUE(screen.open(QIODevice::WriteOnly));
        screen.write(R"({"screens": [{"name": "small", "width": 1280, "height": 800}]})");
        screen.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                           QStringLiteral("offscreen:configfile=") + screen.fileName());
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::MergedChannels);
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        run.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--gtest_filter=%1.%2")
                       .arg(QLatin1String(test->test_suite_name()), QLatin1String(test->name()))});
        ASSERT_TRUE(run.waitForFinished(120000));
        const QByteArray output = run.readAll();
        EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
        return;
    }
    engine->installed = createDefaultSpeechEngine()->voices();
    create();
    QMenu* readers = reader->miReadersList;
    const auto openReaders = [&] {
        reader->pumReaderOnly->popup(reader->imgReader->mapToGlobal(QPoint(60, 125)));
        reader->pumReaderOnly->setActiveAction(readers->menuAction());
        ASSERT_TRUE(readers->isVisible());
    };
    openReaders();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QSet<QAction*> reached;
    // A menu too tall for the screen is laid out in columns, which may run past its edge.
    const auto reach = [&](QMenu* menu) {
        QSet<int> columns;
        for (QAction* item : menu->actions()) {
            const QRect place = menu->actionGeometry(item);
            columns.insert(place.left());
            if (reader->mReaderItems.contains(item) &&
                screen.contains(QRect(menu->mapToGlobal(place.topLeft()), place.size())))
                reached.insert(item);
        }
        EXPECT_EQ(columns.size(), 1) << menu->title().toStdString();
    };
    reach(readers);
    for (QAction* entry : readers->actions()) {
        if (entry->menu()) {
            readers->setActiveAction(entry);
            ASSERT_TRUE(entry->menu()->isVisible()) << ItemCaption(entry).toStdString();
            reach(entry->menu());
        }
    }
    EXPECT_GT(reader->mReaderItems.size(), 100);
    EXPECT_EQ(reached.size(), reader->mReaderItems.size());

    // "F" finds the French voices, "F" again their first, and Enter chooses it.
    QTest::keyClick(readers, Qt::Key_F);
    QMenu* french = readers->activeAction()->menu();
    ASSERT_TRUE(french);
    EXPECT_EQ(ItemCaption(readers->activeAction()), QStringLiteral("French"));
    QTest::keyClick(french, Qt::Key_F);
    ASSERT_EQ(ItemCaption(french->activeAction()), QStringLiteral("French (Belgium)"));
    QTest::keyClick(french, Qt::Key_Return);
    EXPECT_EQ(engine->texts().last(), QStringLiteral("Your text reader is now initialised and ready."));

    // Opened again, the chosen voice's language leads, marked, before the natural voices' language.
    openReaders();
    EXPECT_EQ(ItemCaption(readers->actions().at(0)), QStringLiteral("French"));
    EXPECT_TRUE(IsMarkedDefault(readers->actions().at(0)));
    EXPECT_EQ(ItemCaption(readers->actions().at(1)), QStringLiteral("English"));
    EXPECT_EQ(MarkedItemCaption(readers), QStringLiteral("French (Belgium)"));
    readers->setActiveAction(readers->actions().at(1));
    QTest::keyClick(readers->actions().at(1)->menu(), Qt::Key_U);
    EXPECT_EQ(ItemCaption(readers->actions().at(1)->menu()->activeAction()),
              QStringLiteral("US English, female (Festival)"));
    reader->pumReaderOnly->hide();
    reader->close();
    QSettings ini(folder.filePath(QStringLiteral("Parlivo.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Parlivo Settings/Reader")).toString(), QStringLiteral("French (Belgium)"));

    // The next start chooses it again from its group.
    auto restarted = std::make_unique<ScriptedSpeechEngine>();
    restarted->installed = engine->installed;
    engine = restarted.get();
    reader = std::make_unique<MainWindow>(std::move(restarted));
    create();
    EXPECT_EQ(MarkedItemCaption(reader->miReadersList), QStringLiteral("French (Belgium)"));
    EXPECT_TRUE(engine->voiceId.startsWith(QLatin1String("roa/fr"))) << engine->voiceId.toStdString();
}

TEST_F(ReaderFixture, SpeedAndVolumeItemsSetTheVoice)
{
    create();
    auto item = [](QMenu* menu, const QString& caption) {
        for (QAction* action : menu->actions())
            if (ItemCaption(action) == caption)
                return action;
        return static_cast<QAction*>(nullptr);
    };
    item(reader->miReadSpeed, QStringLiteral("5"))->trigger();
    EXPECT_EQ(engine->rate, -1);
    item(reader->miReadSpeed, QStringLiteral("6"))->trigger();
    EXPECT_EQ(engine->rate, 2);
    EXPECT_EQ(MarkedItemCaption(reader->miReadSpeed), QStringLiteral("6"));
    item(reader->miReadVolume, QStringLiteral("1"))->trigger();
    EXPECT_EQ(engine->volume, 10);
    EXPECT_EQ(ItemCaption(reader->miReadVolume->actions().first()), QStringLiteral("10"));

    // Closing the window keeps the choices for the next start.
    reader->close();
    QSettings ini(folder.filePath(QStringLiteral("Parlivo.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("Parlivo Settings/Speed")).toInt(), 6);
    EXPECT_EQ(ini.value(QStringLiteral("Parlivo Settings/Volume")).toInt(), 1);
}

TEST_F(ReaderFixture, TheSelectionMarkerKeepsOneChoicePerSubmenu)
{
    create();
    reader->mipumSentence->trigger();
    reader->mipumSingleWord->trigger();
    EXPECT_TRUE(IsMarkedDefault(reader->mipumSingleWord));
    EXPECT_FALSE(IsMarkedDefault(reader->mipumSentence));
    EXPECT_TRUE(reader->mipumSingleWord->font().bold());
    EXPECT_FALSE(reader->mipumSentence->font().bold());
    EXPECT_EQ(reader->model().autoReadMode(), AutoReadMode::SingleWord);
    reader->No1->trigger();
    EXPECT_FALSE(reader->panReader->isVisible());
    EXPECT_EQ(MarkedItemCaption(reader->miShowHideReader), QStringLiteral("No"));
}

TEST_F(ReaderFixture, TheChoiceMenusShowTheReadingModelAndClicksChangeIt)
{
    create();
    const auto marked = [](const QMenu* menu) {
        QStringList captions;
        for (const QAction* item : menu->actions())
            if (IsMarkedDefault(item))
                captions << ItemCaption(item);
        return captions;
    };
    ReadingModel& model = reader->model();
    model.setSpeed(7);
    model.setVolume(3);
    model.setAutoReadMode(AutoReadMode::Off);
    model.setVoice(QStringLiteral("English (America)"));
    EXPECT_EQ(marked(reader->miReadSpeed), QStringList{QStringLiteral("7")});
    EXPECT_EQ(marked(reader->miReadVolume), QStringList{QStringLiteral("3")});
    EXPECT_EQ(marked(reader->miAutoRead), QStringList{QStringLiteral("Auto Read Off")});
    // Voices sit in language groups; the chosen one is marked inside its group.
    EXPECT_EQ(ItemCaption(MarkedItem(reader->miReadersList)), QStringLiteral("English (America)"));

    reader->miReadVolume->actions().first()->trigger();
    EXPECT_EQ(model.volume(), 10);
    EXPECT_EQ(engine->volume, 100);
    EXPECT_EQ(marked(reader->miReadVolume), QStringList{QStringLiteral("10")});
    reader->mReaderItems.at(2)->trigger();
    EXPECT_EQ(model.voice(), QStringLiteral("French"));
    EXPECT_EQ(engine->voiceId, QStringLiteral("fr"));
    EXPECT_EQ(ItemCaption(MarkedItem(reader->miReadersList)), QStringLiteral("French"));
}

TEST_F(ReaderFixture, HintsReachTheStatusBar)
{
    create();
    QStatusTipEvent tip(reader->buOpen->statusTip());
    QApplication::sendEvent(reader->buOpen, &tip);
    EXPECT_EQ(reader->statusBar->text(), QStringLiteral("Open a document for reading (Ctrl+O)"));
    reader->ShowHintInStatusBar(QStringLiteral("Short|The long part|more"));
    EXPECT_EQ(reader->statusBar->text(), QStringLiteral("The long part|more"));
    emit reader->pumSaveMenu->hovered(reader->SaveAs1);
    EXPECT_EQ(reader->statusBar->text(), QStringLiteral("Save text document with name given (Ctrl+Shift+S)"));
    EXPECT_EQ(reader->buExit->accessibleName(), QStringLiteral("Exit"));
    EXPECT_EQ(reader->buExit->accessibleDescription(), QStringLiteral("Exit Parlivo"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(reader->pumReaderOnly)->text(QAccessible::Name),
              QStringLiteral("Reader menu"));
    // Screen readers announce every menu by a spoken name, never by an object name.
    for (QMenu* menu : reader->findChildren<QMenu*>()) {
        const QString spoken = QAccessible::queryAccessibleInterface(menu)->text(QAccessible::Name);
        EXPECT_FALSE(spoken.isEmpty() || spoken == menu->objectName()) << menu->objectName().toStdString();
    }
}

TEST_F(ReaderFixture, ButtonsKeepTheirPlacesAsTheWindowGrows)
{
    create();
    reader->resize(1600, 1000);
    QCoreApplication::processEvents();
    const int toolbarWidth = reader->cbarMain2->width();
    EXPECT_EQ(reader->buExit->x(), toolbarWidth - 102);
    EXPECT_EQ(reader->buMinimise->x(), toolbarWidth - 210);
    EXPECT_EQ(reader->buOpen->pos(), QPoint(1, 3));
    EXPECT_EQ(reader->buFind->y() + reader->buFind->height(), reader->panReader->height() - 3);
    EXPECT_GT(reader->buFind->y(), reader->buReadingAreaClear->y());
}

TEST_F(ReaderFixture, TheReadingAreaMenuOpensPastTheReaderPanelAndToolbar)
{
    create();
    const QPoint expected = reader->mapToGlobal(QPoint(30, 40)) + QPoint(121, 57);
    EXPECT_EQ(reader->TextMenuPosition(QPoint(30, 40)), expected);
}

TEST_F(ReaderFixture, RightButtonReleaseInTheReadingAreaOpensItsMenu)
{
    create();
    QTest::mouseClick(reader->reText->viewport(), Qt::LeftButton, {}, QPoint(20, 20));
    EXPECT_FALSE(reader->pumTextToRead->isVisible());
    QTest::mouseRelease(reader->reText->viewport(), Qt::RightButton, {}, QPoint(20, 20));
    EXPECT_TRUE(reader->pumTextToRead->isVisible());
    reader->pumTextToRead->hide();
}

TEST_F(ReaderFixture, SplitButtonsOpenTheirMenuOnlyFromTheArrow)
{
    create();
    int saves = 0;
    QObject::connect(reader->buSAve, &QToolButton::clicked, [&] { ++saves; });
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(reader->pumSaveMenu->isVisible());
        reader->pumSaveMenu->close();
    });
    QTest::mouseClick(reader->buSAve, Qt::LeftButton, {}, QPoint(100 - 5, 25));
    EXPECT_EQ(saves, 0);
    QTest::mouseClick(reader->buSAve, Qt::LeftButton, {}, QPoint(20, 25));
    EXPECT_EQ(saves, 1);
    // Save with nothing to save says so.
    EXPECT_EQ(prompts.messages.value(0), QStringLiteral("There is nothing to save."));
}

TEST_F(ReaderFixture, ExitMarksTheWindowAsExitingBeforeItCloses)
{
    create();
    reader->buExit->click();
    EXPECT_TRUE(reader->mExiting);
    EXPECT_FALSE(reader->isVisible());
}

TEST_F(ReaderFixture, TheReaderBarIsShownAtFirstAndItsChoicesOutliveARestart)
{
    create();
    ReaderBar* bar = reader->readerBar();
    ASSERT_TRUE(bar->isVisible()) << "a new user sees Play above the reading area";
    for (QWidget* control : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    reader->reText->setPlainText(QStringLiteral("One sentence. Another one."));
    bar->playButton()->click();
    EXPECT_EQ(reader->model().state(), ReadingState::Reading);
    EXPECT_EQ(bar->playButton()->accessibleName(), QStringLiteral("Pause"));
    bar->playButton()->click();
    EXPECT_EQ(reader->model().state(), ReadingState::Paused);
    reader->StopReading();

    reader->pummiShowReaderBar->trigger();
    reader->pummiFloatingReaderBar->trigger();
    FloatingReaderBar* floating = reader->floatingReaderBar();
    ASSERT_TRUE(floating && floating->isVisible());
    EXPECT_TRUE(floating->windowFlags() & Qt::WindowStaysOnTopHint);
    // It takes the reading aids' type and the toolbar's colours, as the bar in the window does.
    reader->mReadingAids.FontFamily = QStringLiteral("DejaVu Serif");
    reader->ApplyAppearance();
    EXPECT_EQ(floating->bar()->font().family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(floating->bar()->palette().color(QPalette::Window),
              reader->cbarMain2->palette().color(QPalette::Window));
    floating->move(140, 90);
    floating->close();
    EXPECT_FALSE(reader->pummiFloatingReaderBar->isChecked());
    reader->SaveSettings();

    reader = std::make_unique<MainWindow>(std::make_unique<ScriptedSpeechEngine>());
    create();
    EXPECT_FALSE(reader->readerBar()->isVisible());
    EXPECT_FALSE(reader->pummiShowReaderBar->isChecked());
    reader->ShowFloatingReaderBar(true);
    EXPECT_EQ(reader->floatingReaderBar()->pos(), QPoint(140, 90));
}
