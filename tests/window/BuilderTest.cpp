#include "SpellingSupport.h"

#include "window/spelling/SpellingBuilderDialog.h"
#include "support/AnswerModal.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {
class Builder : public SpellingFixture
{
protected:
    QString cell(int row, int column) const
    {
        const QTableWidgetItem* item = builder.sgSpellingWords->item(row, column);
        return item ? item->text() : QString();
    }

    void setCell(int row, int column, const QString& text)
    {
        builder.sgSpellingWords->setItem(row, column, new QTableWidgetItem(text));
    }

    // Saves through the Save button to `name`, returning the file's bytes.
    QByteArray save(const QString& name)
    {
        prompts.files << path(name);
        builder.buSave->click();
        return readFile(path(name));
    }

    // What a word or time cell keeps of the keys typed into it.
    QString typeIntoCell(int column, const QString& keys)
    {
        const QModelIndex index = builder.sgSpellingWords->model()->index(0, column);
        QWidget* editor =
            builder.sgSpellingWords->itemDelegate()->createEditor(builder.sgSpellingWords->viewport(), {}, index);
        auto* line = qobject_cast<QLineEdit*>(editor);
        EXPECT_NE(line, nullptr);
        for (const QChar ch : keys)
            QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        const QString text = line->text();
        delete editor;
        return text;
    }

    SpellingBuilderDialog builder;
};
} // namespace

TEST_F(Builder, CellsTakeOnlyLettersOrDigitsUpToTheirLength)
{
    EXPECT_EQ(typeIntoCell(0, QStringLiteral("Ca t1,-é")), QStringLiteral("Caté"));
    EXPECT_EQ(typeIntoCell(0, QString(30, QLatin1Char('a'))), QString(25, QLatin1Char('a')));
    EXPECT_EQ(typeIntoCell(1, QStringLiteral("1a 2-34")), QStringLiteral("123"));
}

