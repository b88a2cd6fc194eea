// The popup menus and the map from every command surface to its operation.
#include "window/main/ToolbarButton.h"
#include "window/main/ReaderBar.h"
#include "window/main/MainWindow.h"
#include "window/main/MenuMarker.h"
#include "window/face/ReaderFace.h"
#include "window/readingarea/LinkClicks.h"
#include "window/web/WebPanel.h"
#include "formats/TextRecognition.h"
#include "speech/VoiceChoices.h"
#include "window/writing/WritingAids.h"

#include <QListWidget>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>
#include <QMenu>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextEdit>
#include <QToolButton>

QAction* MainWindow::addItem(QMenu* menu, const QString& name, const QString& caption, const QString& hint)
{
    auto* item = new QAction(QString(caption).replace(QLatin1String("&"), QLatin1String("&&")), menu);
    item->setObjectName(name);
    if (!hint.isEmpty()) {
        item->setToolTip(hint);
        item->setStatusTip(hint);
        item->setWhatsThis(hint);
    }
    menu->addAction(item);
    return item;
}

void MainWindow::bindKey(QAction* item, const QKeySequence& key, const QString& hint)
{
    item->setShortcut(key);
    item->setShortcutContext(Qt::WindowShortcut);
    // The window holds the command as well as its menu, so the key works while the menu is closed; a command
    // that is disabled ignores its key just as its menu item ignores a click.
    addAction(item);
    const QString keyHint = HintWithKey(hint, key);
    item->setToolTip(keyHint);
    item->setStatusTip(keyHint);
    item->setWhatsThis(keyHint);
}

QMenu* MainWindow::addSubmenu(QMenu* menu, const QString& name, const QString& caption, const QString& hint)
{
    auto* submenu = new QMenu(caption, menu);
    submenu->setObjectName(name);
    submenu->setToolTipsVisible(true);
    submenu->menuAction()->setObjectName(name);
    if (!hint.isEmpty()) {
        submenu->menuAction()->setToolTip(hint);
        submenu->menuAction()->setStatusTip(hint);
        submenu->setAccessibleDescription(hint);
    }
    submenu->setAccessibleName(caption);
    menu->addMenu(submenu);
    // Hints of highlighted items reach the status bar.
    connect(submenu, &QMenu::hovered, this, [this](QAction* item) { ShowHintInStatusBar(item->statusTip()); });
    return submenu;
}

