#include "ReaderFixture.h"

#include "formats/RtfWriter.h"
#include "window/readingarea/ReadingAidsView.h"

#include <QApplication>
#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>

namespace {
class ReadingAidsLook : public ReaderFixture
{
protected:
    void SetUp() override
    {
        ReaderFixture::SetUp();
        useShippedSettings(); // a settings file from before the reading aids
        create();
        // No blinking caret in the pictures.
        reader->reText->setCursorWidth(0);
    }

    void apply(const ReadingAids& aids)
    {
        reader->mReadingAids = aids;
        reader->ApplyAppearance();
        settle();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    QImage picture() const { return reader->reText->grab().toImage(); }

    // Everything but the look: the text and its formats as saved, the selection, the edit state and find.
    struct Document
    {
        QString text;
        QByteArray rtf;
        int anchor, position;
        bool modified, undo;
        int found;
        bool operator==(const Document&) const = default;
    };
    Document document() const
    {
        const QTextEdit* edit = reader->reText;
        return {edit->toPlainText(),
                writeRtf(edit->document()),
                edit->textCursor().anchor(),
                edit->textCursor().position(),
                edit->document()->isModified(),
                edit->document()->isUndoAvailable(),
                edit->document()->find(QStringLiteral("information")).selectionStart()};
    }

    // The least lightness in a band of rows of the reading area's viewport: text is dark, dimmed text is not.
    static int darkest(const QImage& image, int top, int bottom)
    {
        int least = 255;
        for (int y = qMax(0, top); y < qMin(image.height(), bottom); ++y)
            for (int x = 0; x < image.width() - 20; ++x)
                least = qMin(least, qGray(image.pixel(x, y)));
        return least;
    }
};
} // namespace

TEST_F(ReadingAidsLook, EachAidChangesOnlyTheLookAndTheDefaultsDrawAsBefore)
{
    EXPECT_EQ(reader->mReadingAids, ReadingAids{}) << "an older settings file has no reading aids";
    reader->reText->setPlainText(QStringLiteral("The children listened carefully to information about "
                                                "www.example.org and wonderful animals.\nSecond paragraph here."));
    QTextCursor cursor = reader->reText->textCursor();
    cursor.setPosition(10);
    cursor.setPosition(25, QTextCursor::KeepAnchor);
    reader->reText->setTextCursor(cursor);
    settle();
    const QImage before = picture();
    const Document unchanged = document();

    ReadingAids font, lines, letters, focus, syllables;
    font.FontFamily = DyslexicFontFamily;
    lines.LineSpacing = 200;
    letters.LetterSpacing = 150;
    focus.FocusLines = 1;
    focus.FocusWhenIdle = true;
    syllables.Syllables = true;
    for (const ReadingAids& aids : {font, lines, letters, focus, syllables}) {
        apply(aids);
        EXPECT_NE(picture(), before);
        EXPECT_EQ(document(), unchanged);
    }
    EXPECT_GT(reader->reText->document()->size().height(), 0);

    apply({});
    EXPECT_EQ(picture(), before) << "with every aid off the reading area looks as it did";
    EXPECT_FALSE(reader->readingAidsView()->overlay()->isVisible());
    for (QTextBlock block = reader->reText->document()->begin(); block.isValid(); block = block.next())
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            EXPECT_TRUE(range.format.fontUnderline()) << "only links keep a format of their own";
}

TEST_F(ReadingAidsLook, EveryLineIsSpacedWithOrWithoutSpacesAndTheCaretFindsItsPlace)
{
    // Words with spaces, one long word, an empty line; the last paragraph only ends the empty one.
    reader->reText->setPlainText(QStringLiteral("Words with spaces\nUnbreakablewordwithoutspaces\n\nEnd"));
    settle();
    const auto heights = [this] {
        QList<qreal> tops;
        for (QTextBlock block = reader->reText->document()->begin(); block.isValid(); block = block.next())
            tops << reader->reText->document()->documentLayout()->blockBoundingRect(block).top();
        return QList<qreal>{tops[1] - tops[0], tops[2] - tops[1], tops[3] - tops[2]};
    };
    const QList<qreal> single = heights();
    ReadingAids lines;
    lines.LineSpacing = 200;
    apply(lines);
    const QList<qreal> spaced = heights();
    for (int line = 0; line < 3; ++line)
        EXPECT_NEAR(spaced[line], 2 * single[line], 1) << "line " << line;

    // The caret and a click find the long word's line where it is drawn.
    const QTextBlock word = reader->reText->document()->findBlockByNumber(1);
    QTextCursor cursor(word);
    cursor.setPosition(word.position() + 5);
    const QRect caret = reader->reText->cursorRect(cursor);
    const QRectF box = reader->reText->document()->documentLayout()->blockBoundingRect(word).translated(
        0, -reader->reText->verticalScrollBar()->value());
    EXPECT_TRUE(box.contains(caret.center()));
    EXPECT_EQ(reader->reText->cursorForPosition(caret.center()).position(), word.position() + 5);

    // A table is shown by Qt's own layout, unspaced, until it is undone.
    const auto spacedLayout = [this] {
        return reader->reText->document()->documentLayout()->inherits("SpacedDocumentLayout");
    };
    EXPECT_TRUE(spacedLayout());
    reader->reText->textCursor().insertTable(2, 2);
    settle();
    EXPECT_FALSE(spacedLayout());
    reader->reText->undo();
    settle();
    EXPECT_TRUE(spacedLayout());
    EXPECT_EQ(heights(), spaced);
}

TEST_F(ReadingAidsLook, SpacingAndSyllablesKeepSpokenPositionsAndADocumentsOwnFonts)
{
    reader->reText->setHtml(QStringLiteral("<p>Plain words <span style=\"font-family:'DejaVu Serif'\">serif "
                                           "information</span> again.</p>"));
    ReadingAids all;
    all.FontFamily = DyslexicFontFamily;
    all.LineSpacing = 150;
    all.LetterSpacing = 120;
    all.Syllables = true;
    apply(all);
    const QTextBlock block = reader->reText->document()->begin();
    const int serif = int(block.text().indexOf(QStringLiteral("serif")));
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (range.start >= serif && range.start < serif + 17) {
            EXPECT_FALSE(range.format.hasProperty(QTextFormat::FontFamilies)) << "the document's own face stays";
        }
    }

