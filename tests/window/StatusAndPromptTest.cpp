#include "window/dialogs/TextLineDialog.h"
#include "window/dialogs/StatusDialog.h"
#include "support/AnswerModal.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
// Runs `act` on the name prompt once it is shown, then returns what PromptLine returned.
QString promptWith(const std::function<void(TextLineDialog*)>& act, const QString& initial = {})
{
    answerModal<TextLineDialog>(act);
    return PromptLine(QStringLiteral("Save Customisation"), QStringLiteral("Customisation Name"), initial);
}
} // namespace

TEST(PromptLine, EnterAcceptsTheNameWithItsSpaces)
{
    const QString name = promptWith([](TextLineDialog* window) {
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Save Customisation"));
        EXPECT_EQ(window->labPrompt->text(), QStringLiteral("Customisation Name"));
        QTest::keyClicks(window->edFilename, QStringLiteral("  Night "));
        QTest::keyClick(window->edFilename, Qt::Key_Return);
    });
    EXPECT_EQ(name, QStringLiteral("  Night "));
}

TEST(PromptLine, EmptyOkAndCancelBothGiveTheEmptyString)
{
    EXPECT_EQ(promptWith([](TextLineDialog* window) { window->buSave->click(); }), QString());
    EXPECT_EQ(promptWith([](TextLineDialog* window) {
                  QTest::keyClicks(window->edFilename, QStringLiteral("Night"));
                  window->buCancel->click();
              }),
              QString());
}

TEST(PromptLine, HoldsAtMostTwentyCharactersAndIgnoresEscape)
{
    const QString name = promptWith([](TextLineDialog* window) {
        QTest::keyClicks(window->edFilename, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QTest::keyClick(window->edFilename, Qt::Key_Escape);
        EXPECT_TRUE(window->isVisible());
        window->buSave->click();
    });
    EXPECT_EQ(name, QStringLiteral("abcdefghijklmnopqrst"));
}

TEST(StatusWindow, ShowsOnTopAndIsFreedWhenClosed)
{
    StatusHandle handle =
        ShowStatus(QStringLiteral("Saving to MP3"), QStringLiteral("Saving document to MP3 format, please wait..."));
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->isVisible());
    EXPECT_TRUE(handle->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(handle->windowTitle(), QStringLiteral("Saving to MP3"));
    EXPECT_EQ(handle->Label1->text(), QStringLiteral("Saving document to MP3 format, please wait..."));
    CloseStatus(handle);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(handle);
    CloseStatus(StatusHandle()); // a null handle is harmless
}
