// Exporting the text of the reading area as an MP3 file, with LRC and SRT subtitles beside it when chosen.
#include "window/main/MainWindow.h"
#include "window/dialogs/StatusDialog.h"
#include "export/SpeechExport.h"
#include "core/Errors.h"
#include "core/Prompts.h"

#include <QFileInfo>
#include <QTextEdit>

namespace {
const char* const FailureMessage =
    QT_TRANSLATE_NOOP("MainWindow", "Unable to convert text to MP3. Please check to ensure the file is not in use");
} // namespace

void MainWindow::SaveAsMp3(bool askFirst)
{
    if (askFirst && readingAreaBlank()) {
        prompts().message(tr("There is nothing to save."));
        return;
    }
    FileDialogSpec dialog;
    dialog.filter = tr("MP3 File (*.mp3)|*.mp3");
    dialog.defaultExtension = QStringLiteral("mp3");
    const QString chosen = prompts().saveFile(dialog);
    if (chosen.isEmpty())
        return;
    ExportToMp3(Mp3PathFor(chosen));
}

void MainWindow::ExportToMp3(const QString& mp3Path)
{
    mReading->setState(ReadingState::Speaking);
    const StatusHandle status = ShowStatus(tr("Saving to MP3"), tr("Saving document to MP3 format, please wait..."));
    if (status)
        status->showProgress();

    // The speech is encoded as it is rendered and written to the MP3 only when whole: no other file of the
    // user's is touched, and the voice keeps speaking to the audio output. Its events stay out of the reading
    // area and the face, which the export leaves as they were.
    QString failure;
    bool cancelled = false;
    try {
        ExportSpeech(*spVoice, reText->toPlainText(), AudioFormat::Mp3, TargetFor(mp3Path, mMp3Subtitles),
                     QFileInfo(mp3Path).completeBaseName(), [&status](double share) {
                         if (!status)
                             return true;
                         status->setProgress(share);
                         return !status->cancelled();
                     });
    } catch (const ExportError& error) {
        cancelled = error.kind() == ExportError::Kind::Cancelled;
        failure = tr(FailureMessage) + QStringLiteral("\n\n") + error.message();
    }
    CloseStatus(status);
    EnterIdleState();

    if (cancelled) {
        ShowStatusText(tr("MP3 export cancelled"));
        return;
    }
    if (failure.isEmpty()) {
        ShowStatusText(tr("MP3 file saved: %1").arg(QFileInfo(mp3Path).fileName()));
        prompts().message(tr("Text successfully converted to MP3."));
    } else {
        ShowStatusText(tr("MP3 export failed"));
        prompts().message(failure, MessageKind::Error);
    }
}
