// Rich text from any bytes: the reader must never crash, hang or recurse, whatever nesting or lengths it meets.
#include "FuzzSupport.h"
#include "platform/rtf/RtfReader.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    const QByteArray bytes = fuzzBytes(data, size);
    QTextDocument document;
    readRtf(bytes, &document);
    // A tight depth limit drives the code that keeps formatting once groups nest past it.
    QTextDocument shallow;
    readRtf(bytes, &shallow, RtfReadLimits{4, 8});
    FUZZ_CHECK(document.characterCount() >= 1);
    (void)isRtf(bytes);
    return 0;
}
