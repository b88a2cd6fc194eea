#include "window/main/Program.h"

#include "window/main/ParlivoApplication.h"
#include "window/dialogs/AboutWindow.h"
#include "window/main/MainWindow.h"
#include "window/main/DesktopService.h"
#include "window/dialogs/QtPrompts.h"
#include "window/settings/InterfaceLanguage.h"
#include "core/SingleInstance.h"
#include "core/TerminationSignals.h"
#include "formats/WebEnvironment.h"
#include "formats/WordProcessorImport.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>
#include <QThreadPool>
#include <QTimer>

namespace {
// The document named on the command line (`parlivo FILE`, as the desktop's "Open with" runs it), absolute so a
// running copy finds it wherever it was started; empty when none is named.
QString documentArgument(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(QLatin1Char('-')))
            return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

// The service method a desktop shortcut asks for ("--read-selection" reads the selection), or nothing.
QString readRequest(const QStringList& arguments)
{
    if (arguments.contains(QStringLiteral("--read-selection")))
        return QStringLiteral("ReadSelection");
    if (arguments.contains(QStringLiteral("--read-clipboard")))
        return QStringLiteral("ReadClipboard");
    if (arguments.contains(QStringLiteral("--reader-bar")))
        return QStringLiteral("ShowReaderBar");
    return {};
}
} // namespace

void KeepWorkAtTheEnd(MainWindow& reader)
{
    auto* ending = new TerminationSignals(&reader);
    QObject::connect(ending, &TerminationSignals::received, &reader, [&reader] {
        reader.KeepWork();
        QCoreApplication::quit();
    });
    // No questions here: the session is ending and nobody may be there to answer.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &reader, [&reader] { reader.KeepWork(); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &reader, [&reader] { reader.KeepWork(); });
}

int RunParlivo(int argc, char** argv)
{
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given.append(QString::fromLocal8Bit(argv[i]));
    // `parlivo` has already offered a shortcut's request to a running copy: none answered, so this one reads it.
    const QString request = readRequest(given);

    // The pictures are compiled into a static library; make sure they are linked in.
    Q_INIT_RESOURCE(resources);
    PrepareWebEngineEnvironment();
    ParlivoApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Parlivo"));
    // Before any window is made, so every caption and the title of every message is in the window's language.
    InstallInterfaceTranslation(app, SavedInterfaceLanguage());
    QtPrompts dialogs;
    setPrompts(&dialogs);

    const QString document = documentArgument(app.arguments());
    SingleInstance guard(QStringLiteral("Parlivo"));
    if (!guard.acquire()) {
        // A document goes to the copy that runs; without one, or when that copy does not answer, the old message.
        if (!document.isEmpty() && guard.handOff(document))
            return 0;
        prompts().message(QCoreApplication::translate("Program", "A version of Parlivo is already running."));
        return 0;
    }

    // The work folders of conversions that a killed Parlivo left behind, which may be large, go meanwhile.
    QThreadPool::globalInstance()->start(removeStaleConversionFolders);

    // A shortcut pressed to hear some text should not wait for the splash.
    if (!request.startsWith(QLatin1String("Read")))
        ShowAbout(QCoreApplication::translate("Program", "Study Edition"));

    std::unique_ptr<SpeechEngine> engine;
    try {
        engine = createDefaultSpeechEngine();
    } catch (const std::exception&) {
        prompts().message(QCoreApplication::translate("Program", "Speech Engine not installed."));
        return 1;
    }
    MainWindow reader(std::move(engine));
    if (!reader.FormCreate())
        return 1;
    reader.show();
    reader.FormActivate();
    KeepWorkAtTheEnd(reader);
    guard.listen([&reader](const QString& path) {
        reader.showNormal();
        reader.raise();
        reader.activateWindow();
        reader.OpenDocumentFile(path);
    });
    if (!document.isEmpty())
        QTimer::singleShot(0, &reader, [&reader, document] { reader.OpenDocumentFile(document); });
    DesktopService service(reader);
    service.start();
    if (app.arguments().contains(QStringLiteral("--reader-bar")))
        reader.ShowFloatingReaderBar(true);
    if (request == QLatin1String("ReadSelection"))
        QTimer::singleShot(0, &reader, [&reader] { reader.ReadSelection(); });
    else if (request == QLatin1String("ReadClipboard"))
        QTimer::singleShot(0, &reader, [&reader] { reader.ReadClipboard(); });
    return app.exec();
}
