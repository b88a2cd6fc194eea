#include "window/writing/WritingAids.h"

#include "window/writing/PredictionList.h"
#include "window/writing/WordPredictor.h"
#include "window/readingarea/SpacedDocumentLayout.h"
#include "core/LinkDetection.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QTextEdit>

namespace {
// The time one background step may take: short enough that a key pressed meanwhile is not noticed.
constexpr qint64 SliceNanoseconds = 2'000'000;
// The longest paragraph checked again while the user types in it; a longer one waits for the background.
constexpr int MaxCheckedAtOnce = 20'000;
// The most words whose check is remembered.
constexpr qsizetype MaxKnownWords = 200'000;

bool isWordLetter(QChar c)
{
    return c.isLetter() || c.isMark();
}

bool isApostrophe(QChar c)
{
    return c == QLatin1Char('\'') || c == QChar(0x2019);
}

// What the checks found in a block, kept on the block: it goes with the block wherever edits move it, and with it.
struct BlockMarks : QTextBlockUserData
{
    int generation = 0;
    size_t hash = 0;
    QList<std::pair<WordSpan, WritingMark>> marks;
};

const QColor MisspeltColour(220, 0, 0);
// A light tint of another colour, seen through on every colour scheme: the marks differ without colour too, and a
// tint is quick to draw where a dotted line over many common words is not.
const QColor ConfusableTint(0, 120, 255, 48);

QString capitalisedLike(const QString& model, QString word)
{
    if (!model.isEmpty() && !word.isEmpty() && model.at(0).isUpper() && word.at(0).isLower())
        word[0] = word.at(0).toUpper();
    return word;
}
} // namespace

