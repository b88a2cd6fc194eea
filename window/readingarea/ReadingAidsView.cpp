#include "window/readingarea/ReadingAidsView.h"

#include "core/Syllables.h"
#include "window/readingarea/SpacedDocumentLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFrame>

#include <algorithm>
#include <vector>

namespace {
static_assert(ReadingAidsView::SyllableDotFont > QTextFormat::UserProperty);

const QChar MiddleDot(0x00B7);
constexpr int DimAlpha = 185; // out of 255: the dimmed lines stay faintly visible, so the reader keeps the page

// The font a fragment is drawn in, without letter spacing, for measuring.
QFont shownFont(const QTextCharFormat& own, const QTextCharFormat& aid, const QFont& base)
{
    QTextCharFormat shown = own;
    shown.merge(aid);
    QFont font = shown.font().resolve(base);
    font.setLetterSpacing(QFont::PercentageSpacing, 100);
    return font;
}

bool hasOwnFamily(const QTextCharFormat& format)
{
    return format.hasProperty(QTextFormat::FontFamilies) || format.hasProperty(QTextFormat::FontFamily);
}
} // namespace

ReadingAidsView::ReadingAidsView(QTextEdit* edit, std::function<void()> reformat)
    : QObject(edit), mEdit(edit), mReformat(std::move(reformat)),
      mSelectedText(edit->palette().brush(QPalette::Active, QPalette::HighlightedText))
{
    mOverlay = new ReadingAidsOverlay(edit, *this);
    mOverlay->hide();
    edit->viewport()->installEventFilter(this);
    connect(edit, &QTextEdit::cursorPositionChanged, this, &ReadingAidsView::followHighlight);
    connect(edit, &QTextEdit::selectionChanged, this, &ReadingAidsView::followHighlight);
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &ReadingAidsView::updateOverlay);
    connect(edit->horizontalScrollBar(), &QScrollBar::valueChanged, this, &ReadingAidsView::updateOverlay);
    // A table pasted in, or taken out, changes which layout can show the text; the layout is not changed while the
    // document is in the middle of a change.
    connect(edit->document(), &QTextDocument::contentsChange, this, [this] {
        if (wantsSpacedLines() != bool(qobject_cast<SpacedDocumentLayout*>(mEdit->document()->documentLayout())))
            QMetaObject::invokeMethod(this, &ReadingAidsView::placeLines, Qt::QueuedConnection);
    });
}

ReadingAidsView::~ReadingAidsView() = default;

void ReadingAidsView::setAids(const ReadingAids& aids)
{
    const ReadingAids next = aids.normalised();
    const bool letters = next.FontFamily != mAids.FontFamily ||
                         next.OverrideDocumentFonts != mAids.OverrideDocumentFonts ||
                         next.LetterSpacing != mAids.LetterSpacing || next.Syllables != mAids.Syllables ||
                         (next.changesLetters() && mEdit->document()->defaultFont() != mBaseFont);
    mAids = next;
    mBaseFont = mEdit->document()->defaultFont();
    if (mAids.Syllables && !mSyllables)
        mSyllables = std::make_unique<Syllables>();
    keepSelectedLetters();
    placeLines();
    if (letters && mReformat)
        mReformat();
    if (mOverlay) {
        mOverlay->setVisible(mAids.Syllables || mAids.FocusLines > 0);
        mOverlay->setGeometry(mEdit->viewport()->rect());
    }
    mLastStrip = {};
    followHighlight();
    updateOverlay();
}

QFont ReadingAidsView::textFont() const
{
    QFont font = mEdit->font();
    if (!mAids.FontFamily.isEmpty())
        font.setFamilies(QStringList{mAids.FontFamily});
    return font;
}

bool ReadingAidsView::wantsSpacedLines() const
{
    return mAids.LineSpacing != 100 && mEdit->document()->rootFrame()->childFrames().isEmpty();
}

void ReadingAidsView::placeLines()
{
    // Qt's own layout spaces lines only through the document's paragraph formats, which the document would keep,
    // save and undo; the spaced layout does it in the view. It cannot lay out tables: with one in the document,
    // Qt's layout shows the text unspaced.
    QTextDocument* document = mEdit->document();
    auto* spaced = qobject_cast<SpacedDocumentLayout*>(document->documentLayout());
    const qreal spacing = mAids.LineSpacing / 100.0;
    if (spaced && wantsSpacedLines()) {
        if (spaced->spacing() != spacing)
            spaced->setSpacing(spacing);
        return;
    }
    if (!spaced && !wantsSpacedLines())
        return;
    const QVariant cursorWidth = document->documentLayout()->property("cursorWidth");
    document->setDocumentLayout(spaced ? nullptr : new SpacedDocumentLayout(document, spacing));
    document->documentLayout()->setProperty("cursorWidth", cursorWidth);
}

