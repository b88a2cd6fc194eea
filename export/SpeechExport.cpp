#include "export/SpeechExport.h"

#include "export/Mp3Encoding.h"
#include "export/Subtitles.h"
#include "speech/Voice.h"
#include "speech/WavFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

namespace {

ExportError cannotWrite(const QString& path, const QString& reason)
{
    return ExportError(ExportError::Kind::Output, QCoreApplication::translate("SpeechExport", "%1: cannot write: %2")
                                                      .arg(QDir::toNativeSeparators(path), reason));
}

// One file of an export. QSaveFile writes it under a temporary name beside the target and renames it over the
// target in commit(), which keeps the permissions of an older file; until then, and whenever the export fails or is
// cancelled, the target is untouched and the temporary file goes away with this object.
class ExportFile
{
public:
    explicit ExportFile(const QString& path) : mFile(path)
    {
        const QFileInfo info(path);
        if (!info.absoluteDir().exists())
            throw cannotWrite(path, QCoreApplication::translate("SpeechExport", "the folder does not exist"));
        // The rename would get past a file the user has made read-only.
        if (info.exists() && !info.isDir() && !info.isWritable())
            throw cannotWrite(path, QCoreApplication::translate("SpeechExport", "the file is read-only"));
        // Unbuffered, every write reports what reached the disk: through the buffer a write cut short by a full
        // disk looks whole, and the truncated file would replace the old one.
        if (!mFile.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw cannotWrite(path, mFile.errorString());
    }

    void write(const QByteArray& bytes)
    {
        if (mFile.write(bytes) != bytes.size())
            throw cannotWrite(mFile.fileName(), mFile.errorString());
    }

    void writeAt(qint64 position, const QByteArray& bytes)
    {
        if (!mFile.seek(position))
            throw cannotWrite(mFile.fileName(), mFile.errorString());
        write(bytes);
    }

    void commit()
    {
        if (!mFile.commit())
            throw cannotWrite(mFile.fileName(), mFile.errorString());
    }

private:
    QSaveFile mFile;
};

using Progress = std::function<bool(double)>;

// Renders into an MP3 encoded while the voice renders; the events are placed on the decoded MP3, where each piece
// adds the encoder's delay.
std::vector<SpeechEvent> renderMp3(SpeechEngine& engine, const QString& spoken, ExportFile& file,
                                   const Progress& progress)
{
    // Rendering overlaps the encoding, which takes most of the time: it is the first fifth of the bar.
    constexpr double RenderShare = 0.2;
    Mp3Writer writer;
    std::vector<SpeechEvent> events;
    engine.render(
        spoken, false, [&writer](const QByteArray& pcm) { writer.add(pcm); },
        [&events](const SpeechEvent& event) { events.push_back(event); },
        [&progress](double share) { return progress(share * RenderShare); });
    file.write(writer.finish([&progress](double share) { return progress(RenderShare + share * (1 - RenderShare)); }));
    for (SpeechEvent& event : events)
        event.audioPosition = writer.mp3Sample(event.audioPosition / 2) * 2;
    return events;
}

// Renders into a WAV file as the audio comes; the events' positions are already those of its samples.
std::vector<SpeechEvent> renderWav(SpeechEngine& engine, const QString& spoken, ExportFile& file, const QString& path,
                                   const Progress& progress)
{
    std::vector<SpeechEvent> events;
    qint64 dataBytes = 0;
    file.write(wavHeader(0));
    engine.render(
        spoken, false,
        [&](const QByteArray& pcm) {
            if (dataBytes + pcm.size() > MaxWavDataBytes)
                throw cannotWrite(path,
                                  QCoreApplication::translate("SpeechExport", "the speech is too long for a WAV file"));
            file.write(pcm);
            dataBytes += pcm.size();
        },
        [&events](const SpeechEvent& event) { events.push_back(event); }, progress);
    file.writeAt(0, wavHeader(dataBytes));
    return events;
}

} // namespace

QString Mp3PathFor(const QString& chosenPath)
{
    if (chosenPath.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + QStringLiteral(".mp3");
}

ExportTarget TargetFor(const QString& audioPath, bool subtitles)
{
    ExportTarget target{audioPath, {}, {}};
    if (subtitles) {
        const QFileInfo audio(audioPath);
        const QString stem = QDir(audio.path()).filePath(audio.completeBaseName());
        target.lrc = stem + QStringLiteral(".lrc");
        target.srt = stem + QStringLiteral(".srt");
    }
    return target;
}

void ExportSpeech(Voice& voice, const QString& text, AudioFormat format, const ExportTarget& target,
                  const QString& title, const std::function<bool(double)>& progress)
{
    // Every file is opened first, so a name that cannot be written fails before any work.
    ExportFile audio(target.audio);
    std::optional<ExportFile> lrc;
    std::optional<ExportFile> srt;
    if (!target.lrc.isEmpty())
        lrc.emplace(target.lrc);
    if (!target.srt.isEmpty())
        srt.emplace(target.srt);

    // Listed words are said as the list says; the subtitles keep them as written.
    SpokenTextMap spokenMap;
    const QString spoken = voice.Pronunciations().apply(text, false, &spokenMap);
    bool cancelled = false;
    const Progress share = [&](double done) {
        cancelled = cancelled || (progress && !progress(done));
        return !cancelled;
    };
    std::vector<SpeechEvent> events;
    try {
        events = format == AudioFormat::Mp3 ? renderMp3(voice.engine(), spoken, audio, share)
                                            : renderWav(voice.engine(), spoken, audio, target.audio, share);
    } catch (const ExportError&) {
        throw;
    } catch (const ParlivoError& error) {
        if (cancelled)
            throw ExportError(ExportError::Kind::Cancelled,
                              QStringLiteral("%1: interrupted").arg(QDir::toNativeSeparators(target.audio)));
        throw ExportError(ExportError::Kind::Engine, error.message());
    }

    for (SpeechEvent& event : events)
        std::tie(event.position, event.length) = spokenMap.toWritten(event.position, event.length);
    const SpeechTimings timings = TimingsFromEvents(text, events);
    if (lrc)
        lrc->write(FormatLrc(text, timings, title).toUtf8());
    if (srt)
        srt->write(FormatSrt(text, timings).toUtf8());
    audio.commit();
    if (lrc)
        lrc->commit();
    if (srt)
        srt->commit();
}