// Paints the writing marks over the reading area's viewport, where the viewport is painted.
class WritingMarksOverlay : public QWidget
{
public:
    WritingMarksOverlay(QTextEdit* edit, const WritingAids& aids) : QWidget(edit->viewport()), mAids(aids)
    {
        setObjectName(QStringLiteral("writingMarksOverlay"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(edit->viewport()->rect());
    }

protected:
    void moveEvent(QMoveEvent*) override
    {
        // Scrolling the viewport carries its children along; the overlay stays put over it.
        if (pos() != QPoint(0, 0))
            move(0, 0);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        mAids.paintMarks(painter, event->rect());
    }

private:
    const WritingAids& mAids;
};

QList<WordSpan> FindWords(QStringView text)
{
    QList<WordSpan> words;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        if (!isWordLetter(text[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        while (i < size &&
               (isWordLetter(text[i]) || (isApostrophe(text[i]) && i + 1 < size && isWordLetter(text[i + 1]))))
            ++i;
        const bool nearDigit = (start > 0 && text[start - 1].isDigit()) || (i < size && text[i].isDigit());
        if (!nearDigit)
            words.append({int(start), int(i - start)});
    }
    return words;
}

WritingAids::WritingAids(QTextEdit* edit, Surface surface, QObject* parent)
    : QObject(parent), mEdit(edit), mViewport(edit->viewport()), mSurface(std::move(surface))
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(0);
    connect(&mTimer, &QTimer::timeout, this, &WritingAids::checkSlice);
    mOverlay = new WritingMarksOverlay(edit, *this);
    mOverlay->hide();
    connect(edit->document(), &QTextDocument::contentsChange, this, &WritingAids::checkEdited);
    for (QScrollBar* bar : {edit->verticalScrollBar(), edit->horizontalScrollBar()})
        connect(bar, &QScrollBar::valueChanged, mOverlay, qOverload<>(&QWidget::update));
    // The caret leaving the word it typed finishes that word: its mark, if it has one, is drawn now. (Queued: the
    // caret also moves while the area is being destroyed, when nothing of it may be asked.)
    connect(
        edit, &QTextEdit::cursorPositionChanged, this,
        [this] {
            if (mTypedTo < 0 || mEdit->textCursor().position() == mTypedTo)
                return;
            const QTextBlock typedIn = mEdit->document()->findBlock(mTypedTo);
            mTypedTo = -1;
            repaintMarksOf(typedIn);
        },
        Qt::QueuedConnection);
    mPredictTimer.setSingleShot(true);
    mPredictTimer.setInterval(0);
    connect(&mPredictTimer, &QTimer::timeout, this, &WritingAids::predict);
    // A key's request goes to the worker as soon as the key has moved the caret, not after the area is painted
    // again; a key that leaves the caret where it was is answered by the timer.
    connect(edit, &QTextEdit::cursorPositionChanged, this, [this] {
        if (mPredictTimer.isActive()) {
            mPredictTimer.stop();
            predict();
        }
    });
    mPredictions = new PredictionList(edit);
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &WritingAids::hidePredictions);
    reloadConfusables();
    // Seen before the window's own filter, which was installed first: the prediction list's keys go no further.
    qApp->installEventFilter(this);
}

WritingAids::~WritingAids()
{
    // The overlay paints from this object; the viewport it is on may outlive it.
    delete mOverlay;
    mPredictThread.quit();
    mPredictThread.wait();
}

void WritingAids::reloadConfusables()
{
    mConfusables.load(ConfusablesFilePath());
    restart();
}

void WritingAids::setHelp(const WritingHelp& help)
{
    const WritingHelp before = mHelp;
    mHelp = help;
    if (mHelp.WordPrediction && !mPredictor) {
        mPredictor = new PredictionWorker(UserWordsFilePath());
        mPredictor->moveToThread(&mPredictThread);
        connect(&mPredictThread, &QThread::finished, mPredictor, &QObject::deleteLater);
        connect(mPredictor, &PredictionWorker::predicted, this, &WritingAids::offerPredictions);
        mPredictThread.setObjectName(QStringLiteral("Word prediction"));
        mPredictThread.start();
    }
    if (!mHelp.WordPrediction)
        hidePredictions();
    mOverlay->setVisible(mHelp.SpellCheck || mHelp.Confusables);
    const bool spellingChanged = before.SpellCheck != help.SpellCheck;
    const bool confusablesChanged = before.Confusables != help.Confusables;
    if (!spellingChanged && !confusablesChanged)
        return;
    mOverlay->update();
    // What was found stands (it does not depend on what is drawn); blocks edited while nothing was drawn are due.
    if (mHelp.SpellCheck || mHelp.Confusables) {
        mScanFrom = 0;
        mTimer.start();
    } else {
        mTimer.stop();
        mScanFrom = -1;
    }
}

bool WritingAids::setLanguage(const QString& language)
{
    const QString before = mSpeller.language();
    const bool ready = mSpeller.setLanguage(language);
    if (mSpeller.language() != before)
        restart();
    return ready;
}

void WritingAids::restart()
{
    ++mGeneration;
    mKnownWords.clear();
    if (!mHelp.SpellCheck && !mHelp.Confusables)
        return;
    mScanFrom = 0;
    mTimer.start();
}

bool WritingAids::fresh(const QTextBlock& block) const
{
    const auto* data = static_cast<const BlockMarks*>(block.userData());
    return data && data->generation == mGeneration && data->hash == qHash(block.text());
}

QList<std::pair<WordSpan, WritingMark>> WritingAids::findMarks(const QString& text)
{
    QList<std::pair<WordSpan, WritingMark>> found;
    const QList<TextLink> links = FindLinks(text);
    qsizetype link = 0;
    // What each word was found to be is kept until the dictionary or the list changes: a paragraph typed in is
    // checked again at every key, and most of its words were checked before.
    if (mKnownWords.size() > MaxKnownWords)
        mKnownWords.clear();
    for (const WordSpan& span : FindWords(text)) {
        // A web address is no word to check.
        while (link < links.size() && links[link].end() <= span.start)
            ++link;
        if (link < links.size() && links[link].start < span.start + span.length)
            continue;
        const QString word = text.mid(span.start, span.length);
        auto known = mKnownWords.constFind(word);
        if (known == mKnownWords.constEnd()) {
            const int kind = !mSpeller.check(word)     ? int(WritingMark::Misspelt)
                             : mConfusables.find(word) ? int(WritingMark::Confusable)
                                                       : -1;
            known = mKnownWords.insert(word, kind);
        }
        if (*known >= 0)
            found.append({span, WritingMark(*known)});
    }
    return found;
}

void WritingAids::storeMarks(QTextBlock block)
{
    auto* data = static_cast<BlockMarks*>(block.userData());
    if (!data) {
        data = new BlockMarks;
        block.setUserData(data);
    }
    const QString text = block.text();
    data->generation = mGeneration;
    data->hash = qHash(text);
    data->marks = findMarks(text);
}

bool WritingAids::draws(WritingMark mark) const
{
    return mark == WritingMark::Misspelt ? mHelp.SpellCheck : mHelp.Confusables;
}

bool WritingAids::drawsAny(const QList<std::pair<WordSpan, WritingMark>>& marks) const
{
    return std::any_of(marks.begin(), marks.end(), [this](const auto& found) { return draws(found.second); });
}

bool WritingAids::checkBlock(const QTextBlock& block, bool repaint)
{
    if (fresh(block))
        return false;
    const auto* data = static_cast<BlockMarks*>(block.userData());
    const bool drawn = data && drawsAny(data->marks);
    storeMarks(block);
    // Only a change of what is drawn is painted again.
    if (repaint && (drawn || drawsAny(static_cast<BlockMarks*>(block.userData())->marks)))
        repaintMarksOf(block);
    return true;
}

void WritingAids::checkSlice()
{
    if (!mHelp.SpellCheck && !mHelp.Confusables)
        return;
    QElapsedTimer clock;
    clock.start();
    // The lines around the caret first, where the user types and looks, then the rest of the document from where
    // the walk stands. (They are found by number: asking the layout which lines are in view would lay out a long
    // document that Qt lays out bit by bit.)
    QTextDocument* document = mEdit->document();
    const int caret = mEdit->textCursor().blockNumber();
    const int around = mEdit->viewport()->height() / qMax(1, mEdit->fontMetrics().lineSpacing()) + 1;
    const int last = qMin(document->blockCount() - 1, caret + around);
    for (QTextBlock block = document->findBlockByNumber(qMax(0, caret - around)); block.isValid();
         block = block.next()) {
        checkBlock(block);
        if (block.blockNumber() >= last)
            break;
        if (clock.nsecsElapsed() > SliceNanoseconds) {
            mTimer.start();
            return;
        }
    }
    if (mScanFrom < 0)
        return;
    for (QTextBlock block = document->findBlockByNumber(mScanFrom); block.isValid(); block = block.next()) {
        checkBlock(block);
        if (clock.nsecsElapsed() > SliceNanoseconds) {
            mScanFrom = block.blockNumber() + 1;
            mTimer.start();
            return;
        }
    }
    mScanFrom = -1;
}

void WritingAids::finishChecking()
{
    while (mTimer.isActive()) {
        mTimer.stop();
        checkSlice();
    }
}

void WritingAids::checkEdited(int position, int removed, int added)
{
    // A key typed or deleted (a first key in an empty document counts its paragraph too); a paste is not typing.
    mTypedTo = added <= 2 && removed <= 2 ? position + added : -1;
    if (!mHelp.SpellCheck && !mHelp.Confusables)
        return;
    // A paragraph being typed in (checked before, with the same dictionary) is checked again at once, so its marks
    // stay in place; a long one, and text that is new or must all be checked again, wait for the background.
    QTextDocument* document = mEdit->document();
    const QTextBlock last = document->findBlock(position + added);
    for (QTextBlock block = document->findBlock(position); block.isValid(); block = block.next()) {
        const auto* data = static_cast<const BlockMarks*>(block.userData());
        // The edit paints the block again itself (its layout is not yet up to date to say where).
        if (data && data->generation == mGeneration && block.length() <= MaxCheckedAtOnce) {
            checkBlock(block, false);
        } else if (!fresh(block)) {
            const int number = block.blockNumber();
            mScanFrom = mScanFrom < 0 ? number : qMin(mScanFrom, number);
            if (!mTimer.isActive())
                mTimer.start();
        }
        if (block == last)
            break;
    }
}

void WritingAids::repaintMarksOf(const QTextBlock& block)
{
    // A block not laid out yet is not in view; asking where it is would lay out the document up to it.
    if (!mOverlay || !mOverlay->isVisible() || !block.layout() || block.layout()->lineCount() == 0)
        return;
    const QPointF scroll(mEdit->horizontalScrollBar()->value(), mEdit->verticalScrollBar()->value());
    const QRect box = mEdit->document()->documentLayout()->blockBoundingRect(block).translated(-scroll).toAlignedRect();
    if (box.intersects(mOverlay->rect()))
        mOverlay->update(box);
}

QList<WritingAids::ShownMark> WritingAids::shownMarks(QRect area) const
{
    QList<ShownMark> shown;
    if (!mHelp.SpellCheck && !mHelp.Confusables)
        return shown;
    if (area.isNull())
        area = mViewport->rect();
    QTextDocument* document = mEdit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    const QPointF scroll(mEdit->horizontalScrollBar()->value(), mEdit->verticalScrollBar()->value());
    for (QTextBlock block = firstBlockShown(*mEdit, area); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block).translated(-scroll);
        if (box.top() > area.bottom())
            break;
        const QTextLayout* text = block.layout();
        const auto* data = static_cast<const BlockMarks*>(block.userData());
        // Marks found before the dictionary changed stay until their paragraph is checked again; those of a
        // paragraph edited since would fall on the wrong letters.
        if (!text || !data || box.bottom() < area.top() || data->hash != qHash(block.text()))
            continue;
        for (const auto& [span, mark] : data->marks) {
            if (!draws(mark) || (mark == WritingMark::Misspelt && beingTyped(block, span)))
                continue;
            const int end = span.start + span.length;
            for (QTextLine line = text->lineForTextPosition(span.start); line.isValid() && line.textStart() < end;
                 line = text->lineAt(line.lineNumber() + 1)) {
                const qreal top = box.top() + line.y();
                if (top > area.bottom() || top + line.height() < area.top())
                    continue;
                const qreal from = line.cursorToX(qMax(span.start, line.textStart()));
                const qreal to = line.cursorToX(qMin(end, line.textStart() + line.textLength()));
                shown.append({block.position() + span.start, span.length, mark,
                              QRectF(box.left() + qMin(from, to), top, qAbs(to - from), line.height()),
                              top + line.ascent()});
            }
        }
    }
    return shown;
}

void WritingAids::paintMarks(QPainter& painter, const QRect& area) const
{
    const QFontMetricsF metrics(mEdit->document()->defaultFont());
    // A wave as deep as the font's underline sits below its baseline.
    const qreal radius = qBound<qreal>(1, metrics.underlinePos(), 3);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(MisspeltColour, 1));
    for (const ShownMark& shown : shownMarks(area)) {
        if (shown.mark == WritingMark::Confusable) {
            painter.fillRect(shown.box, ConfusableTint);
            continue;
        }
        const qreal y = shown.baseline + metrics.underlinePos() + 1;
        QPainterPath wave(QPointF(shown.box.left(), y));
        bool up = true;
        for (qreal x = shown.box.left(); x < shown.box.right(); x += 2 * radius, up = !up)
            wave.quadTo(x + radius, up ? y - radius : y + radius, x + 2 * radius, y);
        painter.drawPath(wave);
    }
}

