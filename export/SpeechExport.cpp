#include "export/SpeechExport.h"

#include "core/AtomicFile.h"
#include "export/Mp3Encoding.h"
#include "export/Subtitles.h"
#include "speech/Voice.h"
#include "speech/WavFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <malloc.h>
#include <optional>
#include <vector>

namespace {

ExportError cannotWrite(const QString& path, const QString& reason)
{
    return ExportError(ExportError::Kind::Output, QCoreApplication::translate("SpeechExport", "%1: cannot write: %2")
                                                      .arg(QDir::toNativeSeparators(path), reason));
}

// One file of an export, written whole or not at all (see AtomicFile): until commit(), and whenever the export fails
// or is cancelled, the target is untouched and the temporary file goes away with this object.
class ExportFile
{
public:
    explicit ExportFile(const QString& path) : mFile(path)
    {
        if (!mFile.open())
            throw cannotWrite(path, mFile.errorString());
    }

    void write(const QByteArray& bytes)
    {
        if (!mFile.write(bytes))
            throw cannotWrite(mFile.fileName(), mFile.errorString());
    }

    void writeAt(qint64 position, const QByteArray& bytes)
    {
        if (!mFile.writeAt(position, bytes))
            throw cannotWrite(mFile.fileName(), mFile.errorString());
    }

    void commit()
    {
        if (!mFile.commit())
            throw cannotWrite(mFile.fileName(), mFile.errorString());
    }

private:
    AtomicFile mFile;
};

using Progress = std::function<bool(double)>;

// Keeps the events the subtitles are timed from, when they are asked for: a long text has a viseme for every sound.
std::function<void(const SpeechEvent&)> eventsFor(std::vector<SpeechEvent>& events, bool timed)
{
    return [&events, timed](const SpeechEvent& event) {
        if (timed && (event.type == SpeechEvent::Word || event.type == SpeechEvent::Sentence ||
                      event.type == SpeechEvent::EndStream))
            events.push_back(event);
    };
}

// Pieces of audio a megabyte or more each are made and freed by the hundred on several threads. Past its first
// frees, the C library keeps blocks that large in its heaps, which an hour-long export leaves ragged, several MB
// more for each hour; from the first MP3 export on, they come straight from the system and go back to it.
void largeBlocksFromTheSystem()
{
    static const bool once = mallopt(M_MMAP_THRESHOLD, 128 * 1024) != 0;
    Q_UNUSED(once);
}

// Renders into an MP3 encoded while the voice renders and written as it is encoded; the events are placed on the
// decoded MP3, where each piece adds the encoder's delay.
std::vector<SpeechEvent> renderMp3(SpeechEngine& engine, const QString& spoken, ExportFile& file, bool timed,
                                   const Progress& progress)
{
    largeBlocksFromTheSystem();
    Mp3Writer writer([&file](const QByteArray& mp3) { file.write(mp3); });
    std::vector<SpeechEvent> events;
    // The rendering waits for the encoder, which takes most of the time: the share done is that of the text
    // rendered, less the share of its audio still waiting for the encoder. The bar never moves back.
    double rendered = 0;
    double shown = 0;
    const auto report = [&](double share) {
        shown = std::max(shown, share);
        return progress(shown);
    };
    const auto waiting = [&] { return report(rendered * writer.writtenShare()); };
    engine.render(
        spoken, false, [&](const QByteArray& pcm) { writer.add(pcm, waiting); }, eventsFor(events, timed),
        [&](double share) {
            rendered = share;
            return waiting();
        });
    writer.finish(report);
    for (SpeechEvent& event : events)
        event.audioPosition = writer.mp3Sample(event.audioPosition / 2) * 2;
    return events;
}

// Renders into a WAV file as the audio comes; the events' positions are already those of its samples.
std::vector<SpeechEvent> renderWav(SpeechEngine& engine, const QString& spoken, ExportFile& file, const QString& path,
                                   bool timed, const Progress& progress)
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
        eventsFor(events, timed), progress);
    file.writeAt(0, wavHeader(dataBytes));
    return events;
}

quint32 littleEndian32(const QByteArray& bytes, qsizetype at)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

// True when the sizes in the WAV file's header match the file: the RIFF size, and the data chunk running to the end.
bool wavIsWhole(QFile& file)
{
    const qint64 size = file.size();
    const QByteArray riff = file.read(12);
    if (riff.size() != 12 || !riff.startsWith("RIFF") || riff.mid(8, 4) != "WAVE" ||
        littleEndian32(riff, 4) != size - 8)
        return false;
    for (qint64 at = 12; at + 8 <= size;) {
        if (!file.seek(at))
            return false;
        const QByteArray chunk = file.read(8);
        if (chunk.size() != 8)
            return false;
        const qint64 length = littleEndian32(chunk, 4);
        if (chunk.startsWith("data"))
            return at + 8 + length == size || at + 8 + length + 1 == size;
        at += 8 + length + (length & 1);
    }
    return false;
}

} // namespace

bool IsWholeExport(const ExportTarget& target, AudioFormat format)
{
    QFile audio(target.audio);
    if (!QFileInfo(target.audio).isFile() || !audio.open(QIODevice::ReadOnly) ||
        !(format == AudioFormat::Mp3 ? Mp3RunsToItsEnd(audio) : wavIsWhole(audio)))
        return false;
    for (const QString& subtitles : {target.lrc, target.srt}) {
        if (!subtitles.isEmpty() && !(QFileInfo(subtitles).isFile() && QFileInfo(subtitles).size() > 0))
            return false;
    }
    return true;
}

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
    const bool timed = lrc || srt;
    std::vector<SpeechEvent> events;
    try {
        events = format == AudioFormat::Mp3 ? renderMp3(voice.engine(), spoken, audio, timed, share)
                                            : renderWav(voice.engine(), spoken, audio, target.audio, timed, share);
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
