#include "window/readingarea/FindInText.h"
#include "fakes/ScriptedPrompts.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

QString q(const char* text)
{
    return QString::fromUtf8(text);
}

FindOptions down(bool matchCase = false, bool wholeWord = false)
{
    return {matchCase, wholeWord, true};
}

FindOptions up(bool matchCase = false, bool wholeWord = false)
{
    return {matchCase, wholeWord, false};
}

TEST(FindInPlainText, SearchesOnceInEitherDirectionWithoutWrapping)
{
    const QString text = q("cat dog cat dog");
    EXPECT_EQ(FindInPlainText(text, q("cat"), 0, down()), 0);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 1, down()), 8);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 9, down()), -1);
    EXPECT_EQ(FindInPlainText(text, q("dog"), 15, up()), 12);
    // Upwards a match must end at the starting point or before it.
    EXPECT_EQ(FindInPlainText(text, q("dog"), 14, up()), 4);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 2, up()), -1);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 3, up()), 0);
    EXPECT_EQ(FindInPlainText(text, QString(), 0, down()), -1);
    EXPECT_EQ(FindInPlainText(q("ab"), q("abc"), 0, up()), -1);
}

TEST(FindInPlainText, HonoursCaseAndWholeWords)
{
    const QString text = q("Cathedral cat CAT concat cat_x cat");
    EXPECT_EQ(FindInPlainText(text, q("cat"), 0, down()), 0);
    EXPECT_EQ(FindInPlainText(text, q("CAT"), 0, down(true)), 14);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 0, down(false, true)), 10);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 11, down(false, true)), 14);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 15, down(true, true)), 31);
    EXPECT_EQ(FindInPlainText(text, q("cat"), int(text.size()), up(false, true)), 31);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 31, up(true, true)), 10);
    // A search text that ends in a space or a mark only needs its word ends to be free.
    EXPECT_EQ(FindInPlainText(q("a cat, cats"), q("cat,"), 0, down(false, true)), 2);
    EXPECT_EQ(FindInPlainText(q("Straße STRASSE straße"), q("STRASSE"), 0, down(true)), 7);
    EXPECT_EQ(FindInPlainText(q("Ärger ärger"), q("ärger"), 0, down()), 0);
}

TEST(FindInPlainText, CountsEmojiAsTwoUnitsAndNeverSplitsThem)
{
    const QString text = q("😀 cat 😀cat😀");
    EXPECT_EQ(FindInPlainText(text, q("cat"), 0, down()), 3);
    EXPECT_EQ(FindInPlainText(text, q("cat"), 4, down(false, true)), 9);
    EXPECT_EQ(FindInPlainText(text, q("😀"), 1, down()), 7);
    EXPECT_EQ(FindInPlainText(text, q("😀"), int(text.size()), up()), 12);
    // Half of a pair never matches inside a whole emoji.
    const QString lowHalf(text.at(1));
    EXPECT_EQ(FindInPlainText(text, lowHalf, 0, down()), -1);
}

TEST(FindDialogPosition, MovesAboveOrBelowTheFoundTextOnlyWhenCovering)
{
    const QRect screen(0, 0, 1000, 800);
    const QRect dialog(100, 300, 400, 150);
    const QRect word(150, 350, 40, 16);
    // Room above: the bottom edge goes 20 pixels above the text.
    EXPECT_EQ(FindDialogPosition(dialog, word, word, screen), QPoint(100, 350 - 20 - 150));
    // The last character alone counts too.
    EXPECT_EQ(FindDialogPosition(dialog, QRect(900, 100, 8, 16), word, screen).has_value(), true);
    // No room above: the top edge goes 40 pixels below the text's top.
    const QRect nearTop(150, 120, 40, 16);
    EXPECT_EQ(FindDialogPosition(QRect(100, 60, 400, 150), nearTop, nearTop, screen), QPoint(100, 160));
    // No room either way: it stays, rather than leaving the screen.
    const QRect tall(100, 0, 400, 700);
    EXPECT_EQ(FindDialogPosition(tall, QRect(150, 150, 40, 16), QRect(150, 150, 40, 16), screen), std::nullopt);
    // Not covering: it stays.
    EXPECT_EQ(FindDialogPosition(dialog, QRect(600, 350, 40, 16), QRect(600, 350, 40, 16), screen), std::nullopt);
}

class FindDialogTest : public ::testing::Test
{
protected:
    void select(int start, int end)
    {
        QTextCursor cursor = area.textCursor();
        cursor.setPosition(start);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        area.setTextCursor(cursor);
    }
    std::pair<int, int> selection() const
    {
        return {area.textCursor().selectionStart(), area.textCursor().selectionEnd()};
    }

    ScriptedPrompts prompts;
    QTextEdit area;
};

