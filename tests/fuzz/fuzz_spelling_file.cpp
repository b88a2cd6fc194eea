// Spelling files: any bytes decode, split into lines and word lines without losing or inventing text.
#include "FuzzSupport.h"
#include "window/spelling/SpellingFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const QString text = DecodeSpellingText(bytes);
    const QStringList lines = SplitSpellingLines(text);
    for (const QString& line : lines) {
        FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
        const WordLine word = SplitWordLine(line);
        FUZZ_CHECK(!word.word.contains(QLatin1Char(',')));
        (void)SpelledOut(word.word);
    }
    // Lines written and split again come back as they were.
    if (!lines.isEmpty())
        FUZZ_CHECK(SplitSpellingLines(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")) == lines);
    const QStringList words = TestWordLines(lines);
    FUZZ_CHECK(words.size() <= std::max<qsizetype>(0, lines.size() - 2));
    const QString remark = OneLine(text);
    FUZZ_CHECK(!remark.contains(QLatin1Char('\n')) && !remark.contains(QLatin1Char('\r')));
    (void)EncodeSpellingText(text);
    (void)DisplayName(text);
    return 0;
}
