#include "formats/PdfLayout.h"

#include <gtest/gtest.h>

namespace {

// An A4 page in points; body lines 12 pt apart, 10 pt high, from x 72 to 520.
constexpr double Width = 595;
constexpr double Height = 842;

struct Page
{
    PdfPageText page{QSizeF(Width, Height), {}};
    double y = 100;

    // A body line; `indent` sets it in, `right` ends it short of the margin.
    Page& line(const QString& text, double indent = 0, double right = 520, double height = 10)
    {
        page.lines << PdfLine{text, QRectF(72 + indent, y, right - 72 - indent, height)};
        y += height + 2;
        return *this;
    }
    Page& gap(double points)
    {
        y += points;
        return *this;
    }
    Page& at(double top, const QString& text, double left = 280)
    {
        page.lines << PdfLine{text, QRectF(left, top, 40, 10)};
        return *this;
    }
};

// The paragraphs one to a line, so a failure shows them readably.
std::string texts(const TextBlocks& blocks)
{
    QStringList list;
    for (const TextBlock& block : blocks)
        list << block.text;
    return list.join(QLatin1Char('\n')).toStdString();
}

std::string lines(const QStringList& list)
{
    return list.join(QLatin1Char('\n')).toStdString();
}

} // namespace

TEST(PdfLayout, HyphenatedWordsJoinAndRealHyphensStay)
{
    Page page;
    page.line(QStringLiteral("A well-known example of a broken exam-"), 15)
        .line(QStringLiteral("ple: the well-"))
        .line(QStringLiteral("known rule, the Anglo-"))
        .line(QStringLiteral("Saxon name, a state-of-the-"))
        .line(QStringLiteral("art method, a soft\u00AD"))
        .line(QStringLiteral("ly broken word, a dash\u2014"))
        .line(QStringLiteral("and a minus - sign at the end -"))
        .line(QStringLiteral("42 and last."), 0, 200);
    EXPECT_EQ(texts(paragraphsFromPages({page.page})),
              lines(QStringList{QStringLiteral("A well-known example of a broken example: the well-known rule, the "
                                               "Anglo-Saxon name, a state-of-the-art method, a softly broken word, a "
                                               "dash\u2014and a minus - sign at the end - 42 and last.")}));
    EXPECT_EQ(expandLigatures(QStringLiteral("\uFB01ne \uFB04y")), QStringLiteral("fine ffly"));

    // Without the compound written whole anywhere, a line-end hyphen is taken as the typesetter's.
    Page other;
    other.line(QStringLiteral("the well-")).line(QStringLiteral("known rule."), 0, 200);
    EXPECT_EQ(texts(paragraphsFromPages({other.page})), lines(QStringList{QStringLiteral("the wellknown rule.")}));
}

TEST(PdfLayout, LinesFlowIntoParagraphsAndParagraphsStay)
{
    Page first;
    first.line(QStringLiteral("Title of the sheet"), 0, 400, 16)
        .line(QStringLiteral("An indented first line of a"), 15)
        .line(QStringLiteral("paragraph that runs on."), 0, 300)
        .line(QStringLiteral("A second paragraph set in like"), 15)
        .line(QStringLiteral("the first, without a space, and its"))
        .line(QStringLiteral("last line is short."), 0, 250)
        .line(QStringLiteral("A third one starts flush but follows"))
        .line(QStringLiteral("a short line that ended a sentence"))
        .gap(14)
        .line(QStringLiteral("after a blank line comes a fourth and"))
        .line(QStringLiteral("\u2022 a bulleted item"))
        .line(QStringLiteral("2. a numbered item running over"))
        .line(QStringLiteral("onto the foot of the page, where"));
    Page second;
    second.line(QStringLiteral("the sentence goes on across the page."), 0, 400)
        .line(QStringLiteral("A paragraph set in at the top of a"), 15)
        .line(QStringLiteral("page starts anew."), 0, 200);

    // A heading on a line of its own stays apart from its paragraph, also when it is bold in the body's size, as
    // LibreOffice sets its headings.
    Page wall;
    wall.line(QStringLiteral("Hadrian's Wall"), 0, 146, 15.6)
        .line(QStringLiteral("Hadrian's Wall is 73 miles long. It was built by the Roman army to guard"), 0, 523, 15.6)
        .line(QStringLiteral("the north of the province, and parts of it still stand across the hills."), 0, 510, 15.6)
        .line(QStringLiteral("Building the wall"), 0, 172, 15.6)
        .line(QStringLiteral("Soldiers cut the stone from quarries nearby."), 0, 400, 15.6);
    EXPECT_EQ(
        texts(paragraphsFromPages({wall.page})),
        lines({QStringLiteral("Hadrian's Wall"),
               QStringLiteral("Hadrian's Wall is 73 miles long. It was built by the Roman army to guard the "
                              "north of the province, and parts of it still stand across the hills."),
               QStringLiteral("Building the wall"), QStringLiteral("Soldiers cut the stone from quarries nearby.")}));

    const TextBlocks blocks = paragraphsFromPages({first.page, second.page});
    EXPECT_EQ(
        texts(blocks),
        lines(QStringList{
            QStringLiteral("Title of the sheet"), QStringLiteral("An indented first line of a paragraph that runs on."),
            QStringLiteral("A second paragraph set in like the first, without a space, and its last "
                           "line is short."),
            QStringLiteral("A third one starts flush but follows a short line that ended a sentence"),
            QStringLiteral("after a blank line comes a fourth and"), QStringLiteral("\u2022 a bulleted item"),
            QStringLiteral("2. a numbered item running over onto the foot of the page, where the "
                           "sentence goes on across the page."),
            QStringLiteral("A paragraph set in at the top of a page starts anew.")}));
    ASSERT_FALSE(blocks.isEmpty());
    EXPECT_EQ(blocks[0].heading, 1);
    EXPECT_EQ(blocks[1].heading, 0);
}

