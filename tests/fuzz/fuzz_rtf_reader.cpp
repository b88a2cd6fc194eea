// Rich text from any bytes: the reader must never crash, hang or recurse, whatever nesting or lengths it meets.
#include "FuzzSupport.h"
#include "formats/RtfReader.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    const QByteArray bytes = fuzzBytes(data, size);
    QTextDocument document;
    readRtf(bytes, &document);
    // A tight depth limit drives the code that keeps formatting once groups nest past it. Only formatting may
    // differ: the text of groups nested past the limit still arrives. A font can carry a code page, though, and
    // the font of the deepest group carries on past the limit, so files that give fonts code pages may differ.
    QTextDocument shallow;
    readRtf(bytes, &shallow, RtfReadLimits{4, 8});
    const bool fontsWithCodePages = bytes.contains("\\fcharset") || bytes.contains("\\cpg");
    if (!fontsWithCodePages && shallow.toPlainText() != document.toPlainText()) {
        std::fprintf(stderr, "The depth limit changed the text\n full:    %s\n shallow: %s\n",
                     document.toPlainText().toUtf8().toPercentEncoding(" ").constData(),
                     shallow.toPlainText().toUtf8().toPercentEncoding(" ").constData());
        std::abort();
    }
    (void)isRtf(bytes);
    return 0;
}