bool WritingAids::beingTyped(const QTextBlock& block, const WordSpan& span) const
{
    // Its last letter was the last key typed and the caret has not moved on: no space or mark ends it yet.
    const QTextCursor caret = mEdit->textCursor();
    return mTypedTo >= 0 && !caret.hasSelection() && caret.position() == mTypedTo &&
           caret.position() == block.position() + span.start + span.length;
}

QList<std::pair<WordSpan, WritingMark>> WritingAids::marks(const QTextBlock& block) const
{
    return fresh(block) ? static_cast<const BlockMarks*>(block.userData())->marks
                        : QList<std::pair<WordSpan, WritingMark>>();
}

QTextCursor WritingAids::wordAt(int position) const
{
    const QTextBlock block = mEdit->document()->findBlock(position);
    if (!block.isValid())
        return {};
    const int inBlock = position - block.position();
    for (const WordSpan& span : FindWords(block.text())) {
        if (span.start <= inBlock && inBlock <= span.start + span.length) {
            QTextCursor word(mEdit->document());
            word.setPosition(block.position() + span.start);
            word.setPosition(block.position() + span.start + span.length, QTextCursor::KeepAnchor);
            return word;
        }
    }
    return {};
}

QTextCursor WritingAids::wordAtCaret() const
{
    const QTextCursor caret = mEdit->textCursor();
    return wordAt(caret.hasSelection() ? caret.selectionStart() : caret.position());
}

