#include <QApplication>
#include <QTemporaryDir>
#include <gmock/gmock.h>

// Every test program runs with a real QApplication, without a display or a sound device.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    ::testing::InitGoogleMock(&argc, argv);
    QApplication app(argc, argv);
    // Enchant keeps its personal word lists in a folder of the run's own, not in the user's.
    QTemporaryDir enchantFolder;
    if (qEnvironmentVariableIsEmpty("ENCHANT_CONFIG_DIR"))
        qputenv("ENCHANT_CONFIG_DIR", enchantFolder.path().toUtf8());
    return RUN_ALL_TESTS();
}
