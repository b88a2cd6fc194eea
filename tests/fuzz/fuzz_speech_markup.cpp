// Speech markup: whatever the text, every spoken character maps back into the text as given, silences fall in
// order and within bounds, and reading piece by piece says exactly what reading at once says.
#include "FuzzSupport.h"
#include "speech/SpeechMarkup.h"

namespace {

void checkSpoken(const SpokenText& spoken, qsizetype sourceSize)
{
    FUZZ_CHECK(spoken.from.size() == spoken.text.size());
    FUZZ_CHECK(spoken.to.size() == spoken.text.size());
    for (qsizetype i = 0; i < spoken.text.size(); ++i) {
        FUZZ_CHECK(spoken.from[i] >= 0);
        FUZZ_CHECK(spoken.from[i] <= spoken.to[i]);
        FUZZ_CHECK(spoken.to[i] <= sourceSize);
        if (i > 0)
            FUZZ_CHECK(spoken.from[i] >= spoken.from[i - 1]);
    }
    int previous = 0;
    for (const SpokenText::Silence& silence : spoken.silences) {
        FUZZ_CHECK(silence.at >= previous && silence.at <= spoken.text.size());
        FUZZ_CHECK(silence.msec >= 0 && silence.msec <= MaxSilenceMsec);
        previous = silence.at;
    }
}

bool sameSpoken(const SpokenText& a, const SpokenText& b)
{
    if (a.text != b.text || a.from != b.from || a.to != b.to || a.silences.size() != b.silences.size())
        return false;
    for (qsizetype i = 0; i < a.silences.size(); ++i)
        if (a.silences[i].at != b.silences[i].at || a.silences[i].msec != b.silences[i].msec)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int piece = 1 + data[0] % 64;
    const QString source = QString::fromUtf8(fuzzBytes(data + 1, size - 1));
    (void)looksLikeMarkup(source);
    for (bool markup : {true, false}) {
        const SpokenText whole = spokenText(source, markup);
        checkSpoken(whole, source.size());
        if (!markup)
            FUZZ_CHECK(whole.text == source);

        SpokenText pieces;
        MarkupReader reader(source, markup);
        int guard = 0;
        while (reader.read(pieces, piece))
            FUZZ_CHECK(++guard <= source.size() + 1);
        FUZZ_CHECK(reader.atEnd());
        FUZZ_CHECK(sameSpoken(whole, pieces));

        // Dropping what was already spoken keeps the rest and its silences in step.
        SpokenText rest = whole;
        const int cut = int(whole.text.size() / 2);
        rest.removeFront(cut);
        FUZZ_CHECK(rest.text == whole.text.mid(cut));
        checkSpoken(rest, source.size());
    }
    return 0;
}