void WritingAids::replaceWord(QTextCursor word, const QString& replacement)
{
    if (word.isNull() || !word.hasSelection())
        return;
    word.insertText(capitalisedLike(word.selectedText(), replacement));
}

void WritingAids::replace(const QTextCursor& word, const QString& replacement)
{
    replaceWord(word, replacement);
}

void WritingAids::offerFor(QMenu* menu, const QTextCursor& at)
{
    for (QAction* offer : std::as_const(mOffers)) {
        menu->removeAction(offer);
        offer->deleteLater();
    }
    mOffers.clear();
    const QTextCursor word = at.hasSelection() ? wordAt(at.selectionStart()) : wordAt(at.position());
    if (word.isNull())
        return;
    const QString text = word.selectedText();
    QAction* before = menu->actions().value(0);
    const auto add = [&](const QString& name, const QString& caption, const QString& hint) {
        auto* offer = new QAction(QString(caption).replace(QLatin1String("&"), QLatin1String("&&")), menu);
        offer->setObjectName(name);
        offer->setStatusTip(hint);
        offer->setToolTip(hint);
        menu->insertAction(before, offer);
        mOffers << offer;
        return offer;
    };
    const auto separate = [&] {
        auto* separator = new QAction(menu);
        separator->setSeparator(true);
        menu->insertAction(before, separator);
        mOffers << separator;
    };
    // Each word offered is said as it is highlighted, by the mouse or the arrow keys.
    const auto offerWord = [&](const QString& name, const QString& caption, const QString& replacement,
                               const QString& hint) {
        QAction* offer = add(name, caption, hint);
        offer->setData(replacement);
        connect(offer, &QAction::hovered, this, [this, replacement] { mSurface.speak(replacement); });
        connect(offer, &QAction::triggered, this, [this, word, replacement] { replaceWord(word, replacement); });
    };

    if (mHelp.SpellCheck && !mSpeller.check(text)) {
        const QStringList suggestions = mSpeller.suggest(text, 8);
        for (const QString& suggestion : suggestions)
            offerWord(QStringLiteral("miSpellingSuggestion"), capitalisedLike(text, suggestion), suggestion,
                      tr("Replace \"%1\" with \"%2\"").arg(text, capitalisedLike(text, suggestion)));
        if (suggestions.isEmpty())
            add(QStringLiteral("miNoSuggestions"), tr("(no suggestions)"),
                tr("The dictionary has no word like \"%1\"").arg(text))
                ->setEnabled(false);
        QAction* addWord = add(QStringLiteral("miAddToDictionary"), tr("Add to dictionary"),
                               tr("Add \"%1\" to your own word list").arg(text));
        connect(addWord, &QAction::triggered, this, [this, text] {
            mSpeller.add(text);
            restart();
            mSurface.announce(tr("\"%1\" added to the dictionary").arg(text));
        });
        QAction* ignore =
            add(QStringLiteral("miIgnoreSpelling"), tr("Ignore"), tr("Accept \"%1\" until Parlivo closes").arg(text));
        connect(ignore, &QAction::triggered, this, [this, text] {
            mSpeller.ignore(text);
            restart();
        });
        separate();
    } else if (const ConfusableSet* set = mHelp.Confusables ? mConfusables.find(text) : nullptr) {
        const QString explanation = set->explanation;
        QAction* explain = add(QStringLiteral("miConfusableExplain"),
                               tr("Sounds like: %1").arg(set->words.join(QStringLiteral(", "))), explanation);
        const auto tell = [this, explanation] {
            mSurface.speak(explanation);
            mSurface.announce(explanation);
        };
        connect(explain, &QAction::hovered, this, tell);
        connect(explain, &QAction::triggered, this, tell);
        for (const QString& other : set->words)
            if (other.compare(text, Qt::CaseInsensitive) != 0)
                offerWord(QStringLiteral("miConfusableWord"), tr("Use \"%1\"").arg(capitalisedLike(text, other)), other,
                          tr("Replace \"%1\" with \"%2\"").arg(text, capitalisedLike(text, other)));
        separate();
    }
    // "Define" goes with the commands at the foot of the menu (before its last part), so on a word with nothing to
    // fix the menu starts where it always did.
    const QList<QAction*> items = menu->actions();
    before = nullptr;
    for (qsizetype i = items.size() - 1; i >= 0 && !before; --i)
        if (items.at(i)->isSeparator() && !mOffers.contains(items.at(i)))
            before = items.at(i);
    QAction* define = add(QStringLiteral("miDefineWord"),
                          tr("Define \"%1\"\t%2").arg(text, QKeySequence(DefineKey).toString(QKeySequence::NativeText)),
                          tr("Say what \"%1\" means").arg(text));
    connect(define, &QAction::triggered, this, [this, word] { emit defineRequested(word); });
}

