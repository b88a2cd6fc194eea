#include "cli/EventLine.h"

#include "export/Subtitles.h"

QByteArray EventJsonLine(const SpeechEvent& event)
{
    const qint64 ms = AudioMilliseconds(event.audioPosition);
    switch (event.type) {
    case SpeechEvent::Word:
    case SpeechEvent::Sentence:
        return QByteArrayLiteral("{\"type\":\"") + (event.type == SpeechEvent::Word ? "word" : "sentence") +
               "\",\"pos\":" + QByteArray::number(event.position) + ",\"len\":" + QByteArray::number(event.length) +
               ",\"ms\":" + QByteArray::number(ms) + "}\n";
    case SpeechEvent::Viseme:
        return QByteArrayLiteral("{\"type\":\"viseme\",\"id\":") + QByteArray::number(event.viseme) +
               ",\"next\":" + QByteArray::number(event.nextViseme) +
               ",\"duration\":" + QByteArray::number(event.duration) + ",\"ms\":" + QByteArray::number(ms) + "}\n";
    case SpeechEvent::EndStream:
        return QByteArrayLiteral("{\"type\":\"end\",\"ms\":") + QByteArray::number(ms) + "}\n";
    case SpeechEvent::StartStream:
        break;
    }
    return {};
}
