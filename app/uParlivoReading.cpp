// Reading aloud: the voice, the reading and idle states, the highlight of the spoken words and auto-read.
#include "app/TToolbarButton.h"
#include "app/uParlivo.h"
#include "dialogs/MenuMarker.h"
#include "dialogs/MenuTypeAhead.h"
#include "dialogs/uStatus.h"
#include "documents/OSTRoutines.h"
#include "speech/ReaderFace.h"
#include "speech/VoiceChoices.h"
#include "speech/VoiceMenu.h"
#include "platform/Errors.h"
#include "speech/AutoRead.h"
#include "speech/uPronunciations.h"
#include "platform/Prompts.h"
#include "settings/ReadingAidsView.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTextDocumentFragment>
#include <QTextEdit>

void TfrmReader::StartVoices()
{
    spVoice->SetEventInterests(AllEventInterests);
    FVoices = SortedUniqueVoices(spVoice->GetVoices());
    for (const VoiceToken& voice : FVoices) {
        QAction* item = addItem(miReadersList, QStringLiteral("miReader"), voice.description, {});
        connect(item, &QAction::triggered, this, [this, item] { SelectVoice(item); });
        FReaderItems.append(item);
    }
    EnableTypeAhead(miReadersList);
    PlaceReaderItems();
    // Placed again each time it opens: the screen may be another, and the chosen voice's language comes first.
    connect(miReadersList, &QMenu::aboutToShow, this, &TfrmReader::PlaceReaderItems);
}

void TfrmReader::PlaceReaderItems()
{
    // An item keeps its place when its voice is no longer offered (the sample voice): it is only marked.
    QList<VoiceToken> voices;
    for (const QAction* item : FReaderItems) {
        const qsizetype index = IndexOfVoice(FVoices, ItemCaption(item));
        voices.append(index < 0 ? VoiceToken{{}, ItemCaption(item)} : FVoices.at(index));
    }
    const QScreen* shownOn = pumReaderOnly->isVisible() ? pumReaderOnly->screen() : screen();
    PlaceVoiceItems(
        miReadersList, FReaderItems, voices, MenuRowsOnScreen(miReadersList, shownOn), [this](QMenu* group) {
            group->setToolTipsVisible(true);
            connect(group, &QMenu::hovered, this, [this](QAction* item) { ShowHintInStatusBar(item->statusTip()); });
        });
}

void TfrmReader::LoadPronunciations()
{
    QStringList problems;
    spVoice->SetPronunciations(PronunciationList::load(UserPronunciationsPath(), &problems));
    if (problems.isEmpty())
        return;
    // A damaged file may have thousands of bad lines: the first few tell the teacher what to look for.
    constexpr qsizetype Shown = 10;
    QString lines = problems.mid(0, Shown).join(QLatin1Char('\n'));
    if (problems.size() > Shown)
        lines += QStringLiteral("\n... and %1 more lines.").arg(problems.size() - Shown);
    prompts().message(
        QStringLiteral("These lines of the pronunciation list are not \"written=spoken\" and were left out:\n%1")
            .arg(lines),
        MessageKind::Error);
}

void TfrmReader::EditPronunciations()
{
    TfrmPronunciations dialog(*spVoice, UserPronunciationsPath(), this);
    dialog.exec();
}

void TfrmReader::SelectVoice(QAction* item)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MarkDefault(item);
    const qsizetype index = IndexOfVoice(FVoices, ItemCaption(item));
    if (index < 0) {
        // A voice that is no longer offered (the sample voice) is only marked.
        QApplication::restoreOverrideCursor();
        return;
    }
    spVoice->SetVoice(FVoices.at(index));
    const StatusHandle status = ShowStatus(QStringLiteral("Initialising reader"),
                                           QStringLiteral("Your text reader is loading, please wait... "));
    imgReader->setEnabled(false);
    QCoreApplication::processEvents();
    try {
        SpeakAndWait(QStringLiteral("Your text reader is now initialised and ready."));
    } catch (...) {
        QApplication::restoreOverrideCursor();
        imgReader->setEnabled(true);
        CloseStatus(status);
        throw;
    }
    QApplication::restoreOverrideCursor();
    imgReader->setEnabled(true);
    CloseStatus(status);
}

void TfrmReader::SetReadingSpeed(QAction* item)
{
    bool ok = false;
    const int speed = ItemCaption(item).toInt(&ok);
    if (const std::optional<int> rate = ok ? RateForSpeed(speed) : std::nullopt)
        spVoice->SetRate(*rate);
    MarkDefault(item);
}

void TfrmReader::SetReadingVolume(QAction* item)
{
    spVoice->SetVolume(VolumeForCaption(StrToInt(ItemCaption(item))));
    MarkDefault(item);
}

void TfrmReader::SpeakAndWait(const QString& text)
{
    ::SpeakAndWait(*spVoice, text);
}

void TfrmReader::StopSpeaking()
{
    try {
        spVoice->Skip(QStringLiteral("Sentence"), SkipAllSentences);
    } catch (...) {
        // Stopping is best effort: a voice that cannot skip has nothing to stop.
    }
}

bool TfrmReader::readingAreaBlank() const
{
    return TrimControl(reText->toPlainText()).isEmpty();
}

