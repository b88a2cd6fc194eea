// Rich text the program saves reads back with the same text: whatever a file held, reading it, writing it
// and reading the result again loses and adds no character.
#include "FuzzSupport.h"
#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    ensureGuiApplication();
    QTextDocument read;
    readRtf(fuzzBytes(data, size), &read);
    const QByteArray written = writeRtf(&read);
    QTextDocument reread;
    readRtf(written, &reread);
    if (read.toPlainText() != reread.toPlainText()) {
        std::fprintf(stderr, "Text changed on a round trip\n read:   %s\n reread: %s\n",
                     read.toPlainText().toUtf8().toPercentEncoding(" ").constData(),
                     reread.toPlainText().toUtf8().toPercentEncoding(" ").constData());
        std::abort();
    }
    return 0;
}