QString WritingAids::sentenceAround(const QTextCursor& word) const
{
    const QTextBlock block = word.block();
    const QString text = block.text();
    const int at = word.selectionStart() - block.position();
    QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, text);
    finder.setPosition(at);
    const qsizetype start = finder.isAtBoundary() ? at : finder.toPreviousBoundary();
    finder.setPosition(at);
    const qsizetype end = finder.toNextBoundary();
    return text.mid(qMax<qsizetype>(0, start), end < 0 ? -1 : end - qMax<qsizetype>(0, start)).trimmed();
}

bool WritingAids::checkNextMisspelling()
{
    if (!mSpeller.ready()) {
        const QString none = tr("No spelling dictionary is installed for the reader's language.");
        mSurface.announce(none);
        mSurface.speak(none);
        return false;
    }
    QTextDocument* document = mEdit->document();
    // After the word found last, which the end of its speaking leaves the caret at the start of.
    const QTextCursor caret = mEdit->textCursor();
    int from = caret.selectionEnd();
    if (mLastFound.hasSelection() && caret.position() == mLastFound.selectionStart())
        from = mLastFound.selectionEnd();
    const QTextBlock startBlock = document->findBlock(from);
    // From the caret to the end, then from the start up to the caret.
    for (int pass = 0; pass < 2; ++pass) {
        QTextBlock block = pass == 0 ? startBlock : document->begin();
        for (; block.isValid(); block = block.next()) {
            checkBlock(block);
            for (const auto& [span, mark] : marks(block)) {
                const int position = block.position() + span.start;
                if (mark != WritingMark::Misspelt || (pass == 0 && position < from))
                    continue;
                if (pass == 1 && position >= from)
                    break;
                QTextCursor word(document);
                word.setPosition(position);
                word.setPosition(position + span.length, QTextCursor::KeepAnchor);
                mEdit->setTextCursor(word);
                mLastFound = word;
                mEdit->ensureCursorVisible();
                const QString text = word.selectedText();
                const QStringList suggestions = mSpeller.suggest(text, 8);
                const QString offered = suggestions.isEmpty()
                                            ? tr("No suggestions.")
                                            : tr("Suggestions: %1.").arg(suggestions.join(QStringLiteral(", ")));
                mSurface.announce(tr("Misspelt: %1. %2 The menu key offers the fixes.").arg(text, offered));
                mSurface.speak(QStringLiteral("%1. %2 %3").arg(text, sentenceAround(word), offered));
                return true;
            }
            if (pass == 1 && block == startBlock)
                break;
        }
    }
    const QString none = tr("No spelling mistakes found.");
    mSurface.announce(none);
    mSurface.speak(none);
    return false;
}

