#include "fakes/ScriptedPrompts.h"
#include "speech/SpeechEngine.h"
#include "speech/Voice.h"
#include "window/spelling/SpellingTestDialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

// A whole test spoken by the real espeak-ng engine, its audio played to a clock twenty times faster than real
// time, and timed by the dialog's real timer.
TEST(SpellingTestWithEspeak, ThreeWordsFromStartToScore)
{
    qputenv("PARLIVO_SPEECH_CLOCK", "20");
    ScriptedPrompts prompts;
    Voice voice(createDefaultSpeechEngine());
    QStringList ended;
    QObject::connect(&voice, &Voice::OnEndStream,
                     [&](const SpeechEvent& event) { ended << QString::number(event.stream); });

    auto dialog = MakeSpellingTest(voice, AppearanceSettings{},
                                   {QStringLiteral("Welcome to the test."), QStringLiteral("Well done."),
                                    QStringLiteral("cat,5"), QStringLiteral("dog,5"), QStringLiteral("sun,5")});
    dialog->show();
    dialog->StartTest();
    for (const QString& answer : {QStringLiteral("cat"), QStringLiteral("dig"), QStringLiteral("sun")}) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->State() == SpellingTestDialog::TestState::Answer; }, 20000))
            << "the word " << answer.toStdString() << " was never asked";
        QTest::keyClicks(dialog->edWord, answer);
        QTest::keyClick(dialog->edWord, Qt::Key_Return);
        ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->State() != SpellingTestDialog::TestState::Answer; }, 20000));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->State() == SpellingTestDialog::TestState::Ready; }, 20000));

    EXPECT_EQ(dialog->labScore->text(), QStringLiteral("Your score is, 2 out of 3."));
    EXPECT_EQ(dialog->sgSpellingResults->item(1, 1)->text(), QStringLiteral("DIG"));
    EXPECT_EQ(dialog->sgSpellingResults->item(2, 1)->text(), QStringLiteral("SUN*"));
    // The introduction, three prompts, the closing remark and the score, each spoken to its end.
    EXPECT_EQ(ended.size(), 6) << ended.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(prompts.messages.isEmpty()) << prompts.messages.join(QLatin1Char('\n')).toStdString();
    dialog->CloseTest();
}
