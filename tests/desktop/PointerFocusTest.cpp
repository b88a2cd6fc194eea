// Clicks and keys as the X server delivers them to a user: the tests run under Xvfb with the xcb platform
// (see tests/CMakeLists.txt), since events sent straight to a widget skip the window activation a click brings.
#include "window/ReaderFixture.h"
#include "support/Xdotool.h"
#include "window/web/WebPanel.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>

TEST_F(ReaderFixture, AClickInTheAddressBarFromAnotherWindowLetsTheUserTypeAnAddress)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server";
    create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(reader.get()));
    reader->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    // Another window has the keyboard, as when the user comes back from another program.
    QWidget other;
    other.setGeometry(0, 0, 120, 80);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    QLineEdit* address = reader->Panel1->edWebAddress;
    const QString typed = QStringLiteral("example.org");
    const QPoint target = address->mapToGlobal(address->rect().center());

    xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"), QString::number(target.x()),
             QString::number(target.y()), QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(QTest::qWaitForWindowActive(reader.get()));
    xdotool({QStringLiteral("type"), typed});
    // The keys land in the address bar, not in the reading area.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return address->text().size() + reader->reText->toPlainText().size() >= typed.size(); }));
    EXPECT_EQ(address->text(), typed);
    EXPECT_EQ(reader->reText->toPlainText(), QString());
}