TEST_F(FindDialogTest, SelectionBecomesSearchTextAndTheDialogIsKept)
{
    area.setPlainText(q("alpha beta gamma"));
    select(6, 10);
    FindDialog* dialog = FindInText(&area);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(dialog->searchText(), q("beta"));
    dialog->setOptions(up(true, true));
    dialog->close();

    select(3, 3);
    EXPECT_EQ(FindInText(&area), dialog);
    EXPECT_EQ(dialog->searchText(), q("beta"));
    EXPECT_TRUE(dialog->options().matchCase);
    EXPECT_FALSE(dialog->options().down);
    EXPECT_EQ(area.findChildren<FindDialog*>().size(), 1);
}

TEST_F(FindDialogTest, FindNextWalksThroughParagraphsAndStopsAtTheEnd)
{
    area.setPlainText(q("one cat\ntwo Cat\n\nthree cat"));
    select(0, 0);
    FindDialog* dialog = FindInText(&area);
    dialog->setSearchText(q("cat"));
    auto* findNext = dialog->findChild<QPushButton*>(QStringLiteral("buFindNext"));
    ASSERT_NE(findNext, nullptr);

    QTest::mouseClick(findNext, Qt::LeftButton);
    EXPECT_EQ(selection(), std::make_pair(4, 7));
    QTest::mouseClick(findNext, Qt::LeftButton);
    EXPECT_EQ(selection(), std::make_pair(12, 15));
    EXPECT_EQ(area.textCursor().selectedText(), q("Cat"));
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(selection(), std::make_pair(23, 26));
    EXPECT_TRUE(prompts.messages.isEmpty());

    EXPECT_FALSE(dialog->findNext());
    EXPECT_EQ(selection(), std::make_pair(23, 26));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_EQ(prompts.messages[0], q("Could not find the text \"cat\"."));
    EXPECT_EQ(prompts.messageKinds[0], MessageKind::Information);

    dialog->setOptions(up());
    EXPECT_TRUE(dialog->findNext());
    EXPECT_EQ(selection(), std::make_pair(12, 15));
}

TEST_F(FindDialogTest, WordOnlyBeforeTheCaretIsNotFoundDownwards)
{
    area.setPlainText(q("needle in a haystack"));
    select(6, 6);
    FindDialog* dialog = FindInText(&area);
    dialog->setSearchText(q("needle"));
    EXPECT_FALSE(dialog->findNext());
    EXPECT_EQ(prompts.messages, QStringList{q("Could not find the text \"needle\".")});
    EXPECT_EQ(selection(), std::make_pair(6, 6));
}

TEST_F(FindDialogTest, FindsTextAroundEmoji)
{
    area.setPlainText(q("😀 first\n🐈 cat 😀 cat"));
    select(0, 0);
    FindDialog* dialog = FindInText(&area);
    dialog->setSearchText(q("cat"));
    dialog->setOptions(down(false, true));
    ASSERT_TRUE(dialog->findNext());
    EXPECT_EQ(area.textCursor().selectedText(), q("cat"));
    ASSERT_TRUE(dialog->findNext());
    EXPECT_EQ(area.textCursor().selectedText(), q("cat"));
    EXPECT_EQ(area.textCursor().selectionEnd(), area.toPlainText().size());

    // A selected emoji is searched for whole.
    select(0, 2);
    FindInText(&area);
    EXPECT_EQ(dialog->searchText(), q("😀"));
    ASSERT_TRUE(dialog->findNext());
    EXPECT_EQ(area.textCursor().selectedText(), q("😀"));
    EXPECT_EQ(area.textCursor().selectionStart(), 16);
}

TEST_F(FindDialogTest, FindNextNeedsSearchText)
{
    area.setPlainText(q("text"));
    FindDialog* dialog = FindInText(&area);
    auto* findNext = dialog->findChild<QPushButton*>(QStringLiteral("buFindNext"));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("edFindText"));
    EXPECT_FALSE(findNext->isEnabled());
    QTest::keyClicks(edit, QStringLiteral("ex"));
    EXPECT_TRUE(findNext->isEnabled());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(selection(), std::make_pair(1, 3));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(FindDialogTest, DialogMovesOffTheFoundText)
{
    area.resize(600, 400);
    area.setPlainText(QString(q("filler line\n")).repeated(3) + q("target"));
    area.show();
    select(0, 0);
    FindDialog* dialog = FindInText(&area);
    dialog->setSearchText(q("target"));
    QTextCursor cursor(area.document());
    cursor.setPosition(36);
    const QPoint target = area.viewport()->mapToGlobal(area.cursorRect(cursor).topLeft());
    dialog->move(target.x() - 20, target.y() - 20);
    ASSERT_TRUE(dialog->frameGeometry().contains(target));

    ASSERT_TRUE(dialog->findNext());
    EXPECT_FALSE(dialog->frameGeometry().contains(target));
}

} // namespace