    reader->model().setState(ReadingState::Reading);
    reader->HighlightSpoken(serif + 6, 11);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("information"));

    all.OverrideDocumentFonts = true;
    apply(all);
    bool replaced = false;
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        replaced |= range.start >= serif && range.start < serif + 17 &&
                    range.format.fontFamilies().toStringList() == QStringList{DyslexicFontFamily};
    EXPECT_TRUE(replaced);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("information"));
}

TEST_F(ReadingAidsLook, TheSpokenWordKeepsTheReadingFaceAndSpacing)
{
    reader->reText->setPlainText(QStringLiteral("all little lollipops fall slowly, while the tall lilies will hold"));
    ReadingAids aids;
    aids.FontFamily = DyslexicFontFamily;
    aids.LetterSpacing = 130;
    apply(aids);
    const int start = 4;
    const int end = 10; // "little"
    QTextCursor cursor = reader->reText->textCursor();
    cursor.setPosition(start);
    const QRect left = reader->reText->cursorRect(cursor);
    cursor.setPosition(end);
    const QRect word(QPoint(left.left() + 1, left.top()),
                     QPoint(reader->reText->cursorRect(cursor).left() - 2, left.bottom()));

    // How far each pixel of the word is from its background towards its ink, whatever the two colours.
    const auto ink = [&word](const QImage& image) {
        const auto distance = [](QRgb a, QRgb b) {
            return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        };
        const QRgb background = image.pixel(word.topLeft());
        int strongest = 1;
        for (int y = word.top(); y <= word.bottom(); ++y)
            for (int x = word.left(); x <= word.right(); ++x)
                strongest = qMax(strongest, distance(image.pixel(x, y), background));
        QList<double> shares;
        for (int y = word.top(); y <= word.bottom(); ++y)
            for (int x = word.left(); x <= word.right(); ++x)
                shares << double(distance(image.pixel(x, y), background)) / strongest;
        return shares;
    };
    const QList<double> plain = ink(reader->reText->viewport()->grab().toImage());

    reader->model().setState(ReadingState::Reading);
    reader->HighlightSpoken(start, end - start);
    settle();
    ASSERT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("little"));
    const QList<double> spoken = ink(reader->reText->viewport()->grab().toImage());
    double total = 0;
    double changed = 0;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        total += plain[i];
        changed += std::abs(plain[i] - spoken[i]);
    }
    EXPECT_LT(changed / total, 0.15) << "the highlighted word is drawn in the same letters as before";
}

