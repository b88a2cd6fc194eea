// "Read from screen" as the user does it under a real X server: the key, a rectangle dragged over another
// window's text, and that text in the reading area, read aloud.
#include "window/ReaderFixture.h"
#include "window/readingarea/ScreenReading.h"
#include "support/PicturePages.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {
int xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments);
}

QString at(int value)
{
    return QString::number(value);
}
} // namespace

TEST_F(ReaderFixture, ReadFromScreenReadsTheTextOfARectangleDraggedOverAnotherWindow)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reader.get()));
    const QString shown = pictures::sourceText({pictures::Worksheet[0]});
    QLabel other(shown);
    other.setWordWrap(true);
    other.setFont(QFont(QStringLiteral("DejaVu Sans"), 16));
    other.setStyleSheet(QStringLiteral("background: white; color: black; padding: 20px"));
    other.setWindowFlags(Qt::WindowStaysOnTopHint);
    other.setGeometry(100, 100, 700, 200);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    reader->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    QTest::qWait(200); // the label painted before the screen is grabbed

    // The picker waits for the drag inside the command: the drag is made from within its wait.
    const QRect area(other.mapToGlobal(QPoint(5, 5)), other.mapToGlobal(QPoint(695, 195)));
    bool dragged = false;
    bool instructed = false;
    QTimer drag;
    QObject::connect(&drag, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<ScreenAreaPicker*>(window) && window->isVisible() && !dragged &&
                QTest::qWaitForWindowExposed(window)) {
                dragged = true;
                // The dimmed screen says what to do.
                const auto* instruction = window->findChild<QLabel*>(QStringLiteral("labScreenInstruction"));
                instructed = instruction && instruction->isVisible() &&
                             instruction->text().contains(QStringLiteral("Drag")) &&
                             instruction->text().contains(QStringLiteral("Escape"));
                xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), at(area.left()), at(area.top()),
                         QStringLiteral("mousedown"), QStringLiteral("1"), QStringLiteral("mousemove"),
                         QStringLiteral("--sync"), at(area.center().x()), at(area.center().y()),
                         QStringLiteral("mousemove"), QStringLiteral("--sync"), at(area.right()), at(area.bottom()),
                         QStringLiteral("mouseup"), QStringLiteral("1")});
            }
        }
    });
    drag.start(50);
    ASSERT_EQ(xdotool({QStringLiteral("key"), QStringLiteral("ctrl+F8")}), 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !reader->reText->toPlainText().isEmpty(); }, 60000));
    EXPECT_TRUE(dragged);
    EXPECT_TRUE(instructed);
    const QString read = reader->reText->toPlainText();
    EXPECT_GE(pictures::wordSimilarity(shown, read), 0.95) << read.toStdString();
    EXPECT_TRUE(prompts.messages.isEmpty());
}
