#include "speech/WordAligner.h"

#include <algorithm>

namespace {

int wordForMark(const QList<TextSpan>& words, const WordMark& mark)
{
    const auto after = std::upper_bound(words.begin(), words.end(), mark.position,
                                        [](int position, const TextSpan& word) { return position < word.start; });
    const int next = int(after - words.begin());
    const int before = next - 1;
    if (before >= 0 && mark.position < words[before].end())
        return before;
    if (next < words.size() && mark.position + std::max(mark.length, 1) > words[next].start)
        return next;
    if (before >= 0)
        return before;
    return next < words.size() ? next : -1;
}

// Keeps the largest set of known starts that never runs backwards; the others become unknown (-1).
void keepLongestNonDecreasing(std::vector<qint64>& starts)
{
    std::vector<int> tails; // index of the smallest tail of each run length
    std::vector<int> previous(starts.size(), -1);
    for (int i = 0; i < int(starts.size()); ++i) {
        if (starts[i] < 0)
            continue;
        const auto slot = std::upper_bound(tails.begin(), tails.end(), starts[i],
                                           [&](qint64 value, int index) { return value < starts[index]; });
        if (slot != tails.begin())
            previous[i] = *(slot - 1);
        if (slot == tails.end())
            tails.push_back(i);
        else
            *slot = i;
    }
    std::vector<bool> kept(starts.size(), false);
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = previous[i])
        kept[i] = true;
    for (size_t i = 0; i < starts.size(); ++i) {
        if (!kept[i])
            starts[i] = -1;
    }
}

} // namespace

std::vector<qint64> alignWords(const QList<TextSpan>& words, const std::vector<WordMark>& marks, int textLength,
                               qint64 speechEnd)
{
    const int n = int(words.size());
    std::vector<qint64> starts(n, -1);
    speechEnd = std::max<qint64>(speechEnd, 0);
    for (const WordMark& mark : marks) {
        const int word = wordForMark(words, mark);
        if (word < 0)
            continue;
        const qint64 sample = std::clamp<qint64>(mark.sample, 0, speechEnd);
        if (starts[word] < 0 || sample < starts[word])
            starts[word] = sample;
    }
    keepLongestNonDecreasing(starts);

    int leftPosition = 0;
    qint64 leftSample = 0;
    int i = 0;
    while (i < n) {
        if (starts[i] >= 0) {
            leftPosition = words[i].start;
            leftSample = starts[i];
            ++i;
            continue;
        }
        int k = i;
        while (k < n && starts[k] < 0)
            ++k;
        const int rightPosition = k < n ? words[k].start : std::max(textLength, words[n - 1].end());
        const qint64 rightSample = k < n ? starts[k] : std::max(speechEnd, leftSample);
        for (int j = i; j < k; ++j) {
            const int span = rightPosition - leftPosition;
            const qint64 offset = span > 0 ? (rightSample - leftSample) * (words[j].start - leftPosition) / span : 0;
            starts[j] = std::clamp(leftSample + offset, leftSample, rightSample);
        }
        i = k;
    }
    return starts;
}

CodePointIndex::CodePointIndex(QStringView text)
{
    mUnits.reserve(text.size() + 1);
    for (int i = 0; i < text.size(); ++i) {
        mUnits.push_back(i);
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
    }
    mUnits.push_back(int(text.size()));
}

int CodePointIndex::unitIndex(int position) const
{
    const int index = std::clamp(position - 1, 0, int(mUnits.size()) - 1);
    return mUnits[index];
}

int CodePointIndex::unitLength(int position, int count) const
{
    const int from = std::clamp(position - 1, 0, int(mUnits.size()) - 1);
    const int to = std::clamp(position - 1 + std::max(count, 0), 0, int(mUnits.size()) - 1);
    return mUnits[to] - mUnits[from];
}
