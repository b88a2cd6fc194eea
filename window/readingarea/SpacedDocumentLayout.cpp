#include "window/readingarea/SpacedDocumentLayout.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <QTextObjectInterface>
#include <QUrl>

#include <cmath>

namespace {
// The width lines are laid out in when the page has none: they break only where the text does.
constexpr qreal Unbounded = 1e7;

// The pictures of a document, drawn at the size their format asks for, else at their own.
class PictureObject : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    using QObject::QObject;

    QSizeF intrinsicSize(QTextDocument* document, int, const QTextFormat& format) override
    {
        const QTextImageFormat picture = format.toImageFormat();
        const QSizeF own = image(document, picture).size();
        const qreal width = picture.width() > 0 ? picture.width() : own.width();
        const qreal height = picture.height() > 0 ? picture.height() : own.height();
        // One side given keeps the picture's proportions.
        if (picture.width() > 0 && picture.height() <= 0 && own.width() > 0)
            return {width, own.height() * width / own.width()};
        if (picture.height() > 0 && picture.width() <= 0 && own.height() > 0)
            return {own.width() * height / own.height(), height};
        return {width, height};
    }

    void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* document, int,
                    const QTextFormat& format) override
    {
        const QImage picture = image(document, format.toImageFormat());
        if (!picture.isNull())
            painter->drawImage(rect, picture);
    }

private:
    static QImage image(QTextDocument* document, const QTextImageFormat& format)
    {
        const QVariant data = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
        if (data.userType() == QMetaType::QImage)
            return data.value<QImage>();
        if (data.userType() == QMetaType::QPixmap)
            return data.value<QPixmap>().toImage();
        return QImage::fromData(data.toByteArray());
    }
};
} // namespace

SpacedDocumentLayout::SpacedDocumentLayout(QTextDocument* document, qreal spacing)
    : QAbstractTextDocumentLayout(document), mSpacing(spacing)
{
    registerHandler(QTextFormat::ImageObject, new PictureObject(this));
}

void SpacedDocumentLayout::setSpacing(qreal spacing)
{
    mSpacing = spacing;
    documentChanged(0, 0, document()->characterCount());
}

qreal SpacedDocumentLayout::slotHeight(const QTextLine& line, const QTextBlockFormat& format) const
{
    // A paragraph's own line height (a web page's, say) is spaced in proportion.
    return format.lineHeight(std::ceil(line.height()), 1.0) * mSpacing;
}

qreal SpacedDocumentLayout::linesHeight(const QTextBlock& block) const
{
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return 0;
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    return last.y() + (slotHeight(last, block.blockFormat()) + last.height()) / 2;
}

void SpacedDocumentLayout::documentChanged(int from, int, int charsAdded)
{
    QTextDocument* document = this->document();
    QTextBlock first = document->findBlock(from);
    QTextBlock last = document->findBlock(from + charsAdded);
    const qreal width = document->pageSize().width();
    if (width != mWidth || !first.isValid()) {
        mWidth = width;
        first = document->begin();
        last = QTextBlock();
    }
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        layoutBlock(block);
        if (block == last)
            break;
    }
    placeBlocks(first, last);
}

void SpacedDocumentLayout::layoutBlock(const QTextBlock& block)
{
    QTextDocument* document = this->document();
    const QTextBlockFormat format = block.blockFormat();
    const Qt::LayoutDirection direction = block.textDirection();
    QTextOption option = document->defaultTextOption();
    option.setTextDirection(direction);
    option.setTabs(format.tabPositions());
    option.setAlignment(QStyle::visualAlignment(
        direction, format.hasProperty(QTextFormat::BlockAlignment) ? format.alignment() : option.alignment()));
    if (format.nonBreakableLines() || mWidth < 0)
        option.setWrapMode(QTextOption::ManualWrap);
    QTextLayout* layout = block.layout();
    layout->setTextOption(option);

    qreal indent = format.indent();
    if (const QTextList* list = block.textList())
        indent += list->format().indent();
    indent *= document->indentWidth();
    const bool rightToLeft = direction == Qt::RightToLeft;
    const QTextFrameFormat page = document->rootFrame()->frameFormat();
    const qreal left = format.leftMargin() + (rightToLeft ? 0 : indent);
    const qreal right = format.rightMargin() + (rightToLeft ? indent : 0);
    const qreal width =
        mWidth < 0 ? Unbounded : qMax<qreal>(0, mWidth - page.leftMargin() - page.rightMargin() - left - right);

    layout->beginLayout();
    qreal y = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        const qreal textIndent = line.lineNumber() == 0 ? format.textIndent() : 0;
        line.setLeadingIncluded(true);
        line.setLineWidth(qMax<qreal>(0, width - textIndent));
        const qreal slot = slotHeight(line, format);
        line.setPosition(QPointF(left + (rightToLeft ? 0 : textIndent), y + (slot - line.height()) / 2));
        y += slot;
    }
    layout->endLayout();
}

