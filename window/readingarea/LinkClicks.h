#pragma once

#include <QColor>
#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextLayout>
#include <functional>

#include "core/LinkDetection.h"

class QTextEdit;

// Display-only formats that another view adds to a block (reading aids, say): ranges in block positions, in
// increasing order and not overlapping.
using BlockDecoration = std::function<void(const QTextBlock& block, QList<QTextLayout::FormatRange>& ranges)>;

// Shows the web addresses of a document as links, over the formats of a decoration if one is set (a
// document takes one highlighter). The formats are display-only: the document, its saved form, its undo
// history and its modified flag stay as they are, and highlighting the text that an edit brings adds no
// change signal of its own.
class LinkHighlighter : public QSyntaxHighlighter
{
    Q_OBJECT
public:
    LinkHighlighter(QTextDocument* document, const QColor& linkColour);

    QColor linkColour() const { return mLinkFormat.foreground().color(); }
    // Redraws the links in a new colour without the document reporting a change of its contents
    // (rehighlight() would, and the reading area would take it for typing). A long document costs a
    // full pass, so an unchanged colour does nothing.
    void setLinkColour(const QColor& colour);
    // Sets (or, with an empty function, removes) the decoration and redraws every block the same quiet way.
    void setDecoration(BlockDecoration decoration);
    // Formats every block again without the document reporting a change, e.g. after the decoration's
    // settings changed.
    void reformat();
    // The same for one block, e.g. after a check of its words finished.
    void reformatBlock(const QTextBlock& block);

    // The formats of one block: the decoration's, with the link format merged over the links.
    QList<QTextLayout::FormatRange> blockFormats(const QTextBlock& block, const QString& text) const;

protected:
    void highlightBlock(const QString& text) override;

private:
    QTextCharFormat mLinkFormat;
    BlockDecoration mDecoration;
};

// Makes the web addresses in a reading area look and act like links: underlined in the link colour,
// a pointing hand over them, and `linkClicked` when a mouse button is pressed and released on the
// same link. Clicks still reach the reading area as usual (caret, selection, context menu).
class LinkClicks : public QObject
{
    Q_OBJECT
public:
    // Attaches to `edit` and to the document it holds now (the highlighter lives as long as that
    // document); owned by `edit`. The link colour starts as the edit's palette link colour. Attach
    // while the document is empty: text already there is highlighted on the next turn of the event
    // loop, which the document reports as one change of its contents.
    explicit LinkClicks(QTextEdit* edit);

    void setLinkColour(const QColor& colour);
    LinkHighlighter* highlighter() const { return mHighlighter; }

    // The link under a point of the edit's viewport, with its start in document positions, or
    // nothing (length 0) when the point is not over a link's characters.
    TextLink linkAt(const QPoint& viewportPoint) const;
    QString linkText(const TextLink& link) const;

signals:
    void linkClicked(const QString& text, Qt::MouseButton button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int characterAt(const QPoint& viewportPoint) const;
    void showPointerFor(const TextLink& link);

    QTextEdit* mEdit;
    // Kept apart from the edit: the viewport still sends events while the edit is being destroyed, when the
    // edit's own members may no longer be called.
    QWidget* mViewport;
    QPointer<LinkHighlighter> mHighlighter;
    TextLink mPressedLink;
    Qt::MouseButton mPressedButton = Qt::NoButton;
    bool mPointerOnLink = false;
    QCursor mCursorBeforeLink;
};