void WritingAids::hidePredictions()
{
    if (mPredictions)
        mPredictions->hide();
}

void WritingAids::predict()
{
    ++mRequest;
    if (!mHelp.WordPrediction || !mPredictor || mEdit->isReadOnly()) {
        hidePredictions();
        return;
    }
    const QTextCursor caret = mEdit->textCursor();
    const QString before = caret.block().text().left(caret.positionInBlock());
    // Words are offered for a word begun or after a space; not after a sentence's end or at a line's start.
    const QChar last = before.isEmpty() ? QChar() : before.back();
    if (caret.hasSelection() || before.trimmed().isEmpty() ||
        !(isWordLetter(last) || isApostrophe(last) || last == QLatin1Char(' '))) {
        hidePredictions();
        return;
    }
    mRequestedAt = caret.position();
    mPredictor->latest = mRequest;
    QMetaObject::invokeMethod(
        mPredictor, [worker = mPredictor, request = mRequest, before] { worker->predict(request, before); },
        Qt::QueuedConnection);
}

void WritingAids::offerPredictions(int request, const QStringList& predicted)
{
    // An answer to an older request, or for a caret that has moved since, is dropped.
    const QTextCursor caret = mEdit->textCursor();
    if (request != mRequest || caret.position() != mRequestedAt || caret.hasSelection() || !mHelp.WordPrediction)
        return;
    const QString before = caret.block().text().left(caret.positionInBlock());
    qsizetype partStart = before.size();
    while (partStart > 0 && (isWordLetter(before[partStart - 1]) || isApostrophe(before[partStart - 1])))
        --partStart;
    const QString part = before.mid(partStart);
    QStringList words;
    for (const QString& word : predicted)
        if (word.compare(part, Qt::CaseInsensitive) != 0)
            words << capitalisedLike(part, asWritten(word));
    if (words.isEmpty()) {
        hidePredictions();
        return;
    }
    // Under the start of the word being typed: the list stays in place while the word grows.
    QTextCursor wordStart = caret;
    wordStart.setPosition(caret.block().position() + int(partStart));
    const QRect caretRect = mEdit->cursorRect(wordStart);
    // Shown, not announced: a screen reader would talk over every key typed. The arrow keys say each word.
    mPredictions->offer(words, mEdit->viewport()->mapTo(mEdit, caretRect.bottomLeft() + QPoint(0, 4)));
}

