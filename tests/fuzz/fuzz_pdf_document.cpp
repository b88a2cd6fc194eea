// Whole PDF files from any bytes, through Poppler and our layout: refused with a reason or read, never a crash.
#include "FuzzSupport.h"
#include "formats/PdfReader.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("sheet.pdf"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        FUZZ_CHECK(!readPdf(path).isEmpty());
    } catch (const UnreadableDocument& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    return 0;
}
