#include "SpellingSupport.h"

#include "window/spelling/SpellingTestDialog.h"
#include "support/AnswerModal.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <cmath>

namespace {
QString prompt(const QString& word)
{
    return word + QStringLiteral(" <silence msec='2000'/> Please listen again. ") + word;
}

QString withPause(const QString& remark)
{
    return remark + QStringLiteral("<silence msec='2000'/>");
}

class Runner : public SpellingFixture
{
protected:
    void load(const QStringList& lines)
    {
        timer = new ManualTimer;
        dialog = std::make_unique<SpellingTestDialog>(*voice, AppearanceSettings{}, nullptr, timer);
        dialog->LoadTest(lines);
        dialog->show();
    }

    // Fires the tick that asks the next word, then types the answer and lets the answer period run out.
    void answer(const QString& typed)
    {
        timer->fire();
        ASSERT_EQ(dialog->State(), SpellingTestDialog::TestState::Answer);
        QTest::keyClicks(dialog->edWord, typed);
        timer->fire();
    }

    QString result(int row, int column) const { return dialog->sgSpellingResults->item(row, column)->text(); }

    ManualTimer* timer = nullptr;
    std::unique_ptr<SpellingTestDialog> dialog;
};
} // namespace

TEST_F(Runner, AllCorrectSpeaksEachWordTwiceAndScores)
{
    load({QStringLiteral("Welcome to the test."), QStringLiteral("Well done."), QStringLiteral("cat,5"), QString(),
          QStringLiteral("Dog,0")});
    EXPECT_EQ(dialog->frameGeometry().height(), SpellingTestDialog::PreparingHeight);
    dialog->buStart->click();
    EXPECT_EQ(engine->texts(), QStringList{withPause(QStringLiteral("Welcome to the test."))});
    timer->fire();
    EXPECT_EQ(engine->texts().last(), prompt(QStringLiteral("cat")));
    EXPECT_EQ(timer->interval(), 5500) << "five seconds and a half from the end of the second hearing";
    EXPECT_TRUE(dialog->edWord->hasFocus());
    QTest::keyClicks(dialog->edWord, QStringLiteral("cat"));
    EXPECT_EQ(dialog->edWord->text(), QStringLiteral("CAT"));
    timer->fire();
    timer->fire();
    EXPECT_EQ(engine->texts().last(), prompt(QStringLiteral("Dog")));
    EXPECT_EQ(timer->interval(), 500);
    QTest::keyClicks(dialog->edWord, QStringLiteral("DOG"));
    timer->fire();
    timer->fire();

    EXPECT_EQ(engine->texts().mid(3),
              QStringList({withPause(QStringLiteral("Well done.")), QStringLiteral("Your score is, 2 out of 2.")}));
    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 2 out of 2."));
    EXPECT_EQ(result(0, 0), QStringLiteral("CAT"));
    EXPECT_EQ(result(0, 1), QStringLiteral("CAT*"));
    EXPECT_EQ(result(1, 1), QStringLiteral("DOG*"));
    EXPECT_TRUE(dialog->buStart->isEnabled() && dialog->buClose->isEnabled() && !dialog->buCancel->isEnabled());
    EXPECT_EQ(dialog->frameGeometry().height(), SpellingTestDialog::ResultsHeight);
    // Centred, a half pixel going to the even neighbour.
    const QRect screen = dialog->screen()->geometry();
    const QRect outer = dialog->frameGeometry();
    EXPECT_EQ(outer.topLeft(), QPoint(int(std::nearbyint((screen.width() - outer.width()) / 2.0)),
                                      int(std::nearbyint((screen.height() - outer.height()) / 2.0))));
}

TEST_F(Runner, WrongEmptyAndEnteredAnswersAreRecordedAsTyped)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,15"), QStringLiteral("dog,15"),
          QStringLiteral("emu,15")});
    dialog->buStart->click();

    timer->fire();
    QTest::keyClicks(dialog->edWord, QStringLiteral("k4 a-t"));
    EXPECT_EQ(dialog->edWord->text(), QStringLiteral("KAT")) << "only A to Z reach the answer box";
    QTest::keyClick(dialog->edWord, Qt::Key_Return);
    EXPECT_EQ(timer->interval(), 1) << "Enter ends the answer period at once";
    EXPECT_TRUE(timer->isActive());
    timer->fire();
    EXPECT_EQ(result(0, 1), QStringLiteral("KAT"));

    timer->fire();
    QTest::keyClick(dialog->edWord, Qt::Key_Enter);
    timer->fire();
    EXPECT_EQ(result(1, 1), QString());

    answer(QStringLiteral("emuemuemuemuemuemuemuemu"));
    timer->fire();
    EXPECT_EQ(result(2, 1), QStringLiteral("EMUEMUEMUEMUEMUEMUEM")) << "twenty letters at most";
    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 0 out of 3."));

    QTest::keyClick(dialog->edWord, Qt::Key_Return);
    EXPECT_FALSE(timer->isActive()) << "Enter does nothing once the test is over";
}

