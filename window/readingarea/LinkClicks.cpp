#include "window/readingarea/LinkClicks.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextDocument>
#include <QTextLayout>

LinkHighlighter::LinkHighlighter(QTextDocument* document, const QColor& linkColour) : QSyntaxHighlighter(document)
{
    mLinkFormat.setForeground(linkColour);
    mLinkFormat.setFontUnderline(true);
}

void LinkHighlighter::setLinkColour(const QColor& colour)
{
    if (colour == linkColour())
        return;
    mLinkFormat.setForeground(colour);
    reformat();
}

void LinkHighlighter::setDecoration(BlockDecoration decoration)
{
    if (!decoration && !mDecoration)
        return;
    mDecoration = std::move(decoration);
    reformat();
}

void LinkHighlighter::reformat()
{
    QTextDocument* doc = document();
    if (!doc)
        return;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QList<QTextLayout::FormatRange> ranges = blockFormats(block, block.text());
        if (!ranges.isEmpty() || !block.layout()->formats().isEmpty())
            block.layout()->setFormats(ranges);
    }
    // Outside an edit block this only lays the text out again; the document reports no change.
    doc->markContentsDirty(0, doc->characterCount());
}

void LinkHighlighter::reformatBlock(const QTextBlock& block)
{
    QTextDocument* doc = document();
    if (!doc || !block.isValid() || block.document() != doc)
        return;
    block.layout()->setFormats(blockFormats(block, block.text()));
    doc->markContentsDirty(block.position(), block.length());
}

QList<QTextLayout::FormatRange> LinkHighlighter::blockFormats(const QTextBlock& block, const QString& text) const
{
    QList<QTextLayout::FormatRange> decorations;
    if (mDecoration)
        mDecoration(block, decorations);
    const QList<TextLink> links = FindLinks(text);
    if (links.isEmpty())
        return decorations;
    QList<QTextLayout::FormatRange> merged;
    if (decorations.isEmpty()) {
        for (const TextLink& link : links)
            merged.append({int(link.start), int(link.length), mLinkFormat});
        return merged;
    }
    // Walk both lists at once, cutting at every boundary, so each piece takes its decoration and, on a
    // link, the link format over it.
    qsizetype d = 0;
    qsizetype l = 0;
    int at = 0;
    const auto nextBoundary = [&](int from) {
        int next = int(text.size());
        if (d < decorations.size())
            next = qMin(next, decorations[d].start > from ? decorations[d].start
                                                          : decorations[d].start + decorations[d].length);
        if (l < links.size())
            next = qMin(next, int(links[l].start) > from ? int(links[l].start) : int(links[l].end()));
        return next;
    };
    while (at < text.size() && (d < decorations.size() || l < links.size())) {
        const int next = nextBoundary(at);
        if (next <= at)
            break;
        const bool inDecoration = d < decorations.size() && decorations[d].start <= at;
        const bool inLink = l < links.size() && links[l].start <= at;
        if (inDecoration || inLink) {
            QTextCharFormat format = inDecoration ? decorations[d].format : QTextCharFormat();
            if (inLink)
                format.merge(mLinkFormat);
            merged.append({at, next - at, format});
        }
        at = next;
        if (d < decorations.size() && decorations[d].start + decorations[d].length <= at)
            ++d;
        if (l < links.size() && links[l].end() <= at)
            ++l;
    }
    return merged;
}

void LinkHighlighter::highlightBlock(const QString& text)
{
    for (const QTextLayout::FormatRange& range : blockFormats(currentBlock(), text))
        setFormat(range.start, range.length, range.format);
}

LinkClicks::LinkClicks(QTextEdit* edit)
    : QObject(edit), mEdit(edit), mViewport(edit->viewport()),
      mHighlighter(new LinkHighlighter(edit->document(), edit->palette().color(QPalette::Link)))
{
    mViewport->setMouseTracking(true);
    mViewport->installEventFilter(this);
}

void LinkClicks::setLinkColour(const QColor& colour)
{
    if (mHighlighter)
        mHighlighter->setLinkColour(colour);
}

int LinkClicks::characterAt(const QPoint& viewportPoint) const
{
    QTextDocument* document = mEdit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const QPointF point =
        QPointF(viewportPoint) + QPointF(mEdit->horizontalScrollBar()->value(), mEdit->verticalScrollBar()->value());
    const int near = layout->hitTest(point, Qt::FuzzyHit);
    if (near < 0)
        return -1;
    const QTextBlock block = document->findBlock(near);
    const QTextLayout* textLayout = block.layout();
    if (!block.isValid() || !textLayout)
        return -1;
    // The fuzzy hit also answers for points beside the text; only a point on a character counts.
    const QPointF local = point - layout->blockBoundingRect(block).topLeft();
    for (int i = 0; i < textLayout->lineCount(); ++i) {
        const QTextLine line = textLayout->lineAt(i);
        if (!line.naturalTextRect().contains(local) || line.textLength() == 0)
            continue;
        const int offset = line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
        const int last = line.textStart() + line.textLength() - 1;
        return block.position() + qBound(line.textStart(), offset, last);
    }
    return -1;
}

TextLink LinkClicks::linkAt(const QPoint& viewportPoint) const
{
    const int position = characterAt(viewportPoint);
    if (position < 0)
        return {};
    const QTextBlock block = mEdit->document()->findBlock(position);
    TextLink link = LinkAt(block.text(), position - block.position());
    if (link.length > 0)
        link.start += block.position();
    return link;
}

QString LinkClicks::linkText(const TextLink& link) const
{
    const QTextBlock block = mEdit->document()->findBlock(int(link.start));
    return block.text().mid(link.start - block.position(), link.length);
}

void LinkClicks::showPointerFor(const TextLink& link)
{
    QWidget* viewport = mViewport;
    if (link.length > 0 && !mPointerOnLink) {
        mCursorBeforeLink = viewport->cursor();
        viewport->setCursor(Qt::PointingHandCursor);
        mPointerOnLink = true;
    } else if (link.length == 0 && mPointerOnLink) {
        viewport->setCursor(mCursorBeforeLink);
        mPointerOnLink = false;
    }
}

bool LinkClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != mViewport)
        return false;
    switch (event->type()) {
    case QEvent::MouseMove:
        showPointerFor(linkAt(static_cast<QMouseEvent*>(event)->position().toPoint()));
        break;
    case QEvent::Leave:
        showPointerFor({});
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        mPressedLink = linkAt(mouse->position().toPoint());
        mPressedButton = mPressedLink.length > 0 ? mouse->button() : Qt::NoButton;
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mPressedButton == Qt::NoButton || mouse->button() != mPressedButton)
            break;
        const TextLink pressed = mPressedLink;
        mPressedButton = Qt::NoButton;
        if (linkAt(mouse->position().toPoint()) == pressed)
            emit linkClicked(linkText(pressed), mouse->button());
        break;
    }
    default:
        break;
    }
    return false;
}
