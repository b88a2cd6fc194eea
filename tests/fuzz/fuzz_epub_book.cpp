// Whole EPUB files from any bytes: a damaged, hostile or protected book is refused with a reason, never a crash.
#include "FuzzDocument.h"
#include "formats/EpubReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzDocumentFile(data, size, QStringLiteral("book.epub"), [](const QString& path) { return readEpub(path); });
    return 0;
}
