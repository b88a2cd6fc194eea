// Settings, schemes and spelling files: any text written reads back exactly as it was.
#include "FuzzSupport.h"
#include "core/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    // Two readings of the same bytes give both Windows-1252 and wide text to write.
    for (const QString& text : {decodeCodePage(bytes, 1252), QString::fromUtf8(bytes)})
        FUZZ_CHECK(decodeText(encodeText(text)) == text);
    return 0;
}
