// The pages of an EPUB book from any bytes: well-formed or not, the reader must end, and never keep a script.
#include "FuzzSupport.h"
#include "formats/EpubReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    const TextBlocks blocks = xhtmlParagraphs(bytes);
    for (const TextBlock& block : blocks) {
        FUZZ_CHECK(!block.text.isEmpty());
        FUZZ_CHECK(block.text == block.text.simplified());
        FUZZ_CHECK(block.heading >= 0 && block.heading <= 6);
    }
    return 0;
}
