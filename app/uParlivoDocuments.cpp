// Documents in and out of the reading area: open, save, find and the edit commands.
#include "app/uParlivo.h"
#include "dialogs/uStatus.h"
#include "documents/DocumentFormats.h"
#include "documents/DocumentSaver.h"
#include "documents/FindInText.h"
#include "documents/OSTRoutines.h"
#include "platform/Prompts.h"
#include "spelling/SpellingFile.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTextEdit>

namespace {
constexpr qint64 LargeDocumentBytes = 4 * 1024 * 1024;
} // namespace

void TfrmReader::OpenDocument()
{
    FileDialogSpec dialog = openDocumentDialog();
    dialog.fileName = FOpenDialogFileName;
    const QString chosen = prompts().openFile(dialog);
    if (chosen.isEmpty())
        return;
    OpenDocumentFile(chosen);
}

void TfrmReader::OpenDocumentFile(const QString& chosen)
{
    FOpenDialogFileName = chosen;
    // A spelling test file becomes the current spelling file; the extension is compared as written.
    if (QLatin1Char('.') + QFileInfo(chosen).suffix() == QLatin1String(".pvt")) {
        FSpellingWords = ReadSpellingLines(chosen);
        FSpellingFile = chosen;
    } else if (!FBusy && !FPaused && readingAreaBlank()) {
        edAddress->setText(chosen);
        LoadDocument();
    } else if (prompts().confirm(QStringLiteral("Replace text in the reading area?"))) {
        FBusy = false;
        FPaused = false;
        edAddress->setText(chosen);
        LoadDocument();
    }
    QTextCursor cursor = reText->textCursor();
    cursor.clearSelection();
    reText->setTextCursor(cursor);
}

void TfrmReader::LoadDocument()
{
    // The path is taken as it stands (trimmed): lower-casing it would miss the file on a case-sensitive disk,
    // so only the extension is compared without regard to case.
    const QString path = TrimControl(edAddress->text());
    edAddress->setText(path);
    if (!path.isEmpty()) {
        // A large document takes a while to lay out: say so rather than leave a window that does not answer.
        // (Word-processor documents, PDFs and books show their own loading window.)
        const DocumentFormat* format = formatForPath(path);
        const bool ownWindow = format && (format->kind == DocumentKind::WordProcessor ||
                                          format->kind == DocumentKind::Pdf || format->kind == DocumentKind::Epub);
        const bool large = QFileInfo(path).size() > LargeDocumentBytes && !ownWindow;
        const StatusHandle status = large ? ShowStatus(QStringLiteral("Loading Document"),
                                                       QStringLiteral("Document is loading, please wait ..."))
                                          : StatusHandle();
        try {
            LoadDocumentByType(reText, path, FTextMode);
        } catch (...) {
            CloseStatus(status);
            edAddress->clear();
            throw;
        }
        CloseStatus(status);
        edAddress->clear();
        ShowStatusText(QStringLiteral("Document loaded: %1").arg(QFileInfo(path).fileName()));
    }
    QTextCursor cursor = reText->textCursor();
    cursor.setPosition(0);
    reText->setTextCursor(cursor);
    reText->setFocus();
}

void TfrmReader::SaveText()
{
    SaveReadingArea(reText, FTextMode);
}

void TfrmReader::SaveTextAs()
{
    SaveReadingAreaAs(reText, FTextMode);
}

void TfrmReader::FindInText()
{
    FFindDialog = ::FindInText(reText);
}

void TfrmReader::ClearReadingArea()
{
    StopReading();
    FOpenDialogFileName.clear();
    reText->clear();
}

void TfrmReader::clbReadingListDblClick(const QString& entry)
{
    // An entry holds a label, a comma, one space and the path.
    const qsizetype comma = entry.indexOf(QLatin1Char(','));
    edAddress->setText(comma < 0 ? QString() : entry.mid(comma + 2));
    LoadDocument();
}
