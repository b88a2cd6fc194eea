#pragma once

// Whole document files from any bytes: the bytes go into a file of the given name, and the reader either reads it
// or refuses it with a reason; it never crashes.
#include "FuzzSupport.h"
#include "formats/DocumentFormats.h"

#include <QFile>
#include <QTemporaryDir>

template <typename Read> void fuzzDocumentFile(const uint8_t* data, size_t size, const QString& name, Read read)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(name);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    try {
        FUZZ_CHECK(!read(path).isEmpty());
    } catch (const UnreadableDocument& error) {
        FUZZ_CHECK(!error.message().isEmpty());
    }
}
