// HTML to text in one pass must agree with the plain method, which searches ahead without remembering anything.
#include "FuzzSupport.h"
#include "documents/OSTRoutines.h"
#include "support/HtmlToTextReference.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The plain method is quadratic on some pages; long inputs only slow the search down.
    if (size > 8192)
        return 0;
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const QString fast = HtmlToText(text);
    const QString slow = reference::htmlToText(text);
    if (fast != slow) {
        std::fprintf(stderr, "HtmlToText differs from the reference\n fast: %s\n slow: %s\n", qPrintable(fast),
                     qPrintable(slow));
        std::abort();
    }
    const QString runs = CollapseCharRuns(text, QStringLiteral("a"));
    FUZZ_CHECK(runs == reference::collapseCharRuns(text, QStringLiteral("a")));
    FUZZ_CHECK(CrLfToSpace(text) == reference::crLfToSpace(text));
    FUZZ_CHECK(TrimControl(text) == reference::trim(text));
    return 0;
}