void SpacedDocumentLayout::placeBlocks(const QTextBlock& first, const QTextBlock& last)
{
    QTextDocument* document = this->document();
    const QTextFrameFormat page = document->rootFrame()->frameFormat();
    // Under the block above the first, which stays where it is.
    qreal y = page.topMargin();
    qreal below = -1; // the bottom margin of the block above; none above the first
    QTextBlock above = first.previous();
    while (above.isValid() && !above.isVisible())
        above = above.previous();
    if (above.isValid()) {
        y = above.layout()->position().y() + linesHeight(above);
        below = above.blockFormat().bottomMargin();
    }
    bool changed = last.isValid(); // still in the blocks laid out again; without a last one, all were
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        if (!block.isVisible())
            continue;
        const QTextBlockFormat format = block.blockFormat();
        // The margins between two paragraphs overlap, as on a web page.
        if (below >= 0)
            y += qMax(below, format.topMargin());
        // Past the change, a block already in its place leaves the rest in theirs.
        if (!changed && last.isValid() && qFuzzyCompare(block.layout()->position().y() + 1, y + 1))
            break;
        block.layout()->setPosition(QPointF(page.leftMargin(), y));
        y += linesHeight(block);
        below = format.bottomMargin();
        if (block == last)
            changed = false;
    }

    QTextBlock end = document->lastBlock();
    while (end.isValid() && !end.isVisible())
        end = end.previous();
    qreal height = page.topMargin() + page.bottomMargin();
    if (end.isValid())
        height =
            end.layout()->position().y() + linesHeight(end) + end.blockFormat().bottomMargin() + page.bottomMargin();
    qreal width = mWidth;
    if (width < 0) {
        // Lines that do not wrap make the page as wide as the widest.
        width = 0;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            width = qMax(width, block.layout()->maximumWidth() + block.blockFormat().leftMargin() +
                                    block.blockFormat().rightMargin());
        width += page.leftMargin() + page.rightMargin();
    }
    if (QSizeF(width, height) != mSize) {
        mSize = QSizeF(width, height);
        emit documentSizeChanged(mSize);
    }
    emit update();
}

QTextBlock SpacedDocumentLayout::blockAt(qreal y) const
{
    // The last block that starts at or above y: the blocks lie in order.
    const QTextDocument* document = this->document();
    int low = 0;
    int high = document->blockCount() - 1;
    while (low < high) {
        const int middle = (low + high + 1) / 2;
        if (document->findBlockByNumber(middle).layout()->position().y() <= y)
            low = middle;
        else
            high = middle - 1;
    }
    return document->findBlockByNumber(low);
}

QRectF SpacedDocumentLayout::blockBoundingRect(const QTextBlock& block) const
{
    if (!block.isValid() || !block.isVisible())
        return {};
    const QTextLayout* layout = block.layout();
    return {layout->position(), QSizeF(layout->boundingRect().width(), linesHeight(block))};
}

QRectF SpacedDocumentLayout::frameBoundingRect(QTextFrame* frame) const
{
    if (frame == document()->rootFrame())
        return {QPointF(), mSize};
    return blockBoundingRect(document()->findBlock(frame->firstPosition()))
        .united(blockBoundingRect(document()->findBlock(frame->lastPosition())));
}

int SpacedDocumentLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    const QTextBlock block = blockAt(point.y());
    const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
    if (!layout)
        return -1;
    const QPointF local = point - layout->position();
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        // Each line answers for its half of the space between it and the next.
        if (i + 1 < layout->lineCount() && local.y() >= (line.rect().bottom() + layout->lineAt(i + 1).y()) / 2)
            continue;
        if (accuracy == Qt::FuzzyHit)
            return block.position() + line.xToCursor(local.x());
        if (!line.naturalTextRect().contains(local))
            return -1;
        return block.position() + line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
    }
    return accuracy == Qt::FuzzyHit ? block.position() : -1;
}

