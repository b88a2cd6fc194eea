#include "SpellingSupport.h"

#include "window/spelling/SpellingAidDialog.h"
#include "support/AnswerModal.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {
QString letter(const QString& ch)
{
    return ch + QStringLiteral("<silence msec='500'/>");
}

class Assistant : public SpellingFixture
{
protected:
    void SetUp() override
    {
        SpellingFixture::SetUp();
        aid = std::make_unique<SpellingAidDialog>(*voice, AppearanceSettings{});
    }

    QString cell(int row, int column) const
    {
        const QTableWidgetItem* item = aid->sgSpellingWords->item(row, column);
        return item ? item->text() : QString();
    }

    std::unique_ptr<SpellingAidDialog> aid;
};
} // namespace

TEST_F(Assistant, ListsEveryWordWithItsLettersSkippingBlankLines)
{
    EXPECT_EQ(aid->sgSpellingWords->rowCount(), 49);
    EXPECT_EQ(aid->sgSpellingWords->horizontalHeaderItem(0)->text(), QStringLiteral("Word"));
    EXPECT_EQ(aid->sgSpellingWords->horizontalHeaderItem(1)->text(), QStringLiteral("Spelling"));

    prompts.files << writeFile(QStringLiteral("Lists/Week 2.pvt"), "\r\nBye\r\n\r\ndog,5\r\n  \r\nbird,5\r\ncat");
    aid->buLoad->click();
    EXPECT_EQ(QDir(prompts.fileDialogs.at(0).initialFolder), QDir(path(QStringLiteral("Lists"))));
    EXPECT_EQ(prompts.fileDialogs.at(0).title, QStringLiteral("Load Spelling Document"));
    EXPECT_EQ(prompts.fileDialogs.at(0).defaultExtension, QStringLiteral("pvt"));
    EXPECT_EQ(aid->windowTitle(), QStringLiteral("Spelling Assistant - Week 2"));
    EXPECT_EQ(aid->PanHeader->text(), QStringLiteral("Spelling Assistant"));
    ASSERT_EQ(aid->sgSpellingWords->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), QStringLiteral("dog"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("d o g"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("bird"));
    EXPECT_EQ(cell(2, 0), QString()) << "a line without a comma has no word";

    aid->LoadAssistantFile(writeFile(QStringLiteral("short.pvt"), "Hi\r\nBye\r\némeu,3\r\n"));
    ASSERT_EQ(aid->sgSpellingWords->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), QStringLiteral("é m e u"));
    aid->LoadAssistantFile(writeFile(QStringLiteral("two.pvt"), "Hi\r\nBye\r\n"));
    EXPECT_EQ(aid->sgSpellingWords->rowCount(), 0);
}

TEST_F(Assistant, UnreadableFileKeepsListAndCaptionAndIsNotShown)
{
    prompts.files << writeFile(QStringLiteral("good.pvt"), "Hi\r\nBye\r\ndog,5\r\n")
                  << path(QStringLiteral("gone.pvt"));
    aid->ChooseAssistantFile();
    aid->ChooseAssistantFile();
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages.at(0).contains(QStringLiteral("No such file or directory")));
    EXPECT_EQ(aid->windowTitle(), QStringLiteral("Spelling Assistant - good"));
    EXPECT_EQ(cell(0, 0), QStringLiteral("dog"));

    ShowSpellingAssistant(*voice, AppearanceSettings{}, path(QStringLiteral("gone.pvt"))); // would block if shown
    EXPECT_EQ(prompts.messages.size(), 2);
}

TEST_F(Assistant, ReadsTheWordThenEachLetterWithAPause)
{
    aid->LoadAssistantFile(writeFile(QStringLiteral("a.pvt"), "Hi\r\nBye\r\ncat,5\r\ndog,5\r\n"));
    aid->sgSpellingWords->setCurrentCell(1, 0);
    aid->buRead->click();
    EXPECT_EQ(engine->texts(), QStringList({QStringLiteral("dog"), letter(QStringLiteral("d")),
                                            letter(QStringLiteral("o")), letter(QStringLiteral("g"))}));
    for (const auto& utterance : engine->spoken)
        EXPECT_TRUE(utterance.markup && utterance.purge);
    EXPECT_FALSE(SpellingAidDialog::ReadingWord);

    engine->spoken.clear();
    QTest::keyClick(aid->sgSpellingWords, Qt::Key_Return);
    EXPECT_EQ(engine->texts().size(), 4) << "Enter in the list reads the word too";
}

TEST_F(Assistant, SecondReadWhileReadingDoesNothing)
{
    aid->LoadAssistantFile(writeFile(QStringLiteral("a.pvt"), "Hi\r\nBye\r\ndog,5\r\n"));
    whenSpeaking(QStringLiteral("dog"), [this] {
        EXPECT_TRUE(SpellingAidDialog::ReadingWord);
        aid->buRead->click();
        QTest::keyClick(aid->sgSpellingWords, Qt::Key_Return);
    });
    aid->ReadSelectedWord();
    EXPECT_EQ(engine->texts(), QStringList({QStringLiteral("dog"), letter(QStringLiteral("d")),
                                            letter(QStringLiteral("o")), letter(QStringLiteral("g"))}));
}

TEST_F(Assistant, CloseInTheMiddleOfAWordStopsAtOnce)
{
    aid->LoadAssistantFile(writeFile(QStringLiteral("a.pvt"), "Hi\r\nBye\r\nelephant,5\r\n"));
    aid->show();
    const int skipsBefore = engine->skips;
    whenSpeaking(letter(QStringLiteral("l")), [this] {
        aid->buClose->click();
        EXPECT_FALSE(engine->speaking) << "the letter being spoken is cut off";
    });
    aid->ReadSelectedWord();
    EXPECT_EQ(engine->texts(),
              QStringList({QStringLiteral("elephant"), letter(QStringLiteral("e")), letter(QStringLiteral("l"))}));
    EXPECT_GT(engine->skips, skipsBefore);
    EXPECT_FALSE(aid->isVisible());
    EXPECT_FALSE(SpellingAidDialog::ReadingWord);
}

TEST_F(Assistant, ShowSpellingAssistantNamesTheCaptionAfterTheFile)
{
    const QString file = writeFile(QStringLiteral("Lists/Week 1 - animals.pvt"), "Hi\r\nBye\r\ncat,5\r\n");
    answerModal<SpellingAidDialog>([](SpellingAidDialog* shown) {
        EXPECT_EQ(shown->windowTitle(), QStringLiteral("Spelling Assistant - Week 1 - animals"));
        EXPECT_EQ(shown->sgSpellingWords->rowCount(), 1);
        QTest::keyClick(shown, Qt::Key_Escape);
    });
    ShowSpellingAssistant(*voice, AppearanceSettings{}, file);
    EXPECT_GT(engine->skips, 0) << "closing stops the voice";
}