QString WritingAids::asWritten(const QString& word) const
{
    // The predictor gives words in lower case; a name ("london", "i") is the one the dictionary knows only with its
    // capital.
    if (word.isEmpty() || !mSpeller.ready() || mSpeller.check(word))
        return word;
    const QString capitalised = word.front().toUpper() + word.mid(1);
    return mSpeller.check(capitalised) ? capitalised : word;
}

void WritingAids::insertPrediction(int row)
{
    const QString word = mPredictions->word(row);
    if (word.isEmpty())
        return;
    QTextCursor caret = mEdit->textCursor();
    caret.clearSelection();
    const QString before = caret.block().text().left(caret.positionInBlock());
    qsizetype partStart = before.size();
    while (partStart > 0 && (isWordLetter(before[partStart - 1]) || isApostrophe(before[partStart - 1])))
        --partStart;
    caret.setPosition(caret.block().position() + int(partStart), QTextCursor::KeepAnchor);
    caret.insertText(word + QLatin1Char(' '));
    mEdit->setTextCursor(caret);
    mSpaceAfterPrediction = caret.position();
    hidePredictions();
    mPredictTimer.start();
}

bool WritingAids::followsPrediction(QKeyEvent* key)
{
    if (key->text().isEmpty() && key->modifiers() != Qt::NoModifier)
        return false; // Shift on its way to "!"
    const int at = std::exchange(mSpaceAfterPrediction, -1);
    const QTextCursor caret = mEdit->textCursor();
    if (at < 0 || caret.hasSelection() || caret.position() != at ||
        mEdit->document()->characterAt(at - 1) != QLatin1Char(' '))
        return false;
    // A chosen word comes with its space: the space typed after it is that one, and a mark that ends a sentence or
    // clause goes before it ("you." rather than "you .").
    const QString typed = key->text();
    if (typed == QLatin1String(" ")) {
        mPredictTimer.start();
        return true;
    }
    if (typed.size() == 1 && QStringLiteral(".,!?;:").contains(typed.at(0))) {
        QTextCursor space = caret;
        space.deletePreviousChar();
        mEdit->setTextCursor(space);
    }
    return false;
}

