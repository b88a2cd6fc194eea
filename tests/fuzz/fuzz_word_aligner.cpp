// Words, sentences and the alignment of the synthesiser's word marks: spans stay inside the text and in order,
// and every word gets one start sample, in order, within the speech.
#include "FuzzSupport.h"
#include "core/TextSegmentation.h"
#include "speech/WordAligner.h"

#include <cstring>

namespace {

void checkSpans(const QList<TextSpan>& spans, qsizetype textSize)
{
    int previousEnd = 0;
    for (const TextSpan& span : spans) {
        FUZZ_CHECK(span.start >= previousEnd && span.length > 0 && span.end() <= textSize);
        previousEnd = span.end();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first bytes choose the marks: count, then 6 bytes each (position, length, sample).
    if (size < 2)
        return 0;
    const size_t markCount = std::min<size_t>(data[0], (size - 1) / 6);
    const size_t markBytes = markCount * 6;
    const uint8_t* marksData = data + 1;
    const QString text = QString::fromUtf8(fuzzBytes(data + 1 + markBytes, size - 1 - markBytes));

    const QList<TextSpan> words = findWords(text);
    checkSpans(words, text.size());
    const QList<TextSpan> sentences = findSentences(text);
    checkSpans(sentences, text.size());
    for (const TextSpan& sentence : sentences) {
        const QList<int> ends = splitLongSentence(text, sentence, 8);
        FUZZ_CHECK(!ends.isEmpty() && ends.last() == sentence.end());
        int previous = sentence.start;
        for (int end : ends) {
            FUZZ_CHECK(end > previous && end <= sentence.end());
            previous = end;
        }
    }
    for (int from = 0; from <= text.size(); from += 7) {
        for (bool complete : {true, false}) {
            const int end = findSentenceEnd(text, from, complete, 40);
            FUZZ_CHECK(end == -1 ? !complete : (end >= from && end <= text.size()));
        }
    }

    const CodePointIndex index(text);
    std::vector<WordMark> marks;
    for (size_t m = 0; m < markCount; ++m) {
        const uint8_t* p = marksData + m * 6;
        WordMark mark;
        mark.position = int(p[0]) - 8 + index.unitIndex(1 + p[1]);
        mark.length = int(p[2] % 16) - 1;
        mark.sample = (qint64(p[3]) << 16 | qint64(p[4]) << 8 | p[5]) - 1000;
        marks.push_back(mark);
        FUZZ_CHECK(index.unitIndex(p[1]) >= 0 && index.unitIndex(p[1]) <= text.size());
        FUZZ_CHECK(index.unitLength(p[1], p[2]) >= 0);
    }
    const qint64 speechEnd = 1 + qint64(size) * 997;
    const std::vector<qint64> starts = alignWords(words, marks, int(text.size()), speechEnd);
    FUZZ_CHECK(starts.size() == size_t(words.size()));
    qint64 previous = 0;
    for (qint64 start : starts) {
        FUZZ_CHECK(start >= previous && start <= speechEnd);
        previous = start;
    }
    return 0;
}
