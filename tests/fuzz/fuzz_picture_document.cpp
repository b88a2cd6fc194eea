// Picture files from any bytes (PNG, JPEG, TIFF pages, BMP, WebP, GIF, told apart by their content), through Qt's
// image readers, our size checks and recognition: refused with a reason or read, never a crash.
#include "FuzzDocument.h"
#include "formats/TextRecognition.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    // No extension: the readers go by the content, so every format is reached.
    fuzzDocumentFile(data, size, QStringLiteral("page"), [](const QString& path) { return readPicture(path); });
    return 0;
}