TEST_F(ReadingAidsLook, LineFocusFollowsTheSpokenWordWithoutMovingTheSelection)
{
    QString text;
    for (int line = 0; line < 200; ++line)
        text += QStringLiteral("Line %1 has a few words to read aloud.\n").arg(line, 3, 10, QLatin1Char('0'));
    reader->reText->setPlainText(text);
    ReadingAids focus;
    focus.FocusLines = 3;
    apply(focus);
    EXPECT_TRUE(reader->readingAidsView()->focusStrip().isEmpty()) << "idle, and not asked to focus when idle";

    engine->autoFinish = false;
    reader->StartReading(true);
    const int word = int(text.indexOf(QStringLiteral("Line 150"))) + 5;
    reader->HighlightSpoken(word, 3);
    settle();
    EXPECT_EQ(reader->reText->textCursor().selectionStart(), word);
    EXPECT_EQ(reader->reText->textCursor().selectedText(), QStringLiteral("150"));

    const QRect strip = reader->readingAidsView()->focusStrip();
    const QRect spoken = reader->reText->cursorRect();
    const int lineHeight = spoken.height();
    EXPECT_TRUE(strip.contains(spoken.center()));
    EXPECT_GE(strip.top(), 0);
    EXPECT_LE(strip.bottom(), reader->reText->viewport()->height());
    EXPECT_NEAR(strip.height(), 3 * lineHeight, lineHeight / 2);

    const QImage view = reader->reText->viewport()->grab().toImage();
    EXPECT_LT(darkest(view, strip.top(), strip.bottom()), 100) << "the strip is clear";
    EXPECT_GT(darkest(view, strip.top() - 3 * lineHeight, strip.top() - 1), 150) << "lines above are dimmed";
    EXPECT_GT(darkest(view, strip.bottom() + 2, strip.bottom() + 3 * lineHeight), 150) << "lines below are dimmed";

    reader->StopReading();
    settle();
    EXPECT_TRUE(reader->readingAidsView()->focusStrip().isEmpty());
    const QImage idle = reader->reText->viewport()->grab().toImage();
    EXPECT_LT(darkest(idle, strip.top() - 3 * lineHeight, strip.top() - 1), 100);
}

TEST_F(ReadingAidsLook, SyllableDotsAreDrawnFromTheTopLineOfANewDocument)
{
    ReadingAids syllables;
    syllables.Syllables = true;
    apply(syllables);
    QString text;
    for (int line = 0; line < 300; ++line)
        text += QStringLiteral("Information everywhere, line %1.\n").arg(line);
    reader->reText->setPlainText(text);
    settle();
    const QImage dotted = picture();
    reader->readingAidsView()->overlay()->hide();
    const QImage plain = picture();
    const QRect top = reader->reText->document()
                          ->documentLayout()
                          ->blockBoundingRect(reader->reText->document()->begin())
                          .toAlignedRect()
                          .translated(reader->reText->viewport()->pos());
    EXPECT_NE(dotted.copy(top), plain.copy(top)) << "the first line has its dots";
}
