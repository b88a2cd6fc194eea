// Reading aloud: the voice, the reading and idle states, the highlight of the spoken words and auto-read.
#include "window/main/ToolbarButton.h"
#include "window/main/MainWindow.h"
#include "window/main/MenuMarker.h"
#include "window/main/MenuTypeAhead.h"
#include "window/dialogs/StatusDialog.h"
#include "core/TextRoutines.h"
#include "window/face/ReaderFace.h"
#include "speech/VoiceChoices.h"
#include "window/main/VoiceMenu.h"
#include "core/Errors.h"
#include "speech/AutoRead.h"
#include "window/dialogs/PronunciationsDialog.h"
#include "core/Prompts.h"
#include "window/readingarea/ReadingAidsView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTextEdit>

void MainWindow::StartVoices()
{
    mReading->setVoices(spVoice->GetVoices());
    for (const VoiceToken& voice : mReading->voices()) {
        QAction* item = addItem(miReadersList, QStringLiteral("miReader"), voice.description, {});
        item->setData(voice.description); // what marks the item as the model's voice
        // Checked when chosen, so a screen reader says which voice reads; a click never just clears the check.
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item, voice] {
            SelectVoice(voice.description);
            item->setChecked(IsMarkedDefault(item));
        });
        mReaderItems.append(item);
    }
    EnableTypeAhead(miReadersList);
    PlaceReaderItems();
    // Placed again each time it opens: the screen may be another, and the chosen voice's language comes first.
    connect(miReadersList, &QMenu::aboutToShow, this, &MainWindow::PlaceReaderItems);
    ShowReadingChoices();
}

void MainWindow::PlaceReaderItems()
{
    // An item keeps its place when its voice is no longer offered (the sample voice): it is only marked.
    QList<VoiceToken> voices;
    for (const QAction* item : mReaderItems) {
        const qsizetype index = IndexOfVoice(mReading->voices(), ItemCaption(item));
        voices.append(index < 0 ? VoiceToken{{}, ItemCaption(item)} : mReading->voices().at(index));
    }
    const QScreen* shownOn = pumReaderOnly->isVisible() ? pumReaderOnly->screen() : screen();
    PlaceVoiceItems(
        miReadersList, mReaderItems, voices, MenuRowsOnScreen(miReadersList, shownOn), [this](QMenu* group) {
            group->setToolTipsVisible(true);
            connect(group, &QMenu::hovered, this, [this](QAction* item) { ShowHintInStatusBar(item->statusTip()); });
        });
}

void MainWindow::LoadPronunciations()
{
    PronunciationProblems problems;
    spVoice->SetPronunciations(PronunciationList::load(UserPronunciationsPath(), &problems));
    if (problems.isEmpty())
        return;
    // A damaged file may have a million bad lines: their count and the first few tell the teacher what to look for.
    prompts().message(tr("These lines of the pronunciation list are not \"written=spoken\" and were left out:\n%1")
                          .arg(problems.summary()),
                      MessageKind::Error);
}

void MainWindow::EditPronunciations()
{
    PronunciationsDialog dialog(*spVoice, UserPronunciationsPath(), this);
    dialog.exec();
}

void MainWindow::SelectVoice(const QString& description)
{
    // Starting a voice takes a moment; the hourglass goes however it ends, a voice that cannot start included.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    if (mReading->setVoice(description))
        AnnounceVoice();
}

void MainWindow::AnnounceVoice()
{
    const StatusHandle status =
        ShowStatus(tr("Initialising reader"), tr("Your text reader is loading, please wait... "));
    imgReader->setEnabled(false);
    const auto done = qScopeGuard([this, &status] {
        imgReader->setEnabled(true);
        CloseStatus(status);
    });
    QCoreApplication::processEvents();
    SpeakAndWait(QStringLiteral("Your text reader is now initialised and ready."));
}

void MainWindow::SetReadingSpeed(int speed)
{
    mReading->setSpeed(speed);
}

void MainWindow::SetReadingVolume(int volume)
{
    mReading->setVolume(volume);
}

void MainWindow::SpeakAndWait(const QString& text)
{
    ::SpeakAndWait(*spVoice, text);
}

bool MainWindow::readingAreaBlank() const
{
    return TrimControl(reText->toPlainText()).isEmpty();
}