TEST(PdfLayout, RunningHeadersFootersAndPageNumbersAreLeftOut)
{
    QList<PdfPageText> pages;
    for (int n = 0; n < 4; ++n) {
        Page page;
        // Books alternate their running heads; the page number counts up with the pages, on either side.
        page.at(40, n % 2 ? QStringLiteral("Reading Worksheet") : QStringLiteral("Unit One"), 72)
            .at(40, QString::number(n + 7), n % 2 ? 72 : 500);
        if (n == 0 || n == 2)
            page.at(60, QStringLiteral("Chapter %1").arg(n / 2 + 1), 72); // same place, numbers not counting pages
        page.gap(200).line(QStringLiteral("Body text"), 15).line(QStringLiteral("of page %1.").arg(n + 1), 0, 300);
        page.at(800, QStringLiteral("Page %1 of 4").arg(n + 1));
        pages << page.page;
    }
    EXPECT_EQ(texts(paragraphsFromPages(pages)),
              lines((QStringList{QStringLiteral("Chapter 1"), QStringLiteral("Body text of page 1."),
                                 QStringLiteral("Body text of page 2."), QStringLiteral("Chapter 2"),
                                 QStringLiteral("Body text of page 3."), QStringLiteral("Body text of page 4.")})));

    // A page scanned twice is read twice: a whole page repeated is content, not a run of headers.
    Page trip;
    trip.at(40, QStringLiteral("Our class trip is on Friday."), 72)
        .line(QStringLiteral("Bring a packed lunch."), 0, 200);
    trip.at(800, QStringLiteral("Mrs Patel"), 72);
    Page reply;
    reply.at(40, QStringLiteral("Reply slip"), 72).line(QStringLiteral("My child may go."), 0, 200);
    // Whatever paragraphs the lines make, every line is there.
    const auto words = [](const TextBlocks& blocks) {
        return QString::fromStdString(texts(blocks)).replace(QLatin1Char('\n'), QLatin1Char(' '));
    };
    const QString tripText = QStringLiteral("Our class trip is on Friday. Bring a packed lunch. Mrs Patel");
    EXPECT_EQ(words(paragraphsFromPages({trip.page, trip.page, reply.page})),
              tripText + QLatin1Char(' ') + tripText + QStringLiteral(" Reply slip My child may go."));
    EXPECT_EQ(words(paragraphsFromPages({trip.page, trip.page})), tripText + QLatin1Char(' ') + tripText);

    // A single page keeps its number: nothing repeats.
    Page single;
    single.line(QStringLiteral("Only page."), 0, 200).at(800, QStringLiteral("1"));
    EXPECT_EQ(texts(paragraphsFromPages({single.page})),
              lines((QStringList{QStringLiteral("Only page."), QStringLiteral("1")})));
}
