// Profile (INI) files: any text parses, lookups answer, and a value written reads back the same after the file
// is turned into text and parsed again, with every other line kept.
#include "FuzzSupport.h"
#include "core/ProfileStrings.h"
#include "core/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = decodeText(fuzzBytes(data, size));
    ProfileDocument document = ProfileDocument::fromText(text);
    const QStringList before = document.lines();

    // Names and values drawn from the file itself reach its duplicate and odd-case paths.
    QString section = QStringLiteral("Parlivo Settings");
    QString key = QStringLiteral("Speed");
    for (const QString& line : before) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')) && trimmed.endsWith(QLatin1Char(']')) && trimmed.size() > 2)
            section = trimmed.mid(1, trimmed.size() - 2);
        else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0)
            key = line.left(eq).trimmed();
        if (const auto value = document.value(section, key))
            (void)ParseProfileInteger(*value);
    }
    (void)ParseProfileInteger(text.left(40));
    if (key.isEmpty() || key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char('[')) ||
        key.startsWith(QLatin1Char(';')) || section.contains(QLatin1Char(']')) || section.contains(QLatin1Char('\n')) ||
        section.contains(QLatin1Char('\r')) || key.contains(QLatin1Char('\n')) || key.contains(QLatin1Char('\r')) ||
        section.trimmed() != section || key.trimmed() != key)
        return 0;

    document.setValue(section, key, QStringLiteral("written 12"));
    FUZZ_CHECK(document.value(section, key) == QStringLiteral("written 12"));
    const ProfileDocument reread = ProfileDocument::fromText(document.toText());
    FUZZ_CHECK(reread.value(section, key) == QStringLiteral("written 12"));
    FUZZ_CHECK(reread.lines().size() >= before.size());

    FUZZ_CHECK(document.removeKey(section, key));
    return 0;
}
