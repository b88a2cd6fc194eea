#include "export/AudioExport.h"

#include "core/Errors.h"
#include "export/Mp3Encoding.h"

#include <QDir>
#include <QSaveFile>

QString Mp3PathFor(const QString& chosenPath)
{
    if (chosenPath.endsWith(QStringLiteral(".mp3"), Qt::CaseInsensitive))
        return chosenPath;
    return chosenPath + QStringLiteral(".mp3");
}

void SpeakToMp3(SpeechEngine& engine, const QString& text, bool markup, const QString& mp3Path,
                const std::function<bool(double)>& progress, std::vector<SpeechEvent>* events)
{
    // Rendering overlaps the encoding, which takes most of the time: it is the first fifth of the bar.
    constexpr double RenderShare = 0.2;
    // The file is opened first, so a name that cannot be written fails before any work.
    QSaveFile file(mp3Path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw FileError(
            QStringLiteral("Cannot create file %1 (%2)").arg(QDir::toNativeSeparators(mp3Path), file.errorString()));
    Mp3Writer writer;
    std::vector<SpeechEvent> rendered;
    engine.render(
        text, markup, [&writer](const QByteArray& pcm) { writer.add(pcm); },
        [&rendered, events](const SpeechEvent& event) {
            if (events)
                rendered.push_back(event);
        },
        [&progress](double share) { return !progress || progress(share * RenderShare); });
    const QByteArray mp3 = writer.finish(
        [&progress](double share) { return !progress || progress(RenderShare + share * (1 - RenderShare)); });
    // Unbuffered, the count written is what reached the disk: a full disk fails here and leaves no file.
    if (file.write(mp3) != mp3.size() || !file.commit())
        throw FileError(
            QStringLiteral("Cannot write file %1 (%2)").arg(QDir::toNativeSeparators(mp3Path), file.errorString()));
    if (events) {
        for (SpeechEvent& event : rendered)
            event.audioPosition = writer.mp3Sample(event.audioPosition / 2) * 2;
        *events = std::move(rendered);
    }
}