void MainWindow::buildMenus()
{
    // Screen readers announce a popup menu by its accessible name.
    auto popup = [this](const QString& name, const QString& spokenName, const QString& description) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        menu->setAccessibleName(spokenName);
        menu->setAccessibleDescription(description);
        menu->setToolTipsVisible(true);
        connect(menu, &QMenu::hovered, this, [this](QAction* item) { ShowHintInStatusBar(item->statusTip()); });
        return menu;
    };
    auto hiddenSeparator = [](QMenu* menu) { menu->addSeparator()->setVisible(false); };

    pumReaderOnly = popup(QStringLiteral("pumReaderOnly"), tr("Reader menu"),
                          tr("Start, pause and stop reading; choose the reader, its speed and volume, and auto-read"));
    pummiRead = addItem(pumReaderOnly, QStringLiteral("pummiRead"), tr("Start/Resume reading of document"), tr("Read"));
    pummiPause = addItem(pumReaderOnly, QStringLiteral("pummiPause"), tr("Pause reading of document"), tr("Pause"));
    pummiStop = addItem(pumReaderOnly, QStringLiteral("pummiStop"), tr("Stop reading of document"), tr("Stop"));
    pumReaderOnly->addSeparator();
    pummiPreviousSentence = addItem(pumReaderOnly, QStringLiteral("pummiPreviousSentence"), tr("Previous sentence"),
                                    tr("Read the sentence before"));
    pummiNextSentence = addItem(pumReaderOnly, QStringLiteral("pummiNextSentence"), tr("Next sentence"),
                                tr("Read on from the next sentence"));
    pummiSayAgain = addItem(pumReaderOnly, QStringLiteral("pummiSayAgain"), tr("Say sentence again"),
                            tr("Read the sentence again"));
    pummiPreviousParagraph = addItem(pumReaderOnly, QStringLiteral("pummiPreviousParagraph"), tr("Previous paragraph"),
                                     tr("Read the paragraph before"));
    pummiNextParagraph = addItem(pumReaderOnly, QStringLiteral("pummiNextParagraph"), tr("Next paragraph"),
                                 tr("Read on from the next paragraph"));
    pummiReadFromHere = addItem(pumReaderOnly, QStringLiteral("pummiReadFromHere"), tr("Read from here"),
                                tr("Read from the word at the cursor, or from the word clicked while paused"));
    pumReaderOnly->addSeparator();
    pummiReadFromCursor = addItem(pumReaderOnly, QStringLiteral("pummiReadFromCursor"), tr("Read from cursor position"),
                                  tr("Read from cursor"));
    pummiReadWebPage = addItem(pumReaderOnly, QStringLiteral("pummiReadWebPage"), tr("Read web page"),
                               tr("Read the web page shown in the web panel"));
    pummiFloatingReaderBar = addItem(pumReaderOnly, QStringLiteral("pummiFloatingReaderBar"), tr("Floating reader bar"),
                                     tr("A small reader bar that stays over other programs"));
    pummiFloatingReaderBar->setCheckable(true);
    pummiWatchClipboard = addItem(pumReaderOnly, QStringLiteral("pummiWatchClipboard"), tr("Watch clipboard"),
                                  tr("Read text at once when it is copied in any program"));
    pummiWatchClipboard->setCheckable(true);
    pummiMatchLanguage =
        addItem(pumReaderOnly, QStringLiteral("pummiMatchLanguage"), tr("Match the voice to the language"),
                tr("Read each paragraph with an installed voice of its language"));
    pummiMatchLanguage->setCheckable(true);
    pummiReadFromScreen = addItem(pumReaderOnly, QStringLiteral("pummiReadFromScreen"), tr("Read from screen"),
                                  tr("Read the text in a part of the screen: drag a rectangle over it"));
    hiddenSeparator(pumReaderOnly);
    miReadersList =
        addSubmenu(pumReaderOnly, QStringLiteral("miReadersList"), tr("Available document readers"), tr("Reader"));
    pummiPronunciations = addItem(pumReaderOnly, QStringLiteral("pummiPronunciations"), tr("Pronunciations..."),
                                  tr("Choose how the reader says names and words"));
    connect(pummiPronunciations, &QAction::triggered, this, &MainWindow::EditPronunciations);
    pumReaderOnly->addSeparator();
    miAutoRead = addSubmenu(pumReaderOnly, QStringLiteral("miAutoRead"), tr("Auto Read"), tr("Auto Read"));
    mipumSingleWord =
        addItem(miAutoRead, QStringLiteral("mipumSingleWord"), tr("Single Word"), tr("Set auto read to single word"));
    mipumSentence =
        addItem(miAutoRead, QStringLiteral("mipumSentence"), tr("Sentence"), tr("Set auto read to single sentence"));
    miAutoRead->addSeparator();
    mipumAutoReadOff =
        addItem(miAutoRead, QStringLiteral("mipumAutoReadOff"), tr("Auto Read Off"), tr("Set auto read off"));
    mipumSingleWord->setData(int(AutoReadMode::SingleWord));
    mipumSentence->setData(int(AutoReadMode::Sentence));
    mipumAutoReadOff->setData(int(AutoReadMode::Off));
    pumReaderOnly->addSeparator();
    miReadSpeed = addSubmenu(pumReaderOnly, QStringLiteral("miReadSpeed"), tr("Reading Speed"), tr("Read speed"));
    for (int speed = 1; speed <= 10; ++speed) {
        QAction* item = addItem(miReadSpeed, QStringLiteral("miSpeed%1").arg(speed), QString::number(speed), {});
        item->setData(speed);
        connect(item, &QAction::triggered, this, [this, speed] { SetReadingSpeed(speed); });
    }
    miReadVolume = addSubmenu(pumReaderOnly, QStringLiteral("miReadVolume"), tr("Reading Volume"), tr("Read volume"));
    for (int volume = 10; volume >= 1; --volume) {
        QAction* item = addItem(miReadVolume, QStringLiteral("miVolume%1").arg(volume), QString::number(volume), {});
        item->setData(volume);
        connect(item, &QAction::triggered, this, [this, volume] { SetReadingVolume(volume); });
    }

    pumTextToRead = popup(QStringLiteral("pumTextToRead"), tr("Reading area menu"),
                          tr("Colour schemes, showing the reader, editing commands and customisation"));
    miColourSchemes =
        addSubmenu(pumTextToRead, QStringLiteral("miColourSchemes"), tr("Colour Schemes"), tr("Colour schemes"));
    hiddenSeparator(pumTextToRead);
    miShowHideReader =
        addSubmenu(pumTextToRead, QStringLiteral("miShowHideReader"), tr("Show Reader"), tr("Show reader"));
    miShowHideReader->menuAction()->setVisible(false);
    Yes1 = addItem(miShowHideReader, QStringLiteral("Yes1"), tr("Yes"), tr("Yes, show reader"));
    No1 = addItem(miShowHideReader, QStringLiteral("No1"), tr("No"), tr("No, don't show reader"));
    MarkDefault(Yes1);
    pummiShowReaderBar = addItem(pumTextToRead, QStringLiteral("pummiShowReaderBar"), tr("Show reader bar"),
                                 tr("Show the reading commands above the reading area"));
    pummiShowReaderBar->setCheckable(true);
    pummiShowReaderBar->setChecked(true);
    pumTextToRead->addSeparator();
    pupmiEdit = addSubmenu(pumTextToRead, QStringLiteral("pupmiEdit"), tr("Edit"), tr("Edit"));
    mUndoAction = addItem(pupmiEdit, QStringLiteral("Undo1"), tr("Undo"), tr("Undo the last change to the text"));
    mRedoAction = addItem(pupmiEdit, QStringLiteral("Redo1"), tr("Redo"), tr("Redo the change undone"));
    pupmiEdit->addSeparator();
    Cut2 = addItem(pupmiEdit, QStringLiteral("Cut2"), tr("Cut"), tr("Cut to clipboard"));
    Copy2 = addItem(pupmiEdit, QStringLiteral("Copy2"), tr("Copy"), tr("Copy to clipboard"));
    Paste2 = addItem(pupmiEdit, QStringLiteral("Paste2"), tr("Paste"), tr("Paste from clipboard"));
    pupmiEdit->addSeparator();
    Find2 = addItem(pupmiEdit, QStringLiteral("Find2"), tr("Find"), tr("Find text in read area"));
    Clear2 = addItem(pupmiEdit, QStringLiteral("Clear2"), tr("Clear"), tr("Clear reading area"));
    Beginning1 =
        addItem(pupmiEdit, QStringLiteral("Beginning1"), tr("Beginning"), tr("Move to beginning of read area"));
    SelectAll1 = addItem(pupmiEdit, QStringLiteral("SelectAll1"), tr("Select All"), tr("Select all text"));
    pumTextToRead->addSeparator();
    Customise1 = addItem(pumTextToRead, QStringLiteral("Customise1"), tr("Customise"), {});

    pumOpenMenu = popup(QStringLiteral("pumOpenMenu"), tr("Open menu"),
                        tr("Open a document, or one of the documents opened lately"));
    Open1 = addItem(pumOpenMenu, QStringLiteral("Open1"), tr("Open..."), tr("Open a document for reading"));
    MarkDefault(Open1);
    pumOpenMenu->addSeparator();
    buOpen->setDropDownMenu(pumOpenMenu);

    pumSaveMenu = popup(QStringLiteral("pumSaveMenu"), tr("Save menu"),
                        tr("Save the text, save it under another name or as an MP3 file"));
    Save1 = addItem(pumSaveMenu, QStringLiteral("Save1"), tr("Save"), tr("Save text"));
    MarkDefault(Save1);
    SaveAs1 =
        addItem(pumSaveMenu, QStringLiteral("SaveAs1"), tr("Save As..."), tr("Save text document with name given"));
    pumSaveMenu->addSeparator();
    SaveAsMP31 =
        addItem(pumSaveMenu, QStringLiteral("SaveAsMP31"), tr("Save As MP3..."), tr("Save text document as MP3 file"));
    SavetoMP3As1 = addItem(pumSaveMenu, QStringLiteral("SavetoMP3As1"), tr("Save to MP3 As..."),
                           tr("Save text document as MP3 with name given"));
    SavetoMP3As1->setVisible(false);
    Mp3Subtitles1 = addItem(pumSaveMenu, QStringLiteral("Mp3Subtitles1"), tr("Write subtitles with MP3 export"),
                            tr("Also write LRC and SRT subtitles, timed to the speech, beside each MP3 file"));
    Mp3Subtitles1->setCheckable(true);
    buSAve->setDropDownMenu(pumSaveMenu);

    pumSpellingMode = popup(QStringLiteral("pumSpellingMode"), tr("Spelling menu"),
                            tr("Spelling tests, the spelling file builder and the spelling assistant"));
    SpellingAid1 = addItem(pumSpellingMode, QStringLiteral("SpellingAid1"), tr("Spelling Assistant ..."),
                           tr("Show the spelling assistant screen"));
    SpellingTest1 = addItem(pumSpellingMode, QStringLiteral("SpellingTest1"), tr("Spelling file Builder ..."),
                            tr("Build Spelling file"));
    pumSpellingMode->addSeparator();
    Startspellingtest1 = addItem(pumSpellingMode, QStringLiteral("Startspellingtest1"), tr("Spelling test ..."),
                                 tr("Start Spelling Test"));
    MarkDefault(Startspellingtest1);
    buSpelling->setDropDownMenu(pumSpellingMode);

    // Keys people know from other programs: F5 reads, F6 pauses, F7 stops, F8 reads the web page; the usual
    // document keys.
    bindKey(pummiRead, QKeySequence(Qt::Key_F5), tr("Start/Resume reading of document"));
    bindKey(pummiPause, QKeySequence(Qt::Key_F6), tr("Pause reading of document"));
    bindKey(pummiStop, QKeySequence(Qt::Key_F7), tr("Stop reading of document"));
    bindKey(pummiReadFromCursor, QKeySequence(Qt::CTRL | Qt::Key_F5), tr("Read from cursor position"));
    bindKey(pummiReadWebPage, QKeySequence(Qt::Key_F8), pummiReadWebPage->statusTip());
    // Alt with the arrows moves through a reading: the reading area keeps the arrows for the caret.
    bindKey(pummiPreviousSentence, QKeySequence(Qt::ALT | Qt::Key_Left), pummiPreviousSentence->statusTip());
    bindKey(pummiNextSentence, QKeySequence(Qt::ALT | Qt::Key_Right), pummiNextSentence->statusTip());
    bindKey(pummiSayAgain, QKeySequence(Qt::Key_F9), pummiSayAgain->statusTip());
    bindKey(pummiPreviousParagraph, QKeySequence(Qt::ALT | Qt::Key_Up), pummiPreviousParagraph->statusTip());
    bindKey(pummiNextParagraph, QKeySequence(Qt::ALT | Qt::Key_Down), pummiNextParagraph->statusTip());
    bindKey(pummiReadFromHere, QKeySequence(Qt::SHIFT | Qt::Key_F5), pummiReadFromHere->statusTip());
    bindKey(pummiReadFromScreen, QKeySequence(Qt::CTRL | Qt::Key_F8), pummiReadFromScreen->statusTip());
    Panel1->AddPageMenuItem(pummiReadWebPage);
    bindKey(Save1, QKeySequence(Qt::CTRL | Qt::Key_S), Save1->statusTip());
    bindKey(SaveAs1, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), SaveAs1->statusTip());
    bindKey(SaveAsMP31, QKeySequence(Qt::CTRL | Qt::Key_M), SaveAsMP31->statusTip());
    // The reading area answers these keys itself while it has the focus; the window's commands answer them
    // elsewhere.
    bindKey(mUndoAction, QKeySequence(Qt::CTRL | Qt::Key_Z), mUndoAction->statusTip());
    bindKey(mRedoAction, QKeySequence(Qt::CTRL | Qt::Key_Y), mRedoAction->statusTip());
    mRedoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    OpenKey = new QAction(tr("Open"), this);
    OpenKey->setObjectName(QStringLiteral("OpenKey"));
    bindKey(OpenKey, QKeySequence(Qt::CTRL | Qt::Key_O), buOpen->statusTip());

    // The buttons' hints name the keys of their commands; Ctrl+F and Ctrl+Shift+C are the window's own keys.
    for (const auto& [button, key] : {std::pair{buOpen, OpenKey->shortcut()}, std::pair{buSAve, Save1->shortcut()},
                                      std::pair{buFind, QKeySequence(Qt::CTRL | Qt::Key_F)}}) {
        const QString hint = HintWithKey(button->statusTip(), key);
        button->setToolTip(hint);
        button->setStatusTip(hint);
        button->setAccessibleDescription(hint);
    }
    const QString openHint = HintWithKey(Open1->statusTip(), OpenKey->shortcut());
    Open1->setToolTip(openHint);
    Open1->setStatusTip(openHint);
    const QString findHint = HintWithKey(Find2->statusTip(), QKeySequence(Qt::CTRL | Qt::Key_F));
    Find2->setToolTip(findHint);
    Find2->setStatusTip(findHint);
    const QString customiseHint =
        HintWithKey(tr("Customise colours and font sizes"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    Customise1->setToolTip(customiseHint);
    Customise1->setStatusTip(customiseHint);
}

void MainWindow::connectSurfaces()
{
    connect(buOpen, &QToolButton::clicked, this, &MainWindow::buOpenClick);
    connect(buSAve, &QToolButton::clicked, this, &MainWindow::buSAveClick);
    connect(buSpelling, &QToolButton::clicked, this, &MainWindow::buSpellingClick);
    connect(buMinimise, &QToolButton::clicked, this, &MainWindow::buMinimiseClick);
    connect(buExit, &QToolButton::clicked, this, &MainWindow::buExitClick);
    connect(buReadingAreaClear, &QToolButton::clicked, this, &MainWindow::buReadingAreaClearClick);
    connect(buFind, &QToolButton::clicked, this, &MainWindow::buFindClick);

    connect(pummiRead, &QAction::triggered, this, &MainWindow::pummiReadClick);
    connect(pummiPause, &QAction::triggered, this, &MainWindow::pummiPauseClick);
    connect(pummiStop, &QAction::triggered, this, &MainWindow::pummiStopClick);
    connect(pummiReadFromCursor, &QAction::triggered, this, &MainWindow::pummiReadFromCursorClick);
    connect(pummiReadWebPage, &QAction::triggered, this, &MainWindow::pummiReadWebPageClick);
    connect(pummiPreviousSentence, &QAction::triggered, this, [this] { MoveReading(ReadingMove::PreviousSentence); });
    connect(pummiNextSentence, &QAction::triggered, this, [this] { MoveReading(ReadingMove::NextSentence); });
    connect(pummiSayAgain, &QAction::triggered, this, [this] { MoveReading(ReadingMove::SentenceAgain); });
    connect(pummiPreviousParagraph, &QAction::triggered, this, [this] { MoveReading(ReadingMove::PreviousParagraph); });
    connect(pummiNextParagraph, &QAction::triggered, this, [this] { MoveReading(ReadingMove::NextParagraph); });
    connect(pummiReadFromHere, &QAction::triggered, this, &MainWindow::ReadFromHere);
    connect(pummiFloatingReaderBar, &QAction::triggered, this, &MainWindow::ShowFloatingReaderBar);
    connect(pummiShowReaderBar, &QAction::triggered, this, &MainWindow::ShowReaderBar);
    connect(pummiWatchClipboard, &QAction::triggered, this, &MainWindow::WatchClipboard);
    connect(pummiMatchLanguage, &QAction::triggered, this, &MainWindow::MatchVoiceToLanguage);
    connectReaderBar(mReaderBar);
    connect(pummiReadFromScreen, &QAction::triggered, this, &MainWindow::ReadFromScreen);
    connect(mipumSingleWord, &QAction::triggered, this, &MainWindow::mipumSingleWordClick);
    connect(mipumSentence, &QAction::triggered, this, &MainWindow::mipumSentenceClick);
    connect(mipumAutoReadOff, &QAction::triggered, this, &MainWindow::mipumAutoReadOffClick);

    connect(Yes1, &QAction::triggered, this, [this] { ShowReader(true); });
    connect(No1, &QAction::triggered, this, [this] { ShowReader(false); });
    // Nothing changes under the voice while it reads: the reading area is read-only then.
    connect(mUndoAction, &QAction::triggered, this, [this] {
        if (!reText->isReadOnly())
            reText->undo();
    });
    connect(mRedoAction, &QAction::triggered, this, [this] {
        if (!reText->isReadOnly())
            reText->redo();
    });
    mUndoAction->setEnabled(false);
    mRedoAction->setEnabled(false);
    connect(reText->document(), &QTextDocument::undoAvailable, mUndoAction, &QAction::setEnabled);
    connect(reText->document(), &QTextDocument::redoAvailable, mRedoAction, &QAction::setEnabled);
    connect(Cut2, &QAction::triggered, reText, &QTextEdit::cut);
    connect(Copy2, &QAction::triggered, reText, &QTextEdit::copy);
    connect(Paste2, &QAction::triggered, reText, &QTextEdit::paste);
    connect(Find2, &QAction::triggered, this, &MainWindow::FindInText);
    connect(Clear2, &QAction::triggered, this, &MainWindow::ClearReadingArea);
    connect(Beginning1, &QAction::triggered, this, [this] {
        QTextCursor cursor = reText->textCursor();
        cursor.setPosition(0);
        reText->setTextCursor(cursor);
    });
    connect(SelectAll1, &QAction::triggered, reText, &QTextEdit::selectAll);
    connect(Customise1, &QAction::triggered, this, &MainWindow::OpenCustomisation);

    connect(OpenKey, &QAction::triggered, this, &MainWindow::buOpenClick);
    connect(Open1, &QAction::triggered, this, &MainWindow::OpenDocument);
    connect(Save1, &QAction::triggered, this, &MainWindow::SaveText);
    connect(SaveAs1, &QAction::triggered, this, &MainWindow::SaveTextAs);
    connect(SaveAsMP31, &QAction::triggered, this, [this] { SaveAsMp3(true); });
    connect(SavetoMP3As1, &QAction::triggered, this, [this] { SaveAsMp3(false); });
    connect(Mp3Subtitles1, &QAction::toggled, this, [this](bool on) { mMp3Subtitles = on; });

    connect(SpellingAid1, &QAction::triggered, this, &MainWindow::ShowSpellingAssistant);
    connect(SpellingTest1, &QAction::triggered, this, &MainWindow::ShowSpellingBuilder);
    connect(Startspellingtest1, &QAction::triggered, this, &MainWindow::StartSpellingTest);

    connect(imgReader, &ReaderFace::clicked, this, &MainWindow::imgReaderClick);
    connect(imgReader, &ReaderFace::doubleClicked, this, &MainWindow::imgReaderDblClick);
    connect(imgReader, &ReaderFace::rightClicked, this,
            [this](const QPoint& position) { pumReaderOnly->popup(position); });

    connect(mLinkClicks, &LinkClicks::linkClicked, this, &MainWindow::reTextLinkClick);
    connect(clbReadingList, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { clbReadingListDblClick(item->text()); });

    // The choice submenus show what the reading model holds, whoever changed it.
    connect(mReading, &ReadingModel::voiceChanged, this, &MainWindow::ShowReadingChoices);
    // Text in pictures is read in the chosen voice's language, when its recognition data is installed.
    connect(mReading, &ReadingModel::voiceChanged, this, [this](const QString& description) {
        const qsizetype index = IndexOfVoice(mReading->voices(), description);
        setRecognitionLanguage(index < 0 ? QString() : mReading->voices().at(index).language);
    });
    connect(mReading, &ReadingModel::speedChanged, this, &MainWindow::ShowReadingChoices);
    connect(mReading, &ReadingModel::volumeChanged, this, &MainWindow::ShowReadingChoices);
    connect(mReading, &ReadingModel::autoReadModeChanged, this, &MainWindow::ShowReadingChoices);
    ShowReadingChoices();

    connect(spVoice, &Voice::OnWord, this, &MainWindow::spVoiceWord);
    connect(spVoice, &Voice::OnSentence, this, &MainWindow::spVoiceSentence);
    connect(spVoice, &Voice::OnViseme, this, &MainWindow::SpVoiceViseme);
    connect(spVoice, &Voice::OnEndStream, this, &MainWindow::spVoiceEndStream);
    // A reading that goes on unheard says so, and so does the sound when it comes back.
    connect(&spVoice->engine(), &SpeechEngine::soundLostChanged, this,
            [this](bool lost) { ShowNotice(lost ? QString() : tr("The sound device plays again.")); });

    // The window sees every event before its control does: keys (Ctrl+Shift+C wherever the focus is, auto-read
    // in the reading area), resizes of the panels it lays out and the reading area's right click. This one
    // filter is the only path, so each event is handled once.
    qApp->installEventFilter(this);
    orderTabStops();
    setAcceptDrops(true); // files dropped anywhere on the window open as documents
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (!reText || !imgReader)
        return QWidget::eventFilter(watched, event);
    // Only the events this filter acts on are looked at closely: the others may come from an object that is being
    // destroyed, whose type can no longer be asked.
    const QEvent::Type type = event->type();
    const bool acted = type == QEvent::KeyPress || type == QEvent::ContextMenu || type == QEvent::DragEnter ||
                       type == QEvent::DragMove || type == QEvent::Drop || type == QEvent::MouseButtonPress;
    const bool inWindow = acted && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this;
    // A click on the window while another one has the keyboard activates it. On X11 the click comes first: by now
    // it has given the focus to the control clicked (the address bar, say), and the activation that follows must
    // not take it back to the reading area. A click on a control that takes no focus (the face) leaves that to
    // the activation.
    if (type == QEvent::MouseButtonPress && inWindow && !isActiveWindow()) {
        const QWidget* focused = focusWidget();
        const auto* pressed = static_cast<QWidget*>(watched);
        if (focused && (focused == pressed || focused->isAncestorOf(pressed)))
            mClickFocused = true;
    }
    if (event->type() == QEvent::KeyPress && inWindow) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        // Ctrl+Shift+C opens the customisation wherever the focus is, but only while nothing is being read.
        if (key->key() == Qt::Key_C && (modifiers & Qt::ControlModifier) && (modifiers & Qt::ShiftModifier)) {
            if (!mReading->busy())
                OpenCustomisation();
            return true;
        }
        // Tab types a tab in the reading area; Ctrl+Tab and Ctrl+Shift+Tab move on from any control.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (modifiers & Qt::ControlModifier)) {
            focusNextPrevChild(key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier));
            return true;
        }
        const bool menuKey = (key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                             (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier);
        if (menuKey && PopupMenuForKeyboard(static_cast<QWidget*>(watched)))
            return true;
    }
    // Some window systems follow the context-menu key with a menu request of their own: the key above has
    // already opened the menu.
    if (event->type() == QEvent::ContextMenu && inWindow &&
        static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard &&
        (watched == imgReader || watched == reText || watched == reText->viewport() ||
         qobject_cast<ToolbarButton*>(watched)))
        return true;
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop) && inWindow) {
        // A file dropped anywhere on the window opens as a document; other drops (text) go where they fall.
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData() ? drop->mimeData()->urls() : QList<QUrl>();
        if (!urls.isEmpty() && urls.first().isLocalFile()) {
            drop->acceptProposedAction();
            if (type == QEvent::Drop)
                OpenDocumentFile(urls.first().toLocalFile());
            return true;
        }
    }
    if (watched == panReader && event->type() == QEvent::Resize)
        layoutReaderPanel();
    else if (watched == cbarMain2 && event->type() == QEvent::Resize)
        layoutToolbar();
    else if (watched == reText && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl+F, with or without other modifiers, opens Find.
        if (key->key() == Qt::Key_F && (key->modifiers() & Qt::ControlModifier)) {
            FindInText();
            return true;
        }
        const QString typed = key->text();
        if (typed.size() == 1 && !(key->modifiers() & Qt::ControlModifier)) {
            QChar character = typed.at(0);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
                character = QChar(13);
            reTextKeyPress(character);
        }
    } else if (reText && watched == reText->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            PopupTextMenu(reText->viewport()->mapTo(reText, mouse->position().toPoint()));
            return true;
        }
        if (mouse->button() == Qt::LeftButton)
            ClickWhilePaused();
    }
    return QWidget::eventFilter(watched, event);
}

