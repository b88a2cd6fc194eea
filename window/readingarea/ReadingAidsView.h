#pragma once

#include "window/readingarea/ReadingAids.h"

#include <QBrush>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QTextLayout>
#include <QWidget>
#include <functional>
#include <memory>

class QTextBlock;
class QTextEdit;
class Syllables;
class ReadingAidsOverlay;

// Draws the reading aids on a reading area: the face and the letter spacing through display-only formats that the
// area's highlighter merges in (`decorate`), the line spacing through the area's layout, and the syllable dots and
// the focus strip on an overlay over its viewport. The document, the caret and the selection are never touched; the
// view only follows them.
class ReadingAidsView : public QObject
{
    Q_OBJECT
public:
    // `reformat` formats the area's blocks again (its highlighter's quiet pass) after a change of the aids.
    ReadingAidsView(QTextEdit* edit, std::function<void()> reformat);
    ~ReadingAidsView() override;

    void setAids(const ReadingAids& aids);
    const ReadingAids& aids() const { return mAids; }
    // The font the area's text is shown in: the area's own, at the reading size, in the chosen face. Windows that
    // show words for reading (a definition) take it too.
    QFont textFont() const;
    // While reading, the focus strip follows the spoken word; when idle only if the aids ask for it.
    void setReading(bool reading);

    // The display formats of one block, for the area's highlighter: ranges in block positions, in order.
    void decorate(const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges) const;

    bool focusActive() const;
    // The clear strip in viewport coordinates (full width), or an empty rectangle when the focus is off.
    QRect focusStrip() const;
    ReadingAidsOverlay* overlay() const { return mOverlay; }

    // The character formats that carry a syllable dot after their character hold its font here.
    static constexpr int SyllableDotFont = 0x100000 + 0x5a1; // QTextFormat::UserProperty + n
    // ... and the dot's advance in that font.
    static constexpr int SyllableDotAdvance = SyllableDotFont + 1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool wantsSpacedLines() const;
    // Gives the reading area the layout that spaces its lines, or Qt's own when they are not spaced.
    void placeLines();
    void followHighlight();
    void updateOverlay();
    // While the aids change the letters, the selection draws only its background.
    void keepSelectedLetters();

    QTextEdit* mEdit;
    std::function<void()> mReformat;
    ReadingAids mAids;
    bool mReading = false;
    std::unique_ptr<Syllables> mSyllables;
    QPointer<ReadingAidsOverlay> mOverlay;
    QRect mLastStrip;
    QFont mBaseFont;      // the reading area's font the formats were measured in
    QBrush mSelectedText; // the colour of selected text, which the reading area's palette leaves out meanwhile
};

// The layer over the reading area's viewport that dims the lines outside the focus strip and draws the
// syllable dots. It lets every mouse event through to the reading area.
class ReadingAidsOverlay : public QWidget
{
    Q_OBJECT
public:
    ReadingAidsOverlay(QTextEdit* edit, const ReadingAidsView& view);

protected:
    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void paintSyllableDots(QPainter& painter, const QRect& area);

    QTextEdit* mEdit;
    const ReadingAidsView& mView;
};