void WritingAids::learnSentenceBefore(int position)
{
    if (!mPredictor)
        return;
    const QTextBlock block = mEdit->document()->findBlock(position);
    QString text = block.text().left(position - block.position()).trimmed();
    // The sentence being finished: after the end of the one before it.
    while (!text.isEmpty() && QStringLiteral(".!?").contains(text.back()))
        text.chop(1);
    const qsizetype start = text.lastIndexOf(QRegularExpression(QStringLiteral("[.!?]")));
    QMetaObject::invokeMethod(
        mPredictor, [worker = mPredictor, sentence = text.mid(start + 1).trimmed()] { worker->learn(sentence); },
        Qt::QueuedConnection);
}

bool WritingAids::predictionKey(QKeyEvent* key)
{
    const int rows = mPredictions->count();
    const int row = mPredictions->currentRow();
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const auto choose = [&](int chosen) {
        mPredictions->setCurrentRow(chosen);
        const QString word = mPredictions->word(chosen);
        mSurface.speak(word);
        mSurface.announce(tr("%1 of %2: %3").arg(chosen + 1).arg(rows).arg(word));
    };
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Escape:
        hidePredictions();
        return true;
    case Qt::Key_Down:
        choose(qMin(row + 1, rows - 1));
        return true;
    case Qt::Key_Up:
        choose(qMax(row - 1, 0));
        return true;
    case Qt::Key_Tab:
        insertPrediction(qMax(row, 0));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter inserts only a word chosen with the arrows; otherwise it starts a new line as always.
        if (row < 0)
            return false;
        insertPrediction(row);
        return true;
    default:
        break;
    }
    const QString typed = key->text();
    if (typed.size() == 1 && typed.at(0) >= QLatin1Char('1') && typed.at(0) <= QLatin1Char('9')) {
        const int chosen = typed.at(0).digitValue() - 1;
        if (chosen < rows) {
            insertPrediction(chosen);
            return true;
        }
    }
    return false;
}

bool WritingAids::eventFilter(QObject* watched, QEvent* event)
{
    // Only pointers are compared before the event is known to be one of these: the object it comes from may be
    // being destroyed (the reading area itself, as the window closes).
    const QEvent::Type type = event->type();
    if (watched == mViewport && type == QEvent::Resize && mOverlay)
        mOverlay->setGeometry(mViewport->rect());
    if (!mHelp.WordPrediction ||
        (type != QEvent::KeyPress && type != QEvent::FocusOut && type != QEvent::MouseButtonPress))
        return false;
    if (watched == mViewport && type == QEvent::MouseButtonPress)
        hidePredictions();
    if (watched != mEdit)
        return false;
    if (event->type() == QEvent::FocusOut) {
        hidePredictions();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (mPredictions->isVisible() && predictionKey(key))
        return true;
    if (followsPrediction(key))
        return true;
    const QString typed = key->text();
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
        (typed.size() == 1 && QStringLiteral(".!?").contains(typed.at(0)))) {
        // A sentence ends: it is learnt as it stands before the key, since keys typed quickly can come before the
        // event loop does (anything later would read their text too). Nothing is offered until the next word.
        learnSentenceBefore(mEdit->textCursor().selectionStart());
        hidePredictions();
    } else if (!typed.isEmpty() || key->key() == Qt::Key_Backspace) {
        mPredictTimer.start();
    } else if (key->key() != Qt::Key_Shift) {
        hidePredictions();
    }
    return false;
}
