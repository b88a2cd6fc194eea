#include "formats/RtfReader.h"
#include "formats/RtfWriter.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

// What a reader sees of one run of text: its characters and the formats that show.
struct Run
{
    QString text;
    QString family;
    double points = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int verticalAlign = 0;
    QColor foreground;
    QColor background;
    QString link;
    bool operator==(const Run&) const = default;
};

struct Paragraph
{
    int alignment = 0;
    int left = 0;
    int right = 0;
    int indent = 0;
    int before = 0;
    int after = 0;
    QList<Run> runs;
    bool operator==(const Paragraph&) const = default;
};

void PrintTo(const Paragraph& p, std::ostream* os)
{
    *os << "align " << p.alignment << " margins " << p.left << "," << p.right << "," << p.indent << "," << p.before
        << "," << p.after << " runs:";
    for (const Run& r : p.runs)
        *os << " [" << r.text.toStdString() << " " << r.family.toStdString() << " " << r.points << (r.bold ? " b" : "")
            << (r.italic ? " i" : "") << (r.underline ? " u" : "") << (r.strike ? " s" : "") << " v" << r.verticalAlign
            << " fg " << r.foreground.name().toStdString() << " bg " << r.background.name().toStdString() << " "
            << r.link.toStdString() << "]";
}

// The document as its resolved look, adjacent runs of the same look merged.
QList<Paragraph> lookOf(const QTextDocument& document)
{
    QList<Paragraph> paragraphs;
    const QFont font = document.defaultFont();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat bf = block.blockFormat();
        Paragraph p;
        p.alignment = int(bf.alignment() & Qt::AlignHorizontal_Mask);
        p.left = qRound(bf.leftMargin());
        p.right = qRound(bf.rightMargin());
        p.indent = qRound(bf.textIndent());
        p.before = qRound(bf.topMargin());
        p.after = qRound(bf.bottomMargin());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            Run r;
            r.text = it.fragment().text();
            const QStringList families = f.fontFamilies().toStringList();
            r.family = families.isEmpty() ? font.family() : families.first();
            r.points = f.fontPointSize() > 0 ? f.fontPointSize() : font.pointSizeF();
            r.bold = f.fontWeight() > QFont::Medium;
            r.italic = f.fontItalic();
            r.underline = f.fontUnderline();
            r.strike = f.fontStrikeOut();
            r.verticalAlign = f.verticalAlignment();
            if (f.foreground().style() != Qt::NoBrush)
                r.foreground = f.foreground().color();
            if (f.background().style() != Qt::NoBrush)
                r.background = f.background().color();
            r.link = f.isAnchor() ? f.anchorHref() : QString();
            if (!p.runs.isEmpty()) {
                Run last = p.runs.last();
                last.text = r.text;
                if (last == r) {
                    p.runs.last().text += r.text;
                    continue;
                }
            }
            p.runs.append(r);
        }
        paragraphs.append(p);
    }
    return paragraphs;
}

QList<Paragraph> roundTrip(const QTextDocument& document)
{
    QTextDocument back;
    back.setDefaultFont(document.defaultFont());
    readRtf(writeRtf(&document), &back);
    return lookOf(back);
}

} // namespace

TEST(RtfWriter, RoundTripKeepsTextAndEveryFormat)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    QTextCursor cursor(&document);
    auto format = [](auto&& change) {
        QTextCharFormat f;
        change(f);
        return f;
    };
    cursor.insertText(QStringLiteral("Plain, "));
    cursor.insertText(QStringLiteral("bold"), format([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }));
    cursor.insertText(QStringLiteral(" italic"), format([](QTextCharFormat& f) { f.setFontItalic(true); }));
    cursor.insertText(QStringLiteral(" under"), format([](QTextCharFormat& f) { f.setFontUnderline(true); }));
    cursor.insertText(QStringLiteral(" struck"), format([](QTextCharFormat& f) { f.setFontStrikeOut(true); }));
    cursor.insertText(QStringLiteral(" red"), format([](QTextCharFormat& f) { f.setForeground(QColor(200, 10, 20)); }));
    cursor.insertText(QStringLiteral(" marked"),
                      format([](QTextCharFormat& f) { f.setBackground(QColor(Qt::yellow)); }));
    cursor.insertText(QStringLiteral(" big serif"), format([](QTextCharFormat& f) {
                          f.setFontFamilies({QStringLiteral("DejaVu Serif")});
                          f.setFontPointSize(27.5);
                      }));
    cursor.insertText(QStringLiteral("2"),
                      format([](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); }));
    cursor.insertText(QStringLiteral(u" link\u2028next line\tafter tab"), format([](QTextCharFormat& f) {
                          f.setAnchor(true);
                          f.setAnchorHref(QStringLiteral("https://example.org/x?a=1&b=\"q\""));
                          f.setFontUnderline(true);
                      }));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(8);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral(u"Ça va? Ωmega “quotes” 😀 {braces} \\ back\u00A0slash"));
    QTextBlockFormat indented;
    indented.setAlignment(Qt::AlignJustify);
    indented.setLeftMargin(48);
    indented.setRightMargin(24);
    indented.setTextIndent(-16);
    indented.setBottomMargin(6);
    cursor.insertBlock(indented);
    cursor.insertText(QStringLiteral("justified"));
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    cursor.insertBlock(right);
    cursor.insertBlock(QTextBlockFormat()); // an empty last paragraph is kept

    const QList<Paragraph> look = roundTrip(document);
    ASSERT_EQ(look.size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(look[i], lookOf(document)[i]) << "paragraph " << i;
    EXPECT_EQ(look[1].runs.first().text, QStringLiteral(u"Ça va? Ωmega “quotes” 😀 {braces} \\ back\u00A0slash"));
}

TEST(RtfWriter, WritesAFileOlderReadersUnderstand)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral(u"café Ω\nline two"));
    const QByteArray rtf = writeRtf(&document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    // Characters outside ASCII carry a code-page fallback where Windows-1252 has one.
    EXPECT_TRUE(rtf.contains("caf\\u233\\'e9 \\u937?")) << rtf.constData();
    EXPECT_EQ(rtf.count("\\par\r\n"), 2);
    for (const char c : rtf)
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(RtfWriter, EmptyDocumentsStayEmpty)
{
    QTextDocument empty;
    QTextDocument back;
    back.setPlainText(QStringLiteral("old"));
    readRtf(writeRtf(&empty), &back);
    EXPECT_EQ(back.toPlainText(), QString());
    EXPECT_EQ(back.blockCount(), 1);
}