TEST_F(Runner, BadTimeIsReportedAndTheWordIsSkipped)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,1,5"), QStringLiteral("dog,5")});
    dialog->buStart->click();
    timer->fire();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("'1,5' is not a valid integer value")});
    EXPECT_EQ(prompts.messageKinds.at(0), MessageKind::Error);
    EXPECT_EQ(engine->texts().size(), 1) << "the word is not spoken";
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 1);
    timer->fire();
    EXPECT_EQ(result(0, 1), QString());
    answer(QStringLiteral("dog"));
    timer->fire();
    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 1 out of 2."));
}

TEST_F(Runner, CancelDuringTheIntroductionScoresNothingAndAsksNoWord)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5"), QStringLiteral("dog,5")});
    whenSpeaking(QStringLiteral("Hi"), [this] { dialog->buCancel->click(); });
    dialog->buStart->click();

    EXPECT_EQ(engine->texts(),
              QStringList({withPause(QStringLiteral("Hi")), QStringLiteral("You cancelled the spelling test."),
                           QStringLiteral("Your score is, 0 out of 2.")}));
    EXPECT_FALSE(dialog->edWord->isEnabled());
    EXPECT_TRUE(dialog->buStart->isEnabled() && dialog->buClose->isEnabled() && !dialog->buCancel->isEnabled());
    // The tick left by the interrupted introduction only clears the cancel.
    timer->fire();
    EXPECT_FALSE(dialog->CancelPending);
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(engine->texts().size(), 3);
}

TEST_F(Runner, CancelDuringAPromptCountsUnaskedWordsAsWrong)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5"), QStringLiteral("dog,5"),
          QStringLiteral("emu,5"), QStringLiteral("yak,5"), QStringLiteral(",5")});
    dialog->buStart->click();
    answer(QStringLiteral("cat"));
    whenSpeaking(QStringLiteral("dog"), [this] { dialog->buCancel->click(); });
    timer->fire();

    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 1 out of 5."));
    EXPECT_EQ(engine->texts().last(), QStringLiteral("Your score is, 1 out of 5."));
    EXPECT_EQ(result(0, 1), QStringLiteral("CAT*"));
    EXPECT_EQ(result(4, 1), QString()) << "an empty word never asked is not a right answer";
    EXPECT_FALSE(dialog->edWord->isEnabled());
    QTest::keyClick(dialog->edWord, Qt::Key_Return);
    timer->fire();
    EXPECT_FALSE(timer->isActive());
    EXPECT_EQ(dialog->WordIndex, 1);
}

TEST_F(Runner, CancelDuringTheClosingRemarkNeverMarksTwice)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5")});
    dialog->buStart->click();
    answer(QStringLiteral("cat"));
    whenSpeaking(QStringLiteral("Bye"), [this] {
        EXPECT_FALSE(dialog->buCancel->isEnabled());
        dialog->CancelTest();
    });
    timer->fire();
    EXPECT_EQ(result(0, 1), QStringLiteral("CAT*"));
    EXPECT_FALSE(engine->texts().contains(QStringLiteral("You cancelled the spelling test.")));
    EXPECT_EQ(engine->texts().count(QStringLiteral("Your score is, 1 out of 1.")), 1);
}

TEST_F(Runner, StartAgainRunsTheSameWordsFromTheFirst)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5"), QStringLiteral("dog,5")});
    dialog->buStart->click();
    answer(QStringLiteral("cat"));
    answer(QStringLiteral("dog"));
    timer->fire();
    ASSERT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 2 out of 2."));

    whenSpeaking(QStringLiteral("Hi"), [this] {
        EXPECT_EQ(result(0, 1), QString());
        EXPECT_EQ(result(1, 1), QString());
        EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 2 out of 2."));
        EXPECT_EQ(dialog->frameGeometry().height(), SpellingTestDialog::PreparingHeight);
    });
    dialog->buStart->click();
    timer->fire();
    EXPECT_EQ(engine->texts().last(), prompt(QStringLiteral("cat")));
    QTest::keyClicks(dialog->edWord, QStringLiteral("cat"));
    timer->fire();
    answer(QStringLiteral("dot"));
    timer->fire();
    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 1 out of 2."));
    EXPECT_EQ(result(1, 1), QStringLiteral("DOT"));
}

TEST_F(Runner, CannotBeClosedWhileATestRuns)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5")});
    dialog->buStart->click();
    timer->fire();
    dialog->close();
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    dialog->reject();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->buClose->isEnabled());

    timer->fire();
    timer->fire();
    dialog->close();
    EXPECT_TRUE(dialog->isVisible()) << "only the Close button closes the dialog";
    dialog->buClose->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(Runner, BlankFileDoesNotStartAndACommaLineAsksAnEmptyWord)
{
    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("  "), QString()});
    dialog->buStart->click();
    EXPECT_EQ(prompts.messages, QStringList{QStringLiteral("The spelling file loaded contains no words.")});
    EXPECT_TRUE(engine->texts().isEmpty());
    EXPECT_EQ(dialog->State(), SpellingTestDialog::TestState::Ready);

    load({QStringLiteral("Hi"), QStringLiteral("Bye"), QStringLiteral("cat,5"), QStringLiteral(",5")});
    dialog->buStart->click();
    answer(QStringLiteral("cat"));
    timer->fire();
    EXPECT_EQ(engine->texts().last(), QStringLiteral(" <silence msec='2000'/> Please listen again. "));
    QTest::keyClick(dialog->edWord, Qt::Key_Return);
    timer->fire();
    timer->fire();
    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 2 out of 2."));
}