void SpacedDocumentLayout::draw(QPainter* painter, const PaintContext& context)
{
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(), mSize);
    const QVariant cursorWidth = property("cursorWidth");
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    for (QTextBlock block = blockAt(clip.top()); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingRect(block);
        if (box.top() > clip.bottom())
            break;
        if (!block.isVisible())
            continue;
        QTextLayout* layout = block.layout();
        const QBrush background = block.blockFormat().background();
        if (background.style() != Qt::NoBrush)
            painter->fillRect(QRectF(box.left(), box.top(), mSize.width() - 2 * box.left(), box.height()), background);

        // The selections as Qt's own layout draws them, a full-width one on the line of its cursor.
        const int start = block.position();
        const int length = block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection& selection : context.selections) {
            const int from = selection.cursor.selectionStart() - start;
            const int to = selection.cursor.selectionEnd() - start;
            if (from < length && to > 0 && to > from) {
                selections.append({from, to - from, selection.format});
            } else if (!selection.cursor.hasSelection() &&
                       selection.format.hasProperty(QTextFormat::FullWidthSelection) &&
                       block.contains(selection.cursor.position())) {
                const QTextLine line = layout->lineForTextPosition(selection.cursor.position() - start);
                selections.append({line.textStart(), line.textLength(), selection.format});
            }
        }
        layout->draw(painter, QPointF(), selections, clip);
        drawListMarker(painter, block);

        // A cursor position below -1 stands for a place in the text being composed by an input method.
        int cursor = context.cursorPosition;
        if (cursor < -1 && !layout->preeditAreaText().isEmpty())
            cursor = layout->preeditAreaPosition() - (cursor + 2);
        else if (cursor >= start && cursor < start + length)
            cursor -= start;
        else
            continue;
        layout->drawCursor(painter, QPointF(), cursor, cursorWidth.isValid() ? cursorWidth.toInt() : 1);
    }
    painter->restore();
}

void SpacedDocumentLayout::drawListMarker(QPainter* painter, const QTextBlock& block) const
{
    const QTextList* list = block.textList();
    const QTextLayout* layout = block.layout();
    if (!list || layout->lineCount() == 0)
        return;
    // Numbered styles come after the three bullets in the list of styles.
    const QTextListFormat::Style style = list->format().style();
    const QString marker = style <= QTextListFormat::ListDecimal  ? list->itemText(block)
                           : style == QTextListFormat::ListCircle ? QString(QChar(0x25E6))
                           : style == QTextListFormat::ListSquare ? QString(QChar(0x25AA))
                                                                  : QString(QChar(0x2022));
    const QFont font = block.charFormat().font();
    const QFontMetricsF metrics(font);
    const QTextLine first = layout->lineAt(0);
    const qreal gap = metrics.horizontalAdvance(QLatin1Char(' '));
    const qreal x = block.textDirection() == Qt::RightToLeft ? first.x() + first.width() + gap
                                                             : first.x() - gap - metrics.horizontalAdvance(marker);
    painter->save();
    painter->setFont(font);
    painter->drawText(layout->position() + QPointF(x, first.y() + first.ascent()), marker);
    painter->restore();
}

#include "SpacedDocumentLayout.moc"

QTextBlock firstBlockShown(const QTextEdit& edit, const QRect& area)
{
    QAbstractTextDocumentLayout* layout = edit.document()->documentLayout();
    const QPointF scroll(edit.horizontalScrollBar()->value(), edit.verticalScrollBar()->value());
    const int hit = layout->hitTest(QPointF(0, scroll.y() + area.top()), Qt::FuzzyHit);
    QTextBlock first = edit.document()->findBlock(qMax(0, hit));
    // A fuzzy hit in the document's margin, or between paragraphs, may land further on: step back to the first
    // paragraph in the area.
    while (first.previous().isValid() &&
           layout->blockBoundingRect(first.previous()).translated(-scroll).bottom() >= area.top())
        first = first.previous();
    return first;
}
