#include "window/readingarea/LinkClicks.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

// A shown reading area with link detection, laid out so that points can be found for positions.
struct ReadingArea
{
    explicit ReadingArea(const QString& text)
    {
        links = new LinkClicks(&edit);
        edit.setPlainText(text);
        edit.resize(600, 300);
        edit.show();
    }

    // The viewport point in the middle of the character at `position`.
    QPoint pointAt(int position)
    {
        QTextCursor cursor(edit.document());
        cursor.setPosition(position);
        const QRect before = edit.cursorRect(cursor);
        cursor.setPosition(position + 1);
        const QRect after = edit.cursorRect(cursor);
        return {(before.left() + after.left()) / 2, before.center().y()};
    }

    void click(int position, Qt::MouseButton button) { click(position, position, button); }
    void click(int pressAt, int releaseAt, Qt::MouseButton button)
    {
        QTest::mousePress(edit.viewport(), button, {}, pointAt(pressAt));
        QTest::mouseRelease(edit.viewport(), button, {}, pointAt(releaseAt));
    }

    QTextEdit edit;
    LinkClicks* links = nullptr;
};

// The display format the highlighter gives the character at `position`.
QTextCharFormat shownFormatAt(const QTextEdit& edit, int position)
{
    const QTextBlock block = edit.document()->findBlock(position);
    const int offset = position - block.position();
    for (const QTextLayout::FormatRange& range : block.layout()->formats()) {
        if (offset >= range.start && offset < range.start + range.length)
            return range.format;
    }
    return {};
}

bool underlinedAt(const QTextEdit& edit, int position)
{
    return shownFormatAt(edit, position).fontUnderline();
}

} // namespace

TEST(LinkHighlighter, ShowsLinksWithoutTouchingTheDocument)
{
    QTextEdit edit;
    LinkClicks links(&edit);
    QSignalSpy changed(edit.document(), &QTextDocument::contentsChanged);
    edit.setPlainText(QStringLiteral("Read www.a.org today.\nNothing here."));
    QTextDocument plain;
    plain.setPlainText(edit.toPlainText());
    EXPECT_EQ(changed.count(), 1);
    links.setLinkColour(Qt::red);
    EXPECT_EQ(changed.count(), 1);

    EXPECT_TRUE(underlinedAt(edit, 5));
    EXPECT_TRUE(underlinedAt(edit, 13));
    EXPECT_FALSE(underlinedAt(edit, 14));
    EXPECT_FALSE(underlinedAt(edit, 4));
    EXPECT_EQ(shownFormatAt(edit, 5).foreground().color(), QColor(Qt::red));
    EXPECT_EQ(edit.toHtml(), plain.toHtml());
    EXPECT_FALSE(edit.document()->isModified());
    EXPECT_FALSE(edit.document()->isUndoAvailable());

    // A link typed later is shown as one as soon as it is complete.
    QTextCursor cursor(edit.document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit.setTextCursor(cursor);
    QTest::keyClicks(&edit, QStringLiteral(" http://b.org"));
    EXPECT_EQ(changed.count(), 1 + 13); // one change per key, none of the highlighter's own
    const int typed = edit.document()->lastBlock().position() + 14;
    EXPECT_TRUE(underlinedAt(edit, typed));
    edit.undo();
    EXPECT_EQ(edit.toPlainText(), QStringLiteral("Read www.a.org today.\nNothing here."));
}

TEST(LinkClicks, ReportsPressAndReleaseOnTheSameLinkWithItsButton)
{
    ReadingArea area(QStringLiteral("First http://a.org/one, then www.b.org.\nPlain words only."));
    QSignalSpy clicked(area.links, &LinkClicks::linkClicked);

    area.click(8, Qt::LeftButton);
    area.click(31, Qt::RightButton);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked[0][0].toString(), QStringLiteral("http://a.org/one"));
    EXPECT_EQ(clicked[0][1].value<Qt::MouseButton>(), Qt::LeftButton);
    EXPECT_EQ(clicked[1][0].toString(), QStringLiteral("www.b.org"));
    EXPECT_EQ(clicked[1][1].value<Qt::MouseButton>(), Qt::RightButton);

    area.click(8, 31, Qt::LeftButton); // dragged from one link to another
    area.click(8, 2, Qt::LeftButton);  // dragged off the link
    area.click(2, 8, Qt::LeftButton);  // pressed beside it
    area.click(22, Qt::LeftButton);    // the comma after the link
    area.click(45, Qt::LeftButton);    // plain text
    EXPECT_EQ(clicked.count(), 2);

    // Beyond the end of a line that ends in a link is not on the link.
    QTextEdit& edit = area.edit;
    edit.setPlainText(QStringLiteral("www.c.org\nmore"));
    const QPoint besideEnd = area.pointAt(8) + QPoint(200, 0);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, besideEnd);
    EXPECT_EQ(clicked.count(), 2);
    area.click(0, 8, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 3);
}

TEST(LinkClicks, ShowsAPointingHandOnlyOverLinks)
{
    ReadingArea area(QStringLiteral("Plain then www.a.org"));
    QWidget* viewport = area.edit.viewport();
    const Qt::CursorShape usual = viewport->cursor().shape();
    ASSERT_NE(usual, Qt::PointingHandCursor);

    QTest::mouseMove(viewport, area.pointAt(14));
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(viewport, area.pointAt(2));
    EXPECT_EQ(viewport->cursor().shape(), usual);
}
