// Documents in and out of the reading area: open, save, find and the edit commands.
#include "window/main/MainWindow.h"
#include "window/dialogs/StatusDialog.h"
#include "formats/DocumentFormats.h"
#include "window/readingarea/DocumentSaver.h"
#include "window/readingarea/FindInText.h"
#include "window/readingarea/ReadingAreaEdits.h"
#include "core/TextRoutines.h"
#include "formats/ReadingPlaces.h"
#include "core/Prompts.h"
#include "window/spelling/SpellingFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QTextEdit>

void MainWindow::OpenDocument()
{
    FileDialogSpec dialog = openDocumentDialog();
    dialog.fileName = mOpenDialogFileName;
    const QString chosen = prompts().openFile(dialog);
    if (chosen.isEmpty())
        return;
    OpenDocumentFile(chosen);
}

void MainWindow::OpenDocumentFile(const QString& chosen)
{
    mOpenDialogFileName = chosen;
    // A spelling test file becomes the current spelling file; the extension is compared as written.
    if (QLatin1Char('.') + QFileInfo(chosen).suffix() == QLatin1String(".pvt")) {
        mSpellingWords = ReadSpellingLines(chosen);
        mSpellingFile = chosen;
    } else if (!mReading->busy() && readingAreaBlank()) {
        edAddress->setText(chosen);
        LoadDocument();
    } else if (prompts().confirm(tr("Replace text in the reading area?"))) {
        // The old reading is let go; the next reading purges what the voice still holds of it.
        mReading->setState(ReadingState::Idle);
        edAddress->setText(chosen);
        LoadDocument();
    }
    QTextCursor cursor = reText->textCursor();
    cursor.clearSelection();
    reText->setTextCursor(cursor);
}

void MainWindow::LoadDocument()
{
    // The path is taken as it stands (trimmed): lower-casing it would miss the file on a case-sensitive disk,
    // so only the extension is compared without regard to case.
    const QString path = TrimControl(edAddress->text());
    edAddress->setText(path);
    bool loaded = false;
    QString note;
    if (!path.isEmpty()) {
        RememberReadingPlace();
        // A large document shows a loading window of its own while it comes in.
        try {
            loaded = LoadDocumentByType(reText, path, mTextMode, &note);
        } catch (...) {
            edAddress->clear();
            throw;
        }
        edAddress->clear();
    }
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(0);
    if (loaded) {
        // A document read before opens where reading stopped, found again by the words around it when the document
        // was edited since; one that has since grown shorter, at its end.
        mCurrentDocument = path;
        const QString text = reText->toPlainText();
        const int caret =
            qBound(0, mReadingPlaces->place(path, text).value_or(0), reText->document()->characterCount() - 1);
        cursor.setPosition(caret);
        mReadingPlaces->remember(path, caret, text);
        SaveReadingPlaces();
        ListRecentDocuments();
        const QString shown =
            caret > 0 ? tr("Document loaded: %1, where reading stopped last time").arg(QFileInfo(path).fileName())
                      : tr("Document loaded: %1").arg(QFileInfo(path).fileName());
        // Recognised pages the listener should check come after the name, so both are seen.
        ShowStatusText(note.isEmpty() ? shown : shown + QStringLiteral(". ") + note);
    }
    reText->setTextCursor(cursor);
    reText->ensureCursorVisible();
    reText->setFocus();
}

void MainWindow::OpenRecentDocument(const QString& path)
{
    if (!QFileInfo(path).isFile()) {
        mReadingPlaces->forget(path);
        SaveReadingPlaces();
        ListRecentDocuments();
        const QFileInfo gone(path);
        prompts().message(tr("\"%1\" is no longer in %2, so it has been taken off the list of recent "
                             "documents.")
                              .arg(gone.fileName(), QDir::toNativeSeparators(gone.path())),
                          MessageKind::Information);
        return;
    }
    OpenDocumentFile(path);
}

void MainWindow::ListRecentDocuments()
{
    // The Open command and its separator stay. The item chosen may be the one that called here: it goes once
    // its signal is done.
    const QList<QAction*> items = pumOpenMenu->actions();
    for (qsizetype i = 2; i < items.size(); ++i) {
        pumOpenMenu->removeAction(items[i]);
        items[i]->setObjectName(QString());
        items[i]->deleteLater();
    }
    const QStringList recent = mReadingPlaces->recent();
    if (recent.isEmpty()) {
        addItem(pumOpenMenu, QStringLiteral("miNoRecent"), tr("No recent documents"), {})->setEnabled(false);
        return;
    }
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QFileInfo document(recent[i]);
        // Two documents of the same name are told apart by their folders.
        QString caption = document.fileName();
        for (const QString& other : recent)
            if (other != recent[i] && QFileInfo(other).fileName() == caption) {
                caption += QStringLiteral("  (%1)").arg(QDir::toNativeSeparators(document.path()));
                break;
            }
        QAction* item =
            addItem(pumOpenMenu, QStringLiteral("miRecent%1").arg(i), caption, QDir::toNativeSeparators(recent[i]));
        const QString path = recent[i];
        connect(item, &QAction::triggered, this, [this, path] { OpenRecentDocument(path); });
    }
}

void MainWindow::RememberReadingPlace()
{
    // While a reading runs, the word being spoken is selected: its start is where reading stands.
    if (!mCurrentDocument.isEmpty())
        mReadingPlaces->remember(mCurrentDocument, reText->textCursor().selectionStart(), reText->toPlainText());
}

void MainWindow::SaveReadingPlaces()
{
    try {
        mReadingPlaces->save();
    } catch (...) {
        // Like the settings, the places are kept on a best-effort basis: a full disk must not stop the reader.
    }
}

void MainWindow::SaveText()
{
    if (!SaveReadingArea(reText, mTextMode))
        return;
    // The text is in a file now: no draft needs keeping it.
    reText->document()->setModified(false);
    SaveDraft();
}

void MainWindow::SaveTextAs()
{
    if (!SaveReadingAreaAs(reText, mTextMode))
        return;
    reText->document()->setModified(false);
    SaveDraft();
}

void MainWindow::FindInText()
{
    mFindDialog = ::FindInText(reText);
}

void MainWindow::ClearReadingArea()
{
    StopReading();
    RememberReadingPlace();
    mCurrentDocument.clear();
    SaveReadingPlaces();
    ListRecentDocuments();
    mOpenDialogFileName.clear();
    // Undo brings the text back.
    ClearReadingAreaText(reText);
}

void MainWindow::clbReadingListDblClick(const QString& entry)
{
    // An entry holds a label, a comma, one space and the path.
    const qsizetype comma = entry.indexOf(QLatin1Char(','));
    edAddress->setText(comma < 0 ? QString() : entry.mid(comma + 2));
    LoadDocument();
}
