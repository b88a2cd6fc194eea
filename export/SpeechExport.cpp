#include "export/SpeechExport.h"

#include "export/Subtitles.h"
#include "export/AudioExport.h"
#include "core/Errors.h"
#include "speech/Voice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <memory>
#include <vector>

namespace {

QString displayPath(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// An empty file with a unique name beside `target`, removed again unless it is renamed to the target.
std::unique_ptr<QTemporaryFile> scratchBeside(const QString& target, const QString& extension)
{
    const QFileInfo info(target);
    if (!info.absoluteDir().exists())
        throw ExportError(ExportError::Kind::Output,
                         QStringLiteral("%1: cannot write: the folder does not exist").arg(displayPath(target)));
    auto scratch = std::make_unique<QTemporaryFile>(
        info.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX.%2").arg(info.completeBaseName(), extension)));
    if (!scratch->open())
        throw ExportError(ExportError::Kind::Output,
                         QStringLiteral("%1: cannot write: %2").arg(displayPath(target), scratch->errorString()));
    scratch->close();
    return scratch;
}

std::unique_ptr<QSaveFile> openTextTarget(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly))
        throw ExportError(ExportError::Kind::Output,
                         QStringLiteral("%1: cannot write: %2").arg(displayPath(path), file->errorString()));
    return file;
}

void writeTextTarget(QSaveFile* file, const QString& text)
{
    if (file && file->write(text.toUtf8()) < 0)
        throw ExportError(
            ExportError::Kind::Output,
            QStringLiteral("%1: cannot write: %2").arg(displayPath(file->fileName()), file->errorString()));
}

// Rendering into the voice's file stream, with the stream put back however it ends.
std::vector<SpeechEvent> renderToWav(Voice& voice, const QString& text, const QString& wavPath,
                                     const std::function<bool(double)>& progress, bool& cancelled)
{
    std::vector<SpeechEvent> events;
    const QMetaObject::Connection collecting = QObject::connect(
        &voice.engine(), &SpeechEngine::speechEvent, [&events](const SpeechEvent& event) { events.push_back(event); });
    SpeechFileStream stream;
    stream.Open(wavPath);
    voice.SetAudioOutputStream(&stream);
    voice.SetRenderProgress([&](double share) {
        if (progress && !progress(share))
            cancelled = true;
        return !cancelled;
    });
    QString failure;
    try {
        voice.Speak(text, SpeakToFile);
    } catch (const ParlivoError& error) {
        failure = error.message();
    }
    stream.Close();
    voice.SetAudioOutputStream(nullptr);
    voice.SetRenderProgress({});
    QObject::disconnect(collecting);
    if (cancelled)
        return {};
    if (!failure.isEmpty())
        throw ExportError(ExportError::Kind::Engine, failure);
    return events;
}

void replaceWith(const QString& from, const QString& to)
{
    // Scratch files are private to their owner; the result gets the permissions of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(QFile::encodeName(from).constData(), 0666 & ~mask);
    // rename(2) replaces an older file in one step, so the target is never missing or half there.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw ExportError(
            ExportError::Kind::Output,
            QStringLiteral("%1: cannot write: %2").arg(displayPath(to), QString::fromLocal8Bit(std::strerror(errno))));
}

} // namespace

void ExportSpeech(Voice& voice, const QString& text, AudioFormat format, const ExportTarget& target,
                  const QString& title, const std::function<bool(double)>& progress)
{
    const std::unique_ptr<QSaveFile> lrc = openTextTarget(target.lrc);
    const std::unique_ptr<QSaveFile> srt = openTextTarget(target.srt);
    const auto interrupted = [&target] {
        return ExportError(ExportError::Kind::Cancelled, QStringLiteral("%1: interrupted").arg(displayPath(target.audio)));
    };

    // Listed words are said as the list says; the subtitles keep them as written.
    SpokenTextMap spokenMap;
    const QString spoken = voice.Pronunciations().apply(text, false, &spokenMap);
    std::vector<SpeechEvent> events;
    if (format == AudioFormat::Mp3) {
        if (!QFileInfo(target.audio).absoluteDir().exists())
            throw ExportError(
                ExportError::Kind::Output,
                QStringLiteral("%1: cannot write: the folder does not exist").arg(displayPath(target.audio)));
        bool cancelled = false;
        try {
            SpeakToMp3(
                voice.engine(), spoken, false, target.audio,
                [&](double share) {
                    cancelled = progress && !progress(share);
                    return !cancelled;
                },
                &events);
        } catch (const FileError& error) {
            throw ExportError(ExportError::Kind::Output,
                             QStringLiteral("%1: cannot write: %2").arg(displayPath(target.audio), error.message()));
        } catch (const ParlivoError& error) {
            if (cancelled)
                throw interrupted();
            throw ExportError(ExportError::Kind::Engine, error.message());
        }
    } else {
        const std::unique_ptr<QTemporaryFile> wav = scratchBeside(target.audio, QStringLiteral("wav"));
        bool cancelled = false;
        events = renderToWav(voice, text, wav->fileName(), progress, cancelled);
        if (cancelled)
            throw interrupted();
        replaceWith(wav->fileName(), target.audio);
        wav->setAutoRemove(false);
    }

    for (SpeechEvent& event : events)
        std::tie(event.position, event.length) = spokenMap.toWritten(event.position, event.length);
    const SpeechTimings timings = TimingsFromEvents(text, events);
    writeTextTarget(lrc.get(), FormatLrc(text, timings, title));
    writeTextTarget(srt.get(), FormatSrt(text, timings));
    for (QSaveFile* file : {lrc.get(), srt.get()}) {
        if (file && !file->commit())
            throw ExportError(
                ExportError::Kind::Output,
                QStringLiteral("%1: cannot write: %2").arg(displayPath(file->fileName()), file->errorString()));
    }
}
