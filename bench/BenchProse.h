#pragma once

// Ordinary prose for benchmarks that read documents: sentences of 6 to 17 words from a small vocabulary, varied by a
// simple generator so documents of different seeds differ, a paragraph ending after about one sentence in five.
#include <QByteArray>

#include <algorithm>
#include <cctype>
#include <iterator>

inline QByteArray BenchProse(qint64 words, int seed)
{
    static const char* const vocabulary[] = {
        "the",    "reader",   "speaks",  "every", "word",    "of",       "a",        "long",      "story",  "about",
        "rivers", "and",      "hills",   "where", "people",  "walked",   "slowly",   "toward",    "bright", "morning",
        "light",  "while",    "birds",   "sang",  "above",   "green",    "fields",   "near",      "old",    "stone",
        "houses", "children", "learned", "their", "letters", "teachers", "listened", "carefully", "to",     "each"};
    constexpr int vocabularySize = int(std::size(vocabulary));
    quint32 state = 2463534242u + quint32(seed) * 7919u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    QByteArray text;
    qint64 written = 0;
    while (written < words) {
        const qint64 length = std::min<qint64>(6 + int(next() % 12), words - written);
        for (qint64 i = 0; i < length; ++i) {
            QByteArray word = vocabulary[next() % vocabularySize];
            if (i == 0)
                word[0] = char(std::toupper(word[0]));
            text += word;
            text += i + 1 < length ? (next() % 9 == 0 ? ", " : " ") : ". ";
        }
        written += length;
        if (next() % 5 == 0)
            text += "\n";
    }
    return text;
}
