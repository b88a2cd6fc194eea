#include "export/Subtitles.h"

#include <algorithm>

namespace {

constexpr qint64 AudioBytesPerSecond = 22050 * 2;

// The events of one kind, each at a later place in the text than the one before: the engine may report a word
// twice or step back around numbers and abbreviations.
QList<TimedSpan> forwardSpans(const std::vector<SpeechEvent>& events, SpeechEvent::Type type)
{
    QList<TimedSpan> spans;
    for (const SpeechEvent& event : events) {
        if (event.type != type)
            continue;
        const qint64 at = AudioMilliseconds(event.audioPosition);
        if (!spans.isEmpty() && (event.position <= spans.last().position || at < spans.last().startMs))
            continue;
        spans.append({event.position, event.length, at, at});
    }
    return spans;
}

// The text of a span on one line: line breaks and runs of blanks become one space.
QString oneLine(const QString& text, int from, int to)
{
    QString part = text.mid(from, std::max(0, to - from));
    QString out;
    out.reserve(part.size());
    bool blank = false;
    for (const QChar c : part) {
        if (c.isSpace()) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty())
            out += QLatin1Char(' ');
        blank = false;
        out += c;
    }
    if (blank && !out.isEmpty())
        out += QLatin1Char(' ');
    return out;
}

} // namespace

qint64 AudioMilliseconds(qint64 audioBytes)
{
    return audioBytes * 1000 / AudioBytesPerSecond;
}

SpeechTimings TimingsFromEvents(const QString& text, const std::vector<SpeechEvent>& events)
{
    SpeechTimings timings;
    const int textLength = int(text.size());
    qint64 duration = 0;
    for (const SpeechEvent& event : events) {
        duration = std::max(duration, AudioMilliseconds(event.audioPosition));
        if (event.type == SpeechEvent::EndStream)
            duration = AudioMilliseconds(event.audioPosition);
    }
    timings.durationMs = duration;

    timings.sentences = forwardSpans(events, SpeechEvent::Sentence);
    QList<TimedSpan>& sentences = timings.sentences;
    if (sentences.isEmpty() && !text.trimmed().isEmpty()) {
        // A text the engine reported no sentence in is still one line of the subtitles.
        int start = 0;
        while (text.at(start).isSpace())
            ++start;
        sentences.append({start, 0, 0, 0});
    }
    for (qsizetype i = 0; i < sentences.size(); ++i) {
        TimedSpan& sentence = sentences[i];
        const int nextStart = i + 1 < sentences.size() ? sentences[i + 1].position : textLength;
        sentence.position = std::clamp(sentence.position, 0, textLength);
        if (sentence.length <= 0) {
            int end = nextStart;
            while (end > sentence.position && text.at(end - 1).isSpace())
                --end;
            sentence.length = end - sentence.position;
        }
        sentence.length = std::clamp(sentence.length, 0, nextStart - sentence.position);
        sentence.startMs = std::min(sentence.startMs, duration);
        sentence.endMs = i + 1 < sentences.size() ? std::min(sentences[i + 1].startMs, duration) : duration;
    }

    timings.words = forwardSpans(events, SpeechEvent::Word);
    QList<TimedSpan>& words = timings.words;
    qsizetype sentence = -1;
    for (qsizetype i = 0; i < words.size(); ++i) {
        TimedSpan& word = words[i];
        while (sentence + 1 < sentences.size() && sentences[sentence + 1].position <= word.position)
            ++sentence;
        word.position = std::clamp(word.position, 0, textLength);
        word.length = std::clamp(word.length, 0, textLength - word.position);
        word.startMs = std::min(word.startMs, duration);
        qint64 end = i + 1 < words.size() ? words[i + 1].startMs : duration;
        if (sentence >= 0)
            end = std::min(end, sentences[sentence].endMs);
        word.endMs = std::clamp(end, word.startMs, duration);
    }
    return timings;
}

QString LrcTimestamp(qint64 ms)
{
    ms = std::max<qint64>(ms, 0);
    return QStringLiteral("%1:%2.%3")
        .arg(ms / 60000, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 10 % 100, 2, 10, QLatin1Char('0'));
}

QString SrtTimestamp(qint64 ms)
{
    ms = std::max<qint64>(ms, 0);
    return QStringLiteral("%1:%2:%3,%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString FormatLrc(const QString& text, const SpeechTimings& timings, const QString& title)
{
    QString out;
    if (!title.isEmpty())
        out += QStringLiteral("[ti:%1]\n").arg(oneLine(title, 0, int(title.size())).trimmed());
    qsizetype word = 0;
    for (const TimedSpan& sentence : timings.sentences) {
        const int end = sentence.position + sentence.length;
        while (word < timings.words.size() && timings.words[word].position < sentence.position)
            ++word;
        QString line = QLatin1Char('[') + LrcTimestamp(sentence.startMs) + QLatin1Char(']');
        qsizetype first = word;
        while (word < timings.words.size() && timings.words[word].position < end)
            ++word;
        if (first == word) {
            line += oneLine(text, sentence.position, end).trimmed();
        } else {
            // Whatever stands before the first word (an opening quote) goes with it; each word keeps the
            // punctuation and the blank after it, so the line still reads as the sentence.
            for (qsizetype i = first; i < word; ++i) {
                const int from = i == first ? sentence.position : timings.words[i].position;
                const int to = i + 1 < word ? timings.words[i + 1].position : end;
                line += QLatin1Char('<') + LrcTimestamp(timings.words[i].startMs) + QLatin1Char('>') +
                        oneLine(text, from, to);
            }
            line = line.trimmed();
            line += QStringLiteral(" <") + LrcTimestamp(sentence.endMs) + QLatin1Char('>');
        }
        out += line + QLatin1Char('\n');
    }
    return out;
}

QString FormatSrt(const QString& text, const SpeechTimings& timings)
{
    QString out;
    int cue = 0;
    for (const TimedSpan& sentence : timings.sentences) {
        const QString line = oneLine(text, sentence.position, sentence.position + sentence.length).trimmed();
        if (line.isEmpty())
            continue;
        out += QStringLiteral("%1\n%2 --> %3\n%4\n\n")
                   .arg(++cue)
                   .arg(SrtTimestamp(sentence.startMs), SrtTimestamp(sentence.endMs), line);
    }
    return out;
}
