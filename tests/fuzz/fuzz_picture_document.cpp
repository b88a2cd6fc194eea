// Picture files from any bytes (PNG, JPEG, TIFF pages, BMP, WebP, GIF, told apart by their content), through Qt's
// image readers, our size checks and recognition: refused with a reason or read, never a crash.
#include "FuzzSupport.h"
#include "formats/TextRecognition.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    static QTemporaryDir folder;
    // No extension: the readers go by the content, so every format is reached.
    const QString path = folder.filePath(QStringLiteral("page"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        FUZZ_CHECK(!readPicture(path).isEmpty());
    } catch (const UnreadableDocument& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    return 0;
}