TEST_F(Builder, SaveFillsDefaultTimesAndStopsAtTheFirstRowWithoutAWord)
{
    builder.memSpellingInto->setPlainText(QStringLiteral("Listen to each word.\nGood luck!"));
    builder.memClosing->setPlainText(QStringLiteral("Well done, everyone."));
    setCell(0, 0, QStringLiteral("cat"));
    setCell(1, 0, QStringLiteral("Dog"));
    setCell(1, 1, QStringLiteral("7"));
    setCell(2, 1, QStringLiteral("9")); // a time without a word ends the list
    setCell(3, 0, QStringLiteral("emu"));

    EXPECT_EQ(save(QStringLiteral("week.pvt")),
              QByteArray("Listen to each word. Good luck!\r\nWell done, everyone.\r\ncat,15\r\nDog,7\r\n"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("15"));
    EXPECT_EQ(cell(3, 1), QStringLiteral("15")) << "every row with a word gets a time, saved or not";
    EXPECT_EQ(prompts.messages.last(), QStringLiteral("Spelling document successfully save."));
}

TEST_F(Builder, SaveDialogRemembersTheLastNameAndNewThenSaveWritesTwoEmptyLines)
{
    prompts.files << QString(); // cancelled: not even the default times are filled in
    setCell(0, 0, QStringLiteral("cat"));
    builder.SaveSpellingFile();
    EXPECT_EQ(cell(0, 1), QString());
    const FileDialogSpec first = prompts.fileDialogs.at(0);
    EXPECT_EQ(first.title, QStringLiteral("Save Spelling File"));
    EXPECT_EQ(QDir(first.initialFolder), QDir(path(QStringLiteral("Spelling Test Files"))));
    EXPECT_TRUE(first.fileName.isEmpty());

    save(QStringLiteral("first.pvt"));
    prompts.files << writeFile(QStringLiteral("other.pvt"), "A\r\nB\r\n");
    builder.ChooseSpellingFile();
    builder.buClear->click();
    EXPECT_EQ(builder.windowTitle(), QStringLiteral("Spelling Test Builder"));
    EXPECT_EQ(builder.sgSpellingWords->rowCount(), 49);
    EXPECT_EQ(save(QStringLiteral("first.pvt")), QByteArray("\r\n\r\n"));
    EXPECT_EQ(prompts.fileDialogs.last().fileName, path(QStringLiteral("first.pvt")))
        << "neither loading nor New changes the name offered for saving";
}

TEST_F(Builder, LoadKeepsBlankRowsAndAtMostFortyNineWords)
{
    QByteArray text = "Intro, with a comma\r\nBye\r\ncat,5\r\n\r\ndog\r\n";
    for (int i = 0; i < 60; ++i)
        text += QByteArray("word,") + QByteArray::number(i) + "\r\n";
    prompts.files << writeFile(QStringLiteral("Week 3.pvt"), text);
    builder.buLoad->click();

    EXPECT_EQ(QDir(prompts.fileDialogs.at(0).initialFolder), QDir(path(QStringLiteral("Spelling Test Files"))));
    EXPECT_TRUE(prompts.fileDialogs.at(0).mustExist);
    EXPECT_EQ(builder.windowTitle(), QStringLiteral("Spelling Test Builder (Week 3)"));
    EXPECT_EQ(builder.memSpellingInto->toPlainText(), QStringLiteral("Intro, with a comma"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("cat"));
    EXPECT_EQ(cell(1, 0), QString());
    EXPECT_EQ(cell(2, 0), QString()) << "a line without a comma is all seconds";
    EXPECT_EQ(cell(2, 1), QStringLiteral("dog"));
    EXPECT_EQ(cell(48, 0), QStringLiteral("word"));
    EXPECT_EQ(cell(48, 1), QStringLiteral("45"));
    EXPECT_EQ(builder.sgSpellingWords->rowCount(), 49);

    // Loading a shorter file empties the rows the first one filled.
    builder.LoadSpellingFile(writeFile(QStringLiteral("short.pvt"), "A\r\nB\r\nemu,3"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("emu"));
    EXPECT_EQ(cell(48, 0), QString());
}

TEST_F(Builder, OneLineFileIsCorruptAfterReplacingTheIntroduction)
{
    builder.LoadSpellingFile(writeFile(QStringLiteral("good.pvt"), "Hi\r\nBye\r\ncat,5\r\n"));
    prompts.files << writeFile(QStringLiteral("broken.pvt"), "Only an introduction\r\n");
    builder.ChooseSpellingFile();

    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("Unable to load spelling document. The document appears to be corrupt")});
    EXPECT_EQ(prompts.messageKinds.last(), MessageKind::Error);
    EXPECT_EQ(builder.memSpellingInto->toPlainText(), QStringLiteral("Only an introduction"));
    EXPECT_EQ(builder.memClosing->toPlainText(), QStringLiteral("Bye"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("cat"));
    EXPECT_EQ(builder.windowTitle(), QStringLiteral("Spelling Test Builder (broken)"));
}

TEST_F(Builder, UnreadableFileChangesNothingAndFailedSaveIsReported)
{
    builder.LoadSpellingFile(writeFile(QStringLiteral("good.pvt"), "Hi\r\nBye\r\ncat,5\r\n"));
    builder.setWindowTitle(QStringLiteral("Spelling Test Builder (good)"));
    prompts.files << path(QStringLiteral("gone.pvt"));
    builder.ChooseSpellingFile();
    EXPECT_FALSE(builder.PrepareOpening(path(QStringLiteral("gone.pvt"))));

    ASSERT_EQ(prompts.messages.size(), 2);
    EXPECT_TRUE(prompts.messages.at(0).contains(QStringLiteral("No such file or directory")));
    EXPECT_EQ(builder.windowTitle(), QStringLiteral("Spelling Test Builder (good)"));
    EXPECT_EQ(builder.memSpellingInto->toPlainText(), QStringLiteral("Hi"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("cat"));

    // A failed save is reported instead of the success message; the default times stay filled in.
    builder.sgSpellingWords->item(0, 1)->setText(QString());
    prompts.files << path(QStringLiteral("no folder/x.pvt"));
    builder.SaveSpellingFile();
    EXPECT_EQ(prompts.messageKinds.last(), MessageKind::Error);
    EXPECT_EQ(prompts.messages.size(), 3);
    EXPECT_EQ(cell(0, 1), QStringLiteral("15"));
}

TEST_F(Builder, EnteringATimeCellFillsTheDefaultOnlyBesideAWord)
{
    builder.sgSpellingWords->setCurrentCell(4, 1);
    EXPECT_EQ(cell(4, 1), QString());
    setCell(5, 0, QStringLiteral("cat"));
    builder.sgSpellingWords->setCurrentCell(5, 0);
    EXPECT_EQ(cell(5, 1), QString());
    builder.sgSpellingWords->setCurrentCell(5, 1);
    EXPECT_EQ(cell(5, 1), QStringLiteral("15"));
    setCell(6, 0, QStringLiteral("dog"));
    setCell(6, 1, QStringLiteral("8"));
    builder.sgSpellingWords->setCurrentCell(6, 1);
    EXPECT_EQ(cell(6, 1), QStringLiteral("8"));
}

TEST_F(Builder, EmptyRemarkKeepsTheFocusWhenMovingToAnotherField)
{
    builder.show();
    builder.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&builder));
    builder.memSpellingInto->setFocus();
    QTest::keyClick(builder.memSpellingInto, Qt::Key_Tab);
    EXPECT_EQ(prompts.messages,
              QStringList{QStringLiteral("Please enter an introductory remark to the spelling test.")});
    EXPECT_EQ(QApplication::focusWidget(), builder.memSpellingInto);

    QTest::keyClicks(builder.memSpellingInto, QStringLiteral("Hello"));
    QTest::keyClick(builder.memSpellingInto, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), builder.memClosing);
    builder.sgSpellingWords->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(prompts.messages.last(), QStringLiteral("Please enter a closing remark to the spelling test."));
    EXPECT_EQ(QApplication::focusWidget(), builder.memClosing);

    // The buttons are always reachable: clearing, loading or closing needs no remark.
    builder.buClose->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(prompts.messages.size(), 2);
    builder.hide();
}

TEST_F(Builder, OneInstanceKeepsItsContentsBetweenOpenings)
{
    QPointer<SpellingBuilderDialog> kept;
    const QString file = writeFile(QStringLiteral("animals.pvt"), "Hi\r\nBye\r\ncat,5\r\n");
    answerModal<SpellingBuilderDialog>([&kept](SpellingBuilderDialog* shown) {
        EXPECT_EQ(shown, kept.data());
        shown->memClosing->setPlainText(QStringLiteral("Edited"));
        shown->buClose->click();
    });
    ShowSpellingBuilder(kept, file);
    ASSERT_TRUE(kept);
    EXPECT_FALSE(kept->isVisible());
    SpellingBuilderDialog* first = kept;

    answerModal<SpellingBuilderDialog>([](SpellingBuilderDialog* shown) { shown->buClose->click(); });
    ShowSpellingBuilder(kept, QStringLiteral("  "));
    EXPECT_EQ(kept.data(), first);
    EXPECT_EQ(kept->memClosing->toPlainText(), QStringLiteral("Edited"));
    EXPECT_EQ(kept->windowTitle(), QStringLiteral("Spelling Test Builder (animals)"));

    ShowSpellingBuilder(kept, path(QStringLiteral("deleted.pvt"))); // reported, not shown: would block otherwise
    EXPECT_EQ(prompts.messages.size(), 1);
    delete kept;
}
