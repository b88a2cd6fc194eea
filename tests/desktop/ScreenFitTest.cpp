// The window stays on the screen it covers, in English and in Spanish, while the user hovers every control, opens
// the face's menu and has the spelling checked: no hint or message it shows makes it wider than the screen.
// Run under Xvfb at 1280 x 800 and at 1024 x 768 (see tests/CMakeLists.txt).
#include "window/ReaderFixture.h"
#include "support/Xdotool.h"
#include "window/settings/InterfaceLanguage.h"
#include "window/face/ReaderFace.h"
#include "window/main/ToolbarButton.h"
#include "window/readingarea/TranslationPanel.h"
#include "speech/Translation.h"
#include "window/web/WebPanel.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QToolButton>
#include <QTranslator>

namespace {
void pointAt(const QWidget* control)
{
    const QPoint centre = control->mapToGlobal(control->rect().center());
    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(centre.x()),
             QString::number(centre.y())});
}

class ScreenFit : public ReaderFixture, public ::testing::WithParamInterface<const char*>
{
protected:
    void SetUp() override
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            GTEST_SKIP() << "needs an X server";
        if (QLatin1String(GetParam()) == QLatin1String("es")) {
            ASSERT_EQ(InstallInterfaceTranslation(*qApp, QStringLiteral("es"), QLocale::c()), QStringLiteral("es"));
        }
        ReaderFixture::SetUp();
        useShippedSettings();
        ASSERT_TRUE(reader->FormCreate());
        reader->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(reader.get()));
        reader->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    }
    void TearDown() override
    {
        reader.reset();
        removeInterfaceTranslations();
    }

    // The window within the screen, its right-hand controls in sight.
    void expectOnScreen(const QString& after)
    {
        QTest::qWait(50); // the layout settles on posted events
        const QRect screen = reader->screen()->geometry();
        EXPECT_LE(reader->minimumSizeHint().width(), screen.width()) << after.toStdString();
        EXPECT_TRUE(screen.contains(reader->frameGeometry())) << after.toStdString();
        for (const QWidget* control :
             {static_cast<QWidget*>(reader->buExit), static_cast<QWidget*>(reader->Panel1->buWebGo)})
            EXPECT_TRUE(screen.contains(QRect(control->mapToGlobal(QPoint()), control->size())))
                << control->objectName().toStdString() << " after " << after.toStdString();
    }
};

TEST_P(ScreenFit, NoHintOrMessageWidensTheWindowPastTheScreen)
{
    expectOnScreen(QStringLiteral("start"));
    // Every control that has a hint, the face's long one first.
    QList<QWidget*> hinted{reader->imgReader};
    for (QWidget* control : reader->findChildren<QWidget*>())
        if (control->isVisible() && !control->statusTip().isEmpty() && control != reader->imgReader)
            hinted << control;
    ASSERT_GT(hinted.size(), 15);
    for (QWidget* control : hinted) {
        pointAt(control);
        // The status bar holds the whole hint for a screen reader, however little of it is in sight.
        const QString hint = LongHint(control->statusTip()).simplified();
        EXPECT_TRUE(QTest::qWaitFor([&] { return reader->statusBar->text() == hint; }, 2000))
            << control->objectName().toStdString() << ": " << reader->statusBar->text().toStdString();
        expectOnScreen(control->objectName());
        if (HasFailure())
            return; // the window has grown: every later check would say so again
    }

    // A translation beside the text is in sight with the long hint still shown.
    pointAt(reader->imgReader);
    reader->panTranslation->showTranslation(QStringLiteral("Spanish"), {QStringLiteral("El gato se sentó."), {}},
                                            false);
    expectOnScreen(QStringLiteral("a translation"));
    EXPECT_TRUE(reader->screen()->geometry().contains(
        QRect(reader->panTranslation->mapToGlobal(QPoint()), reader->panTranslation->size())));

    // The face's menu, its items hovered from the keyboard.
    pointAt(reader->imgReader);
    xdotool({QStringLiteral("click"), QStringLiteral("3")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader->pumReaderOnly->isVisible(); }, 2000));
    for (int item = 0; item < 6; ++item)
        xdotool({QStringLiteral("key"), QStringLiteral("Down")});
    expectOnScreen(QStringLiteral("the face's menu"));
    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reader->pumReaderOnly->isVisible(); }, 2000));

    // F4 finds a long misspelt word and tells its suggestions in the status bar.
    reader->reText->setPlainText(QStringLiteral("The teacher read the story about the unbelieveably "
                                                "extraordinnary adventures of a cat."));
    pointAt(reader->reText);
    xdotool({QStringLiteral("click"), QStringLiteral("1"), QStringLiteral("key"), QStringLiteral("ctrl+Home"),
             QStringLiteral("F4")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader->reText->textCursor().hasSelection(); }, 5000));
    EXPECT_GT(reader->statusBar->text().size(), 60) << reader->statusBar->text().toStdString();
    expectOnScreen(QStringLiteral("Check spelling"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ScreenFit, ::testing::Values("en", "es"));

} // namespace