void MainWindow::StartReading(bool fromStart)
{
    mHighlight = true;
    if (readingAreaBlank()) {
        ShowNotice(tr("There is nothing to read yet: type or paste some text, or open a document."));
        return;
    }
    if (!reText->isReadOnly()) {
        reText->setFocus();
        reText->setReadOnly(true);
    }
    QTextCursor cursor = reText->textCursor();
    if (fromStart) {
        cursor.setPosition(0);
        reText->setTextCursor(cursor);
        if (mReading->state() == ReadingState::Paused && mResumeFrom) {
            // A move or a click while paused chose where the reading goes on.
            ReadFrom(*mResumeFrom);
            return;
        }
        if (mReading->state() == ReadingState::Paused) {
            // The paused text goes on where the voice stopped; nothing is spoken anew.
            EnterReadingState();
            spVoice->Resume();
            ShowStatusText(tr("Reading resumed"));
            return;
        }
        if (mMatchLanguage) {
            ReadFrom(0);
            ShowStatusText(tr("Reading started"));
            return;
        }
        mFromCursor = false;
        mSpokenAt = 0;
        const QString text = TextForVoice(reText->toPlainText());
        EnterReadingState();
        spVoice->Resume();
        spVoice->Speak(text, SpeakReading);
        ShowStatusText(tr("Reading started"));
        return;
    }
    const int start = cursor.selectionStart();
    if (mMatchLanguage) {
        ReadFrom(start);
        ShowStatusText(tr("Reading started from the cursor"));
        return;
    }
    mFromCursor = true;
    cursor.setPosition(start);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    reText->setTextCursor(cursor);
    const QString text = TextForVoice(cursor.selection().toPlainText());
    mCursorOffset = start;
    mSpokenAt = start;
    if (TrimControl(text).isEmpty()) {
        // Only blanks after the caret: nothing is spoken and no end of stream will come, so go back to idle here.
        EnterIdleState();
        return;
    }
    EnterReadingState();
    spVoice->Resume();
    spVoice->Speak(text, SpeakReading);
    ShowStatusText(tr("Reading started from the cursor"));
}

void MainWindow::ReadFrom(int position)
{
    mHighlight = true;
    mResumeFrom.reset();
    const QString all = reText->toPlainText();
    position = qBound(0, position, int(all.size()));
    const QString text = TextForVoice(all.mid(position));
    if (TrimControl(text).isEmpty())
        return;
    if (!reText->isReadOnly()) {
        reText->setFocus();
        reText->setReadOnly(true);
    }
    mFromCursor = true;
    mCursorOffset = position;
    mSpokenAt = position;
    // The purge drops the sound of what was being said, and with it its events, before this text is heard.
    EnterReadingState();
    spVoice->Resume();
    if (mMatchLanguage) {
        mRuns = languageRuns(all, position);
        speakNextRun();
        return;
    }
    spVoice->Speak(text, SpeakReading);
}

void MainWindow::MoveReading(ReadingMove move)
{
    const QString text = reText->toPlainText();
    int from = mSpokenAt;
    if (mResumeFrom)
        from = *mResumeFrom;
    else if (!mReading->reading())
        from = reText->textCursor().selectionStart();
    const std::optional<TextSpan> target = readingMoveTarget(text, from, move);
    if (!target)
        return;
    if (mReading->state() != ReadingState::Paused) {
        ReadFrom(target->start);
        return;
    }
    // Paused: the target is shown, and the reading goes on from it when resumed.
    mResumeFrom = target->start;
    mSpokenAt = target->start;
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(target->start);
    cursor.setPosition(target->end(), QTextCursor::KeepAnchor);
    reText->setTextCursor(cursor);
}

void MainWindow::ReadFromHere()
{
    const int caret = mResumeFrom ? *mResumeFrom : reText->textCursor().selectionStart();
    ReadFrom(wordAt(reText->toPlainText(), caret).start);
}

void MainWindow::ClickWhilePaused()
{
    // A click (not a drag) on a word while paused: the reading goes on from that word.
    const QTextCursor caret = reText->textCursor();
    if (mReading->state() != ReadingState::Paused || caret.hasSelection())
        return;
    const TextSpan word = wordAt(reText->toPlainText(), caret.position());
    mResumeFrom = word.start;
    mSpokenAt = word.start;
    QTextCursor cursor = caret;
    cursor.setPosition(word.start);
    cursor.setPosition(word.end(), QTextCursor::KeepAnchor);
    reText->setTextCursor(cursor);
}

void MainWindow::PauseReading()
{
    // A pause while nothing is being said does nothing.
    if (!mReading->busy() || mReading->state() == ReadingState::Paused)
        return;
    // Disabling the face takes the focus from it: a keyboard user who paused with Space keeps it there.
    const bool faceFocused = imgReader->hasFocus();
    imgReader->setEnabled(false);
    spVoice->Pause();
    mReading->setState(ReadingState::Paused);
    pummiPause->setEnabled(false);
    pummiStop->setEnabled(true);
    pummiRead->setEnabled(true);
    reText->setReadOnly(true);
    imgReader->setEnabled(true);
    if (faceFocused)
        imgReader->setFocus(Qt::OtherFocusReason);
    ShowStatusText(tr("Reading paused"));
}