void ReadingAidsView::keepSelectedLetters()
{
    // Qt draws the text of a selection that has a colour of its own in a pass that leaves out the faces of the
    // display formats: the spoken word would lose the reading face. Without that colour the selection draws only
    // its background and the text over it is drawn with the rest, in its face, spacing and colour.
    QPalette palette = mEdit->palette();
    const QBrush shown = palette.brush(QPalette::Active, QPalette::HighlightedText);
    if (shown.style() != Qt::NoBrush)
        mSelectedText = shown;
    const QBrush wanted = mAids.changesLetters() ? QBrush() : mSelectedText;
    if (shown == wanted && palette.brush(QPalette::Inactive, QPalette::HighlightedText) == wanted)
        return;
    for (const auto group : {QPalette::Active, QPalette::Inactive})
        palette.setBrush(group, QPalette::HighlightedText, wanted);
    mEdit->setPalette(palette);
}

void ReadingAidsView::setReading(bool reading)
{
    if (reading == mReading)
        return;
    mReading = reading;
    mLastStrip = {};
    followHighlight();
    updateOverlay();
}

bool ReadingAidsView::focusActive() const
{
    return mAids.FocusLines > 0 && (mReading || mAids.FocusWhenIdle);
}

void ReadingAidsView::decorate(const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges) const
{
    if (!mAids.changesLetters())
        return;
    const QString text = block.text();
    if (text.isEmpty())
        return;
    const QFont base = mEdit->document()->defaultFont();

    // Characters after which a syllable ends inside a word, counted in the block.
    std::vector<bool> dotAfter;
    if (mAids.Syllables && mSyllables && mSyllables->isValid()) {
        dotAfter.assign(size_t(text.size()), false);
        mSyllables->forEachBreak(text, [&](int position) {
            int last = position - 1;
            if (last > 0 && text.at(last).isLowSurrogate())
                --last;
            dotAfter[size_t(last)] = true;
        });
    }

    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat own = fragment.charFormat();
        QTextCharFormat aid;
        if (!mAids.FontFamily.isEmpty() && (mAids.OverrideDocumentFonts || !hasOwnFamily(own)))
            aid.setFontFamilies(QStringList{mAids.FontFamily});
        if (mAids.LetterSpacing != 100) {
            aid.setFontLetterSpacingType(QFont::PercentageSpacing);
            aid.setFontLetterSpacing(mAids.LetterSpacing);
        }
        const int start = fragment.position() - block.position();
        const int end = start + fragment.length();
        if (dotAfter.empty()) {
            if (!aid.properties().isEmpty())
                ranges.append({start, end - start, aid});
            continue;
        }

        const QFont font = shownFont(own, aid, base);
        const QFontMetricsF metrics(font);
        const qreal stretch = (mAids.LetterSpacing - 100) / 100.0;
        const qreal dotAdvance = metrics.horizontalAdvance(MiddleDot);

        int run = start; // first character of the current run of plain characters
        const auto closeRun = [&](int at) {
            if (at > run && !aid.properties().isEmpty())
                ranges.append({run, at - run, aid});
        };
        for (int i = start; i < end; ++i) {
            if (!dotAfter[size_t(i)])
                continue;
            closeRun(i);
            const int length = text.at(i).isHighSurrogate() && i + 1 < end ? 2 : 1;
            // The syllable's last letter is followed by room for a middle dot, which the overlay draws.
            QTextCharFormat dot = aid;
            dot.setFontLetterSpacingType(QFont::AbsoluteSpacing);
            dot.setFontLetterSpacing(metrics.horizontalAdvance(text.mid(i, length)) * stretch + dotAdvance);
            dot.setProperty(SyllableDotFont, font);
            dot.setProperty(SyllableDotAdvance, dotAdvance);
            ranges.append({i, length, dot});
            i += length - 1;
            run = i + 1;
        }
        closeRun(end);
    }
}

QRect ReadingAidsView::focusStrip() const
{
    if (!focusActive())
        return {};
    QTextDocument* document = mEdit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const int position = mEdit->textCursor().selectionStart();
    QTextBlock block = document->findBlock(position);
    if (!block.isValid() || !block.layout() || block.layout()->lineCount() == 0)
        return {};
    const QTextLine current = block.layout()->lineForTextPosition(position - block.position());
    const int around = (mAids.FocusLines - 1) / 2;

    QTextBlock topBlock = block;
    int topLine = current.isValid() ? current.lineNumber() : 0;
    for (int k = 0; k < around; ++k) {
        if (topLine > 0) {
            --topLine;
            continue;
        }
        const QTextBlock previous = topBlock.previous();
        if (!previous.isValid() || !previous.layout() || previous.layout()->lineCount() == 0)
            break;
        topBlock = previous;
        topLine = previous.layout()->lineCount() - 1;
    }
    QTextBlock bottomBlock = block;
    int bottomLine = current.isValid() ? current.lineNumber() : 0;
    for (int k = 0; k < around; ++k) {
        if (bottomLine + 1 < bottomBlock.layout()->lineCount()) {
            ++bottomLine;
            continue;
        }
        const QTextBlock next = bottomBlock.next();
        if (!next.isValid() || !next.layout() || next.layout()->lineCount() == 0)
            break;
        bottomBlock = next;
        bottomLine = 0;
    }
    const QTextLine first = topBlock.layout()->lineAt(topLine);
    const QTextLine last = bottomBlock.layout()->lineAt(bottomLine);
    const qreal scroll = mEdit->verticalScrollBar()->value();
    const qreal top = layout->blockBoundingRect(topBlock).top() + first.y() - scroll;
    const qreal bottom = layout->blockBoundingRect(bottomBlock).top() + last.y() + last.height() - scroll;
    return QRect(0, qFloor(top), mEdit->viewport()->width(), qCeil(bottom) - qFloor(top));
}