QPoint MainWindow::TextMenuPosition(const QPoint& positionInReadingArea) const
{
    // The pointer position is taken as a position in the window's client area, then moved past the
    // reader panel and the toolbar.
    return mapToGlobal(positionInReadingArea) +
           QPoint(panReader->isVisible() ? panReader->width() : 0, cbarMain2->height());
}

void MainWindow::PopupTextMenu(const QPoint& positionInReadingArea)
{
    mWritingAids->offerFor(pumTextToRead,
                           reText->cursorForPosition(reText->viewport()->mapFrom(reText, positionInReadingArea)));
    pumTextToRead->popup(TextMenuPosition(positionInReadingArea));
}

namespace {
// A menu opened from the keyboard starts on its first command, so the arrow keys and a screen reader begin there.
void popupAtFirstItem(QMenu* menu, const QPoint& at)
{
    menu->popup(at);
    for (QAction* item : menu->actions()) {
        if (item->isVisible() && item->isEnabled() && !item->isSeparator()) {
            menu->setActiveAction(item);
            break;
        }
    }
}
} // namespace

bool MainWindow::PopupMenuForKeyboard(QWidget* focused)
{
    if (focused == reText || focused == reText->viewport()) {
        const QRect caret = reText->cursorRect();
        mWritingAids->offerFor(pumTextToRead, reText->textCursor());
        popupAtFirstItem(pumTextToRead, reText->viewport()->mapToGlobal(caret.bottomLeft()));
        return true;
    }
    if (focused == imgReader) {
        popupAtFirstItem(pumReaderOnly, imgReader->mapToGlobal(imgReader->rect().center()));
        return true;
    }
    if (auto* button = qobject_cast<ToolbarButton*>(focused))
        return button->PopupDropDown();
    return false;
}

