// Reading from anywhere: the reader bars, and text that comes from other programs (their selection, the clipboard).
#include "window/main/MainWindow.h"
#include "window/main/ReaderBar.h"
#include "window/readingarea/ReadingAreaEdits.h"
#include "core/GivenText.h"
#include "core/Prompts.h"
#include "core/TextRoutines.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QScopeGuard>
#include <QTextEdit>

void MainWindow::connectReaderBar(ReaderBar* bar)
{
    connect(bar, &ReaderBar::playPause, this, &MainWindow::PlayPause);
    connect(bar, &ReaderBar::stop, this, &MainWindow::StopReading);
    connect(bar, &ReaderBar::previousSentence, this, [this] { MoveReading(ReadingMove::PreviousSentence); });
    connect(bar, &ReaderBar::nextSentence, this, [this] { MoveReading(ReadingMove::NextSentence); });
    connect(bar, &ReaderBar::readSelection, this, &MainWindow::ReadSelection);
    connect(bar, &ReaderBar::voiceChosen, this, [this](const QString& description) {
        // The bar changes the voice quietly; the readers menu is where the voice says it is ready.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        mReading->setVoice(description);
    });
    connect(bar, &ReaderBar::speedChosen, this, &MainWindow::SetReadingSpeed);
}

void MainWindow::applyReaderBarLook()
{
    for (ReaderBar* bar : {mReaderBar, mFloatingBar ? mFloatingBar->bar() : nullptr}) {
        if (bar)
            bar->setLook(cbarMain2->palette(), cbarMain2->font(), mReadingAids.FontFamily);
    }
}

void MainWindow::PlayPause()
{
    if (mReading->state() == ReadingState::Reading)
        PauseReading();
    else
        StartReading(true);
}

void MainWindow::ShowReaderBar(bool visible)
{
    mReaderBar->setVisible(visible);
    pummiShowReaderBar->setChecked(visible);
}

void MainWindow::ShowFloatingReaderBar(bool visible)
{
    if (!visible) {
        if (mFloatingBar) {
            mFloatingBarPlace = mFloatingBar->pos();
            mFloatingBar->hide();
        }
        pummiFloatingReaderBar->setChecked(false);
        return;
    }
    if (!mFloatingBar) {
        // A window of its own (no parent), so it stays in sight when the main window is minimised.
        mFloatingBar = new FloatingReaderBar(*mReading);
        mFloatingBar->setAttribute(Qt::WA_DeleteOnClose, false);
        connect(this, &QObject::destroyed, mFloatingBar, &QObject::deleteLater);
        connectReaderBar(mFloatingBar->bar());
        connect(mFloatingBar, &FloatingReaderBar::closedByUser, this, [this] { ShowFloatingReaderBar(false); });
        mFloatingBar->bar()->showVoices();
        applyReaderBarLook();
        mFloatingBar->adjustSize();
        if (mFloatingBarPlace != QPoint(-1, -1))
            mFloatingBar->move(mFloatingBarPlace);
    }
    mFloatingBar->show();
    mFloatingBar->raise();
    pummiFloatingReaderBar->setChecked(true);
}

bool MainWindow::ReadText(const QString& given)
{
    QString problem;
    const QString text = readableGivenText(given, &problem);
    if (text.isEmpty()) {
        ShowNotice(problem);
        return false;
    }
    const std::optional<int> from = PutGivenText(text);
    if (!from)
        return false;
    ReadFrom(*from);
    ShowStatusText(tr("Reading the text from another program"));
    return true;
}

std::optional<int> MainWindow::PutGivenText(const QString& text)
{
    // A document not changed since it was opened or saved, and text that came in earlier, can be had back with
    // Undo or from the file: the user is asked only about work that would be lost.
    enum Answer
    {
        Replace,
        AddAtEnd,
        Cancel
    };
    int answer = Replace;
    if (readingAreaHoldsWork()) {
        const int previewLength = 300;
        QString preview = text.simplified();
        if (preview.size() > previewLength)
            preview = preview.left(previewLength) + QStringLiteral("\u2026");
        answer = prompts().choose(tr("Replace text in the reading area?"),
                                  tr("The text that arrived:\n\u201C%1\u201D").arg(preview),
                                  {tr("Replace"), tr("Add at the end"), tr("Cancel")});
    }
    if (answer != Replace && answer != AddAtEnd)
        return std::nullopt;
    // The old reading is let go; the next reading purges what the voice still holds of it.
    mReading->setState(ReadingState::Idle);
    int from = 0;
    if (answer == AddAtEnd) {
        // The reading area keeps its text, and the reading starts where the new text does.
        from = AppendReadingAreaText(reText, text);
        return from;
    }
    RememberReadingPlace();
    mCurrentDocument.clear();
    mOpenDialogFileName.clear();
    ReplaceReadingAreaText(reText, text);
    // Text that came in is no work of the user's until it is changed.
    reText->document()->setModified(false);
    return from;
}

QString MainWindow::SelectedText() const
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    // Where the desktop has no selection of its own (Wayland, Windows) the clipboard stands in.
    if (clipboard->supportsSelection()) {
        const QString selected = clipboard->text(QClipboard::Selection);
        if (!TrimControl(selected).isEmpty())
            return selected;
    }
    return ClipboardText();
}

QString MainWindow::ClipboardText() const
{
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}

bool MainWindow::ReadSelection()
{
    // Text selected in the reading area itself is read where it stands; asking to replace the reading area with a
    // part of itself would put its text at risk.
    if (QGuiApplication::clipboard()->ownsSelection() && reText->textCursor().hasSelection()) {
        ReadFrom(reText->textCursor().selectionStart());
        return true;
    }
    return ReadText(SelectedText());
}

bool MainWindow::ReadClipboard()
{
    return ReadText(ClipboardText());
}

FloatingReaderBar* MainWindow::floatingReaderBar() const
{
    return mFloatingBar;
}

void MainWindow::WatchClipboard(bool on)
{
    pummiWatchClipboard->setChecked(on);
    QClipboard* clipboard = QGuiApplication::clipboard();
    disconnect(clipboard, &QClipboard::dataChanged, this, nullptr);
    if (!on)
        return;
    connect(clipboard, &QClipboard::dataChanged, this, [this, clipboard, lastRead = QString()]() mutable {
        // Text copied from Parlivo itself is already in the reading area; a question already open answers first.
        if (clipboard->ownsClipboard() || QApplication::activeModalWidget())
            return;
        // X11 may tell of one copy more than once: it is read once.
        const QString copied = clipboard->text(QClipboard::Clipboard);
        if (TrimControl(copied).isEmpty() || copied == lastRead)
            return;
        lastRead = copied;
        ReadText(copied);
    });
}