void MainWindow::StopReading()
{
    // Only a reading is announced: the clear commands stop an idle reader too.
    const bool reading = mReading->reading();
    try {
        if (mReading->state() == ReadingState::Paused)
            spVoice->Resume();
        spVoice->SkipAll();
    } catch (...) {
        // Errors while stopping are swallowed; the controls still return to idle.
    }
    if (!mExiting) {
        EnterIdleState();
        // A voice stopped while paused may not report its end: the face rests now, not on a word cut short.
        DrawRestingFace();
        if (reading)
            ShowStatusText(tr("Reading stopped"));
    }
}

void MainWindow::EnterReadingState()
{
    for (QWidget* control :
         {static_cast<QWidget*>(buOpen), static_cast<QWidget*>(buSAve), static_cast<QWidget*>(buSpelling),
          static_cast<QWidget*>(buReadingAreaClear), static_cast<QWidget*>(buFind)})
        control->setEnabled(false);
    for (QMenu* submenu : {miColourSchemes, miAutoRead, miReadersList, pupmiEdit})
        submenu->menuAction()->setEnabled(false);
    // The keys of the Open and Save buttons and of the Save menu rest with the buttons.
    for (QAction* key : {OpenKey, Save1, SaveAs1, SaveAsMP31})
        key->setEnabled(false);
    pummiReadFromCursor->setEnabled(false);
    pummiPause->setEnabled(true);
    pummiStop->setEnabled(true);
    pummiRead->setEnabled(false);
    mReading->setState(ReadingState::Reading);
    mReadingAidsView->setReading(true);
}

void MainWindow::EnterIdleState()
{
    for (QWidget* control :
         {static_cast<QWidget*>(buOpen), static_cast<QWidget*>(buSAve), static_cast<QWidget*>(buSpelling),
          static_cast<QWidget*>(buReadingAreaClear), static_cast<QWidget*>(buFind)})
        control->setEnabled(true);
    mReading->setState(ReadingState::Idle);
    mResumeFrom.reset();
    for (QMenu* submenu : {miColourSchemes, miAutoRead, miReadersList, pupmiEdit})
        submenu->menuAction()->setEnabled(true);
    for (QAction* key : {OpenKey, Save1, SaveAs1, SaveAsMP31})
        key->setEnabled(true);
    pummiReadFromCursor->setEnabled(true);
    pummiPause->setEnabled(false);
    pummiStop->setEnabled(false);
    pummiRead->setEnabled(true);
    reText->setReadOnly(false);
    mReadingAidsView->setReading(false);
    mRuns.clear();
    restoreChosenVoice();
}

void MainWindow::HighlightSpoken(int position, int length)
{
    if (!mReading->busy())
        return;
    const int start = mFromCursor ? position + mCursorOffset : position;
    mSpokenAt = start;
    const int end = reText->document()->characterCount() - 1;
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(qBound(0, start, end));
    cursor.setPosition(qBound(0, start + length, end), QTextCursor::KeepAnchor);
    // Setting the cursor scrolls the spoken word into view only when it is out of sight.
    reText->setTextCursor(cursor);
}

void MainWindow::spVoiceWord(const SpeechEvent& event)
{
    if (mHighlight)
        HighlightSpoken(event.position, event.length);
}

void MainWindow::spVoiceSentence(const SpeechEvent& event)
{
    if (event.length > 0 && mHighlight)
        HighlightSpoken(event.position, event.length);
}

void MainWindow::spVoiceEndStream(const SpeechEvent&)
{
    // A reading in the voices of its languages goes on with its next stretch.
    if (mReading->state() == ReadingState::Reading && !mRuns.isEmpty()) {
        speakNextRun();
        return;
    }
    // Every utterance ends here; only the end of a reading is announced, an auto-read word ends quietly.
    const bool readingEnded = mReading->reading();
    if (!QCoreApplication::closingDown()) {
        EnterIdleState();
        if (readingEnded)
            ShowStatusText(tr("Reading finished"));
    }
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(cursor.selectionStart());
    reText->setTextCursor(cursor);
    DrawRestingFace();
}

void MainWindow::imgReaderClick()
{
    if (!mReading->busy() || mReading->state() == ReadingState::Paused)
        StartReading(true);
    else
        PauseReading();
}

void MainWindow::imgReaderDblClick()
{
    if (mReading->busy())
        StopReading();
}

void MainWindow::reTextKeyPress(QChar key)
{
    if (mReading->autoReadMode() != AutoReadMode::Off && !mReading->busy())
        AutoReadKey(key);
}

void MainWindow::AutoReadKey(QChar key)
{
    const QString fragment =
        AutoReadFragment(reText->toPlainText(), reText->textCursor().selectionStart(), key, mReading->autoReadMode());
    if (fragment.isEmpty())
        return;
    mHighlight = false;
    spVoice->Speak(fragment, SpeakAutoRead);
    mReading->setState(ReadingState::Speaking);
}

void MainWindow::SpVoiceViseme(const SpeechEvent& event)
{
    mCurrentViseme = event.viseme;
    imgReader->SpVoiceViseme(event.viseme);
}

void MainWindow::DrawRestingFace()
{
    imgReader->DrawRestingFace();
}