void MainWindow::orderTabStops()
{
    // Screen order: the toolbar, then the reader panel, the reading area and the web bar under it (the web page
    // follows Go! once the browser has started).
    const QList<QWidget*> stops = {buOpen,
                                   buSAve,
                                   buSpelling,
                                   buMinimise,
                                   buExit,
                                   imgReader,
                                   buReadingAreaClear,
                                   buFind,
                                   reText,
                                   Panel1->buWebBack,
                                   Panel1->buWebRefresh,
                                   Panel1->buWebForward,
                                   Panel1->buWebStop,
                                   Panel1->edWebAddress,
                                   Panel1->buWebGo};
    for (qsizetype i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i - 1), stops.at(i));
}

void MainWindow::ShowReader(bool visible)
{
    panReader->setVisible(visible);
    MarkDefault(visible ? Yes1 : No1);
}

void MainWindow::mipumSingleWordClick()
{
    mReading->setAutoReadMode(AutoReadMode::SingleWord);
}

void MainWindow::mipumSentenceClick()
{
    mReading->setAutoReadMode(AutoReadMode::Sentence);
}

void MainWindow::mipumAutoReadOffClick()
{
    mReading->setAutoReadMode(AutoReadMode::Off);
}

void MainWindow::ShowReadingChoices()
{
    const auto shown = [](const std::optional<int>& value) { return value ? QVariant(*value) : QVariant(); };
    MarkChoice(miReadersList, mReading->voice().isEmpty() ? QVariant() : QVariant(mReading->voice()));
    MarkChoice(miReadSpeed, shown(mReading->speed()));
    MarkChoice(miReadVolume, shown(mReading->volume()));
    MarkChoice(miAutoRead, int(mReading->autoReadMode()));
}
