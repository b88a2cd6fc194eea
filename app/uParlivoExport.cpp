// Exporting the text of the reading area as an MP3 file.
#include "app/uParlivo.h"
#include "dialogs/uStatus.h"
#include "documents/AudioExport.h"
#include "documents/OSTRoutines.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QTextEdit>

namespace {
const QString FailureMessage =
    QStringLiteral("Unable to convert text to MP3. Please check to ensure the file is not in use");

// Rendering the speech is the first half of the bar, encoding the second.
constexpr double RenderShare = 0.5;
} // namespace

void TfrmReader::SaveAsMp3(bool askFirst)
{
    if (askFirst && readingAreaBlank()) {
        prompts().message(QStringLiteral("There is nothing to save."));
        return;
    }
    FileDialogSpec dialog;
    dialog.filter = QStringLiteral("MP3 File (*.mp3)|*.mp3");
    dialog.defaultExtension = QStringLiteral("mp3");
    const QString chosen = prompts().saveFile(dialog);
    if (chosen.isEmpty())
        return;
    // The speech is rendered into a private file of its own, so no file of the user's but the MP3 is touched.
    QTemporaryFile wav(QDir(QDir::tempPath()).filePath(QStringLiteral("parlivo-export-XXXXXX.wav")));
    if (!wav.open()) {
        prompts().message(FailureMessage, MessageKind::Error);
        return;
    }
    wav.close();
    ExportToMp3(wav.fileName(), Mp3PathFor(chosen));
}

void TfrmReader::ExportToMp3(const QString& wavPath, const QString& mp3Path)
{
    FBusy = true;
    const StatusHandle status =
        ShowStatus(QStringLiteral("Saving to MP3"), QStringLiteral("Saving document to MP3 format, please wait..."));
    if (status)
        status->showProgress();
    auto keepGoing = [&status](double share) {
        if (!status)
            return true;
        status->setProgress(share);
        return !status->cancelled();
    };

    QString failure;
    bool cancelled = false;
    try {
        SpFileStream.Open(wavPath, 3, false);
        spVoice->SetAudioOutputStream(&SpFileStream);
        spVoice->SetRenderProgress([&](double share) { return keepGoing(share * RenderShare); });
        spVoice->Speak(reText->toPlainText(), SpeakToFile);
    } catch (const std::exception&) {
        cancelled = status && status->cancelled();
        failure = FailureMessage;
    }
    // Whatever happened, later readings speak to the audio output again.
    SpFileStream.Close();
    spVoice->SetAudioOutputStream(nullptr);
    spVoice->SetRenderProgress({});

    if (failure.isEmpty()) {
        const EncodeResult result = EncodeMp3(wavPath, mp3Path, [&](double share) {
            return keepGoing(share < 0 ? -1 : RenderShare + share * (1 - RenderShare));
        });
        if (result == EncodeResult::EncoderMissing)
            failure = FailureMessage +
                      QStringLiteral("\n\nThe MP3 encoder program \"lame\" was not found. Install it (Debian "
                                     "package \"lame\") or put it beside Parlivo.");
        else if (result == EncodeResult::Cancelled)
            cancelled = true;
        else if (result != EncodeResult::Done)
            failure = FailureMessage;
    }
    QFile::remove(wavPath);
    CloseStatus(status);
    EnterIdleState();

    if (cancelled) {
        ShowStatusText(QStringLiteral("MP3 export cancelled"));
        return;
    }
    if (failure.isEmpty()) {
        ShowStatusText(QStringLiteral("MP3 file saved: %1").arg(QFileInfo(mp3Path).fileName()));
        prompts().message(QStringLiteral("Text successfully converted to MP3."));
    } else {
        ShowStatusText(QStringLiteral("MP3 export failed"));
        prompts().message(failure, MessageKind::Error);
    }
}