void TfrmReader::StartReading(bool fromStart)
{
    FHighlight = true;
    if (readingAreaBlank())
        return;
    FBusy = true;
    if (!reText->isReadOnly()) {
        reText->setFocus();
        reText->setReadOnly(true);
    }
    QTextCursor cursor = reText->textCursor();
    if (fromStart) {
        cursor.setPosition(0);
        reText->setTextCursor(cursor);
        if (FPaused) {
            // The paused text goes on where the voice stopped; nothing is spoken anew.
            EnterReadingState();
            spVoice->Resume();
            ShowStatusText(QStringLiteral("Reading resumed"));
            return;
        }
        FFromCursor = false;
        const QString text = TextForVoice(reText->toPlainText());
        EnterReadingState();
        spVoice->Resume();
        spVoice->Speak(text, SpeakReading);
        ShowStatusText(QStringLiteral("Reading started"));
        return;
    }
    FFromCursor = true;
    const int start = cursor.selectionStart();
    cursor.setPosition(start);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    reText->setTextCursor(cursor);
    const QString text = TextForVoice(cursor.selection().toPlainText());
    FCursorOffset = start;
    if (TrimControl(text).isEmpty()) {
        // Only blanks after the caret: nothing is spoken and no end of stream will come, so go back to idle here.
        EnterIdleState();
        return;
    }
    EnterReadingState();
    spVoice->Resume();
    spVoice->Speak(text, SpeakReading);
    ShowStatusText(QStringLiteral("Reading started from the cursor"));
}

void TfrmReader::PauseReading()
{
    // A pause while nothing is being read does nothing.
    if (!FBusy || FPaused)
        return;
    // Disabling the face takes the focus from it: a keyboard user who paused with Space keeps it there.
    const bool faceFocused = imgReader->hasFocus();
    imgReader->setEnabled(false);
    spVoice->Pause();
    FBusy = true;
    FPaused = true;
    pummiPause->setEnabled(false);
    pummiStop->setEnabled(true);
    pummiRead->setEnabled(true);
    reText->setReadOnly(true);
    imgReader->setEnabled(true);
    if (faceFocused)
        imgReader->setFocus(Qt::OtherFocusReason);
    ShowStatusText(QStringLiteral("Reading paused"));
}

void TfrmReader::StopReading()
{
    // Only a reading (read-only text) is announced: the clear commands stop an idle reader too.
    const bool reading = reText->isReadOnly();
    try {
        if (FPaused)
            spVoice->Resume();
        spVoice->Skip(QStringLiteral("Sentence"), SkipAllSentences);
    } catch (...) {
        // Errors while stopping are swallowed; the controls still return to idle.
    }
    if (!FExiting) {
        EnterIdleState();
        if (reading)
            ShowStatusText(QStringLiteral("Reading stopped"));
    }
}

void TfrmReader::EnterReadingState()
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
    FPaused = false;
    FReadingAidsView->setReading(true);
}

void TfrmReader::EnterIdleState()
{
    for (QWidget* control :
         {static_cast<QWidget*>(buOpen), static_cast<QWidget*>(buSAve), static_cast<QWidget*>(buSpelling),
          static_cast<QWidget*>(buReadingAreaClear), static_cast<QWidget*>(buFind)})
        control->setEnabled(true);
    FPaused = false;
    FBusy = false;
    for (QMenu* submenu : {miColourSchemes, miAutoRead, miReadersList, pupmiEdit})
        submenu->menuAction()->setEnabled(true);
    for (QAction* key : {OpenKey, Save1, SaveAs1, SaveAsMP31})
        key->setEnabled(true);
    pummiReadFromCursor->setEnabled(true);
    pummiPause->setEnabled(false);
    pummiStop->setEnabled(false);
    pummiRead->setEnabled(true);
    reText->setReadOnly(false);
    FReadingAidsView->setReading(false);
}

void TfrmReader::HighlightSpoken(int position, int length)
{
    if (!FBusy)
        return;
    const int start = FFromCursor ? position + FCursorOffset : position;
    const int end = reText->document()->characterCount() - 1;
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(qBound(0, start, end));
    cursor.setPosition(qBound(0, start + length, end), QTextCursor::KeepAnchor);
    // Setting the cursor scrolls the spoken word into view only when it is out of sight.
    reText->setTextCursor(cursor);
}

void TfrmReader::spVoiceWord(int, qint64, int characterPosition, int length)
{
    if (FHighlight)
        HighlightSpoken(characterPosition, length);
}

void TfrmReader::spVoiceSentence(int, qint64, int characterPosition, int length)
{
    if (length > 0 && FHighlight)
        HighlightSpoken(characterPosition, length);
}

void TfrmReader::spVoiceEndStream(int, qint64)
{
    // The reading area is read-only only while a reading is under way; an auto-read word ends quietly.
    const bool readingEnded = reText->isReadOnly();
    if (!QCoreApplication::closingDown()) {
        EnterIdleState();
        if (readingEnded)
            ShowStatusText(QStringLiteral("Reading finished"));
    }
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(cursor.selectionStart());
    reText->setTextCursor(cursor);
    DrawRestingFace();
}

void TfrmReader::imgReaderClick()
{
    if (!FBusy || FPaused)
        StartReading(true);
    else
        PauseReading();
}

void TfrmReader::imgReaderDblClick()
{
    if (FBusy)
        StopReading();
}

void TfrmReader::reTextKeyPress(QChar key)
{
    if ((FAutoReadMode == 1 || FAutoReadMode == 2) && !FBusy)
        AutoReadKey(key);
}

void TfrmReader::AutoReadKey(QChar key)
{
    const QString fragment =
        AutoReadFragment(reText->toPlainText(), reText->textCursor().selectionStart(), key, FAutoReadMode);
    if (fragment.isEmpty())
        return;
    FHighlight = false;
    spVoice->Speak(fragment, SpeakAutoRead);
    FBusy = true;
}

void TfrmReader::SpVoiceViseme(int, qint64, int, int, int, int currentVisemeId)
{
    FCurrentViseme = currentVisemeId;
    imgReader->SpVoiceViseme(currentVisemeId);
}

void TfrmReader::DrawRestingFace()
{
    imgReader->DrawRestingFace();
}
