// Pages of lines placed anywhere, of any size and text: the layout must end, lose no paragraph's words to a
// crash, and give paragraphs without line breaks.
#include "FuzzSupport.h"
#include "formats/PdfLayout.h"

#include <QDataStream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    QList<PdfPageText> pages;
    // Each line takes six bytes: page change, x, y, width, height and a text chosen from pieces that exercise
    // hyphens, dashes, numbers and list marks.
    static const QString pieces[] = {
        QStringLiteral("exam-"),  QStringLiteral("ple"),        QStringLiteral("well-known"),
        QStringLiteral("Page 3"), QStringLiteral("7"),          QStringLiteral("\u2022 item"),
        QStringLiteral("end."),   QStringLiteral("dash\u2014"), QStringLiteral("soft\u00AD"),
        QStringLiteral("Anglo-"), QStringLiteral(" "),          QStringLiteral("1. one")};
    pages << PdfPageText{QSizeF(595, 842), {}};
    for (qsizetype i = 0; i + 6 <= bytes.size(); i += 6) {
        const auto byte = [&](int k) { return static_cast<unsigned char>(bytes[i + k]); };
        if (byte(0) % 7 == 0)
            pages << PdfPageText{QSizeF(byte(0) % 2 ? 0 : 595, 842), {}};
        const QString text = pieces[byte(5) % std::size(pieces)] + pieces[byte(0) % std::size(pieces)];
        pages.last().lines << PdfLine{text, QRectF(byte(1) * 3.0, byte(2) * 3.5, byte(3) * 2.0, byte(4) % 40)};
    }
    for (const TextBlock& block : paragraphsFromPages(pages)) {
        FUZZ_CHECK(!block.text.isEmpty());
        FUZZ_CHECK(!block.text.contains(QLatin1Char('\n')));
    }
    return 0;
}