TEST_F(Runner, StartSpellingTestKeepsThePathEvenWhenTheFileIsUnusable)
{
    QString spellingFile = QStringLiteral("earlier.pvt");
    QStringList spellingWords{QStringLiteral("earlier")};
    StartSpellingTest(*voice, AppearanceSettings{}, spellingFile, spellingWords);
    ASSERT_EQ(prompts.fileDialogs.size(), 1);
    const FileDialogSpec request = prompts.fileDialogs.at(0);
    EXPECT_EQ(request.title, QStringLiteral("Open Parlivo Test File"));
    EXPECT_EQ(request.filter, QStringLiteral("Parlivo Test File (*.pvt)|*.pvt"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("pvt"));
    EXPECT_TRUE(request.mustExist);
    EXPECT_EQ(QDir(request.initialFolder), QDir(path(QStringLiteral("Spelling Test Files"))));
    EXPECT_EQ(spellingFile, QStringLiteral("earlier.pvt")) << "a cancelled choice changes nothing";

    const QString oneLine = writeFile(QStringLiteral("one.pvt"), "Only this\r\n");
    prompts.files << oneLine << path(QStringLiteral("gone.pvt"));
    StartSpellingTest(*voice, AppearanceSettings{}, spellingFile, spellingWords);
    EXPECT_EQ(spellingFile, oneLine);
    EXPECT_EQ(spellingWords, QStringList{QStringLiteral("Only this")});
    StartSpellingTest(*voice, AppearanceSettings{}, spellingFile, spellingWords);
    EXPECT_EQ(spellingFile, path(QStringLiteral("gone.pvt")));
    EXPECT_EQ(prompts.messages,
              QStringList(2, QStringLiteral("There was a problem and the spelling file could not be loaded.")));
}

TEST_F(Runner, StartSpellingTestRunsTheChosenFileModally)
{
    prompts.files << writeFile(QStringLiteral("pets.pvt"), "Hi\r\nBye\r\ncat,5\r\n");
    QString spellingFile;
    QStringList spellingWords;
    answerModal<SpellingTestDialog>([](SpellingTestDialog* shown) {
        EXPECT_EQ(shown->WordCount, 1);
        EXPECT_EQ(shown->sgSpellingResults->horizontalHeaderItem(0)->text(), QStringLiteral("Correct Spelling"));
        EXPECT_EQ(shown->sgSpellingResults->horizontalHeaderItem(1)->text(), QStringLiteral("Student Spelling"));
        shown->buClose->click();
    });
    StartSpellingTest(*voice, AppearanceSettings{}, spellingFile, spellingWords);
    EXPECT_EQ(spellingWords.size(), 3);
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(Runner, RunsFromTheKeyboardToItsScoreAndTellsAScreenReaderWhereItIs)
{
    load({QStringLiteral("Hello."), QStringLiteral("Bye."), QStringLiteral("cat,5"), QStringLiteral("dog,5")});
    QApplication::setActiveWindow(dialog.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    auto focused = [] { return QApplication::focusWidget(); };
    auto spokenName = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    ASSERT_EQ(focused(), dialog->buStart);
    QTest::keyClick(focused(), Qt::Key_Space);
    ASSERT_EQ(dialog->State(), SpellingTestDialog::TestState::Introduction);

    for (const QString& answer : {QStringLiteral("cat"), QStringLiteral("dig")}) {
        timer->fire(); // the word is asked
        ASSERT_EQ(focused(), dialog->edWord);
        EXPECT_EQ(spokenName(dialog->edWord),
                  QStringLiteral("Answer to word %1 of 2").arg(answer == QLatin1String("cat") ? 1 : 2));
        QTest::keyClicks(focused(), answer);
        QTest::keyClick(focused(), Qt::Key_Return);
        EXPECT_EQ(timer->interval(), 1) << "Enter ends the answer period at once";
        timer->fire(); // the answer is recorded
    }
    timer->fire(); // closing remark and score
    EXPECT_EQ(spokenName(dialog->labScore), QStringLiteral("Your score is, 1 out of 2."));
    EXPECT_EQ(focused(), dialog->sgSpellingResults);
    EXPECT_EQ(spokenName(dialog->sgSpellingResults), QStringLiteral("Spelling results"));

    // Tab reaches Close, and Space on it closes the dialog.
    for (int i = 0; i < 4 && focused() != dialog->buClose; ++i)
        QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), dialog->buClose);
    QTest::keyClick(focused(), Qt::Key_Space);
    EXPECT_FALSE(dialog->isVisible());
}
