// Links in the reading area: found links lie inside the text, in order, never overlap or span a blank, and the
// cheap lookup under the mouse agrees with the full search at every position.
#include "FuzzSupport.h"
#include "core/LinkDetection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const QList<TextLink> links = FindLinks(text);
    qsizetype previousEnd = 0;
    qsizetype next = 0;
    for (qsizetype position = 0; position < text.size(); ++position) {
        while (next < links.size() && links[next].end() <= position)
            ++next;
        const bool inside = next < links.size() && links[next].start <= position;
        const TextLink found = LinkAt(text, position);
        if (inside)
            FUZZ_CHECK(found == links[next]);
        else
            FUZZ_CHECK(found.length == 0);
    }
    for (const TextLink& link : links) {
        FUZZ_CHECK(link.start >= previousEnd && link.length > 0 && link.end() <= text.size());
        for (qsizetype i = link.start; i < link.end(); ++i)
            FUZZ_CHECK(!text.at(i).isSpace());
        previousEnd = link.end();
    }
    return 0;
}
