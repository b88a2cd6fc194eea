#include "ReaderFixture.h"

#include <QCoreApplication>
#include <QPixmap>

// A tool, not a test, so it is disabled: renders the main window to a picture so it can be looked at.
//   PARLIVO_SHOT=shot.png build/tests/tests_app --gtest_also_run_disabled_tests --gtest_filter='*RendersTheMainWindow'
TEST_F(ReaderFixture, DISABLED_RendersTheMainWindow)
{
    useShippedSettings();
    create();
    reader->reText->setPlainText(QStringLiteral("The quick brown fox jumps over the lazy dog. Visit www.example.org "
                                                "to read more.\n\nA second paragraph follows here."));
    reader->reText->selectAll();
    const QString path = qEnvironmentVariable("PARLIVO_SHOT");
    QCoreApplication::processEvents();
    if (path.isEmpty())
        GTEST_SKIP() << "set PARLIVO_SHOT to a file name to write the picture";
    EXPECT_TRUE(reader->grab().save(path));
}
