#pragma once

#include "window/writing/Confusables.h"
#include "window/writing/PredictionList.h"
#include "window/writing/SpellChecker.h"
#include "window/writing/WritingHelp.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTextCursor>
#include <QTextLayout>
#include <QThread>
#include <QTimer>
#include <functional>
#include <memory>

class QKeyEvent;
class QMenu;
class QPainter;
class QTextBlock;
class QTextEdit;
class PredictionWorker;

// A word of a block: its start and length in block positions.
struct WordSpan
{
    int start = 0;
    int length = 0;
};
// The words of a text: letters with the apostrophes inside them; a word touching a digit is no word to check.
QList<WordSpan> FindWords(QStringView text);

// The keys of the writing commands.
inline constexpr QKeyCombination CheckSpellingKey{Qt::Key_F4};
inline constexpr QKeyCombination DefineKey{Qt::CTRL | Qt::Key_D};

// What the writing aids found in a block.
enum class WritingMark
{
    Misspelt,
    Confusable,
};

// The writing aids of a reading area: spelling checked as the user types (misspelt words underlined once finished),
// confusable words marked, the right-click offers for a word, the walk through the misspellings and word prediction
// near the caret. Words are checked in the background, a few milliseconds at a time, the visible lines first, so typing
// in a long document is not held up. The marks are painted on an overlay over the area's viewport, only where it is
// painted: they never lay a paragraph out again, and the document changes only when the user picks an offer.
class WritingAids : public QObject
{
    Q_OBJECT
public:
    struct Surface
    {
        // Says a word or a sentence aloud (nothing while a reading is under way).
        std::function<void(const QString&)> speak;
        // Puts a short text into the status bar, where a screen reader hears it.
        std::function<void(const QString&)> announce;
    };

    WritingAids(QTextEdit* edit, Surface surface, QObject* parent = nullptr);
    ~WritingAids() override;

    void setHelp(const WritingHelp& help);
    const WritingHelp& help() const { return mHelp; }
    // Checks in the language of the chosen voice ("en-gb"); false when no dictionary is installed for it.
    bool setLanguage(const QString& language);
    SpellChecker& speller() { return mSpeller; }
    Confusables& confusables() { return mConfusables; }
    // Reads the confusable words again from their file (after the user edited it).
    void reloadConfusables();

    // The marks of a block as last checked (empty while it waits for its check).
    QList<std::pair<WordSpan, WritingMark>> marks(const QTextBlock& block) const;
    // A mark as painted: its word in document positions, and its box and baseline on one line, in viewport
    // coordinates (a word broken over two lines gives two).
    struct ShownMark
    {
        int start = 0;
        int length = 0;
        WritingMark mark = WritingMark::Misspelt;
        QRectF box;
        qreal baseline = 0;
    };
    // The marks painted in a part of the viewport (all of it when `area` is null), in document order.
    QList<ShownMark> shownMarks(QRect area = {}) const;
    // True while blocks wait for their check.
    bool checking() const { return mTimer.isActive(); }
    // Checks every waiting block now and draws the marks (for a test or a benchmark that needs them in place).
    void finishChecking();

    // Puts the offers for the word at `at` at the top of the reading area's menu (suggestions, add, ignore, the
    // other confusable words, define); removes those of the last time. Call before the menu opens.
    void offerFor(QMenu* menu, const QTextCursor& at);
    // The actions offerFor put in, in order.
    const QList<QAction*>& offers() const { return mOffers; }
    // Selects the next misspelt word after the caret (going round to the start once) and says it with its
    // sentence and suggestions. False, having said so, when there is none.
    bool checkNextMisspelling();
    // Puts `replacement` in place of the word (still selected by `word`), capitalised as the word was.
    void replace(const QTextCursor& word, const QString& replacement);
    // The word at a position (with its selection), or a null cursor when there is none.
    QTextCursor wordAt(int position) const;
    // The word a command acts on: the selection if it is one word, else the word at the caret.
    QTextCursor wordAtCaret() const;

    PredictionList* predictionList() const { return mPredictions; }
    // Asks for predictions for the text before the caret (normally a key press does); they are shown when they come.
    void predict();

signals:
    // "Define" was chosen for a word from the menu.
    void defineRequested(const QTextCursor& word);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void restart();
    void checkSlice();
    // Checks one block if its marks are stale; true when it did. A change of what is drawn is painted unless the
    // caller knows the block is painted anyway.
    bool checkBlock(const QTextBlock& block, bool repaint = true);
    QList<std::pair<WordSpan, WritingMark>> findMarks(const QString& text);
    // Checks the block's words and keeps what was found on it.
    void storeMarks(QTextBlock block);
    bool fresh(const QTextBlock& block) const;
    // Whether the word is the one being typed, whose misspelling is not drawn until it is finished.
    bool beingTyped(const QTextBlock& block, const WordSpan& span) const;
    // Whether marks of this kind are drawn now.
    bool draws(WritingMark mark) const;
    bool drawsAny(const QList<std::pair<WordSpan, WritingMark>>& marks) const;
    // Checks the paragraphs an edit touched again at once, so their marks stay on their words.
    void checkEdited(int position, int removed, int added);
    // Paints the marks again where the block is in view.
    void repaintMarksOf(const QTextBlock& block);
    void paintMarks(QPainter& painter, const QRect& area) const;
    friend class WritingMarksOverlay;
    void replaceWord(QTextCursor word, const QString& replacement);
    QString sentenceAround(const QTextCursor& word) const;
    bool predictionKey(QKeyEvent* key);
    void insertPrediction(int row);
    // A predicted word as it is written: with its capital when the dictionary knows it only so (a name).
    QString asWritten(const QString& word) const;
    // Handles a key typed just after a chosen prediction and its space; true when the key is used up.
    bool followsPrediction(QKeyEvent* key);
    void offerPredictions(int request, const QStringList& predicted);
    void hidePredictions();
    void learnSentenceBefore(int position);

    QTextEdit* mEdit;
    QWidget* mViewport;     // kept apart: compared while the edit may be going
    QTextCursor mLastFound; // the misspelt word the walk found last; it follows edits
    Surface mSurface;
    WritingHelp mHelp;
    SpellChecker mSpeller;
    Confusables mConfusables;
    int mGeneration = 1; // bumped whenever every block must be checked again
    int mScanFrom = -1;  // the first block number the background walk has still to look at; -1 when done
    int mTypedTo = -1;   // the caret after the last key that typed or deleted, until the caret moves from there
    QTimer mTimer;
    QPointer<QWidget> mOverlay;
    QHash<QString, int> mKnownWords; // word -> the WritingMark it was found to be, or -1
    QList<QAction*> mOffers;
    QThread mPredictThread;
    PredictionWorker* mPredictor = nullptr; // lives on mPredictThread
    int mRequest = 0;                       // the latest prediction asked for
    int mRequestedAt = -1;                  // the caret position it was asked for
    int mSpaceAfterPrediction = -1;         // the caret after a chosen word and the space it brought
    QPointer<PredictionList> mPredictions;
    QTimer mPredictTimer;
};