void ReadingAidsView::followHighlight()
{
    if (!mOverlay || !focusActive())
        return;
    QRect strip = focusStrip();
    if (strip.isEmpty())
        return;
    // Scroll the whole strip into sight; the caret and the selection stay where they are.
    const int height = mEdit->viewport()->height();
    int shift = 0;
    if (strip.top() < 0)
        shift = strip.top();
    else if (strip.bottom() >= height)
        shift = qMin(strip.bottom() - height + 1, strip.top());
    if (shift != 0) {
        QScrollBar* bar = mEdit->verticalScrollBar();
        const int before = bar->value();
        bar->setValue(before + shift); // the scroll updates the whole overlay
        mLastStrip = strip.translated(0, before - bar->value());
        return;
    }
    if (strip != mLastStrip) {
        mOverlay->update(QRegion(strip) + QRegion(mLastStrip));
        mLastStrip = strip;
    }
}

void ReadingAidsView::updateOverlay()
{
    if (mOverlay && mOverlay->isVisible()) {
        mLastStrip = focusStrip();
        mOverlay->update();
    }
}

bool ReadingAidsView::eventFilter(QObject* watched, QEvent* event)
{
    if (mOverlay && watched == mEdit->viewport() && event->type() == QEvent::Resize)
        mOverlay->setGeometry(mEdit->viewport()->rect());
    return false;
}

ReadingAidsOverlay::ReadingAidsOverlay(QTextEdit* edit, const ReadingAidsView& view)
    : QWidget(edit->viewport()), mEdit(edit), mView(view)
{
    setObjectName(QStringLiteral("readingAidsOverlay"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(edit->viewport()->rect());
}

void ReadingAidsOverlay::moveEvent(QMoveEvent*)
{
    // Scrolling the viewport carries its children along; the overlay stays put over it.
    if (pos() != QPoint(0, 0))
        move(0, 0);
}

void ReadingAidsOverlay::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (mView.aids().Syllables)
        paintSyllableDots(painter, event->rect());
    if (!mView.focusActive())
        return;
    const QRect strip = mView.focusStrip();
    if (strip.isEmpty())
        return;
    QColor dim = mEdit->palette().color(QPalette::Base);
    dim.setAlpha(DimAlpha);
    const QRect all = rect();
    painter.fillRect(QRect(all.left(), all.top(), all.width(), strip.top() - all.top()), dim);
    painter.fillRect(QRect(all.left(), strip.bottom() + 1, all.width(), all.bottom() - strip.bottom()), dim);
}

void ReadingAidsOverlay::paintSyllableDots(QPainter& painter, const QRect& area)
{
    QTextDocument* document = mEdit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const QPointF scroll(mEdit->horizontalScrollBar()->value(), mEdit->verticalScrollBar()->value());
    painter.setPen(mEdit->palette().color(QPalette::Text));
    for (QTextBlock block = firstBlockShown(*mEdit, area); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block).translated(-scroll);
        if (box.top() > area.bottom())
            break;
        const QTextLayout* text = block.layout();
        if (!text || box.bottom() < area.top())
            continue;
        // Only the lines in the area to paint, and only the dots on them: a paragraph may hold thousands.
        const QList<QTextLayout::FormatRange> ranges = text->formats();
        for (int i = 0; i < text->lineCount(); ++i) {
            const QTextLine line = text->lineAt(i);
            const qreal top = box.top() + line.y();
            if (top > area.bottom())
                break;
            if (top + line.height() < area.top())
                continue;
            const int end = line.textStart() + line.textLength();
            auto range = std::lower_bound(ranges.cbegin(), ranges.cend(), line.textStart(),
                                          [](const QTextLayout::FormatRange& r, int start) { return r.start < start; });
            for (; range != ranges.cend() && range->start < end; ++range) {
                if (!range->format.hasProperty(ReadingAidsView::SyllableDotFont))
                    continue;
                const qreal dotAdvance = range->format.doubleProperty(ReadingAidsView::SyllableDotAdvance);
                const qreal x = box.left() + line.cursorToX(range->start + range->length) - dotAdvance;
                if (x > area.right() || x + dotAdvance < area.left())
                    continue;
                const QFont font = qvariant_cast<QFont>(range->format.property(ReadingAidsView::SyllableDotFont));
                if (font != painter.font())
                    painter.setFont(font);
                painter.drawText(QPointF(x, top + line.ascent()), QString(MiddleDot));
            }
        }
    }
}
