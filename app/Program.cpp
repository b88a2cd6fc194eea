#include "app/Program.h"

#include "app/ParlivoApplication.h"
#include "app/uAbout.h"
#include "app/uParlivo.h"
#include "dialogs/QtPrompts.h"
#include "platform/SingleInstance.h"
#include "web/WebEnvironment.h"

int RunParlivo(int argc, char** argv)
{
    // The pictures are compiled into a static library; make sure they are linked in.
    Q_INIT_RESOURCE(resources);
    PrepareWebEngineEnvironment();
    ParlivoApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Parlivo"));
    app.setApplicationDisplayName(QStringLiteral("Parlivo Study Edition"));
    QtPrompts dialogs;
    setPrompts(&dialogs);

    SingleInstance guard(QStringLiteral("Parlivo"));
    if (!guard.acquire()) {
        prompts().message(QStringLiteral("A version of Parlivo is already running."));
        return 0;
    }

    ShowAbout(QStringLiteral("Study Edition"));

    std::unique_ptr<SpeechEngine> engine;
    try {
        engine = createDefaultSpeechEngine();
    } catch (const std::exception&) {
        prompts().message(QStringLiteral("Speech Engine not installed."));
        return 1;
    }
    TfrmReader reader(std::move(engine));
    if (!reader.FormCreate())
        return 1;
    reader.show();
    reader.FormActivate();
    return app.exec();
}
