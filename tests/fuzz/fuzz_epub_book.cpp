// Whole EPUB files from any bytes: a damaged, hostile or protected book is refused with a reason, never a crash.
#include "FuzzSupport.h"
#include "formats/EpubReader.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("book.epub"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        FUZZ_CHECK(!readEpub(path).isEmpty());
    } catch (const UnreadableDocument& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
    return 0;
}
