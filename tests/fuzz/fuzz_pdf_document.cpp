// Whole PDF files from any bytes, through Poppler and our layout: refused with a reason or read, never a crash.
#include "FuzzDocument.h"
#include "formats/PdfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    fuzzDocumentFile(data, size, QStringLiteral("sheet.pdf"), [](const QString& path) { return readPdf(path); });
    return 0;
}
