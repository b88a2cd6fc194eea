#pragma once

#include "window/main/MainWindow.h"
#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"
#include "core/AppFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTranslator>
#include <gtest/gtest.h>

// A main window over a scripted engine, in an application folder of its own.
// Takes out every window translation a test installed, so the next test starts in English.
inline void removeInterfaceTranslations()
{
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
}

class ReaderFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setAppFolder(folder.path());
        auto scripted = std::make_unique<ScriptedSpeechEngine>();
        scripted->installed = {{QStringLiteral("en-gb"), QStringLiteral("English (Great Britain)")},
                               {QStringLiteral("fr"), QStringLiteral("French")},
                               {QStringLiteral("en-us"), QStringLiteral("English (America)")}};
        engine = scripted.get();
        reader = std::make_unique<MainWindow>(std::move(scripted));
    }

    // The settings and colour schemes that ship with the program.
    void useShippedSettings()
    {
        const QString shipped = QStringLiteral(PARLIVO_SOURCE_DIR "/resources/appfolder/");
        QFile::copy(shipped + QStringLiteral("Parlivo.ini"), folder.filePath(QStringLiteral("Parlivo.ini")));
        QDir().mkpath(folder.filePath(QStringLiteral("schemes")));
        for (const QString& scheme : QDir(shipped + QStringLiteral("schemes")).entryList(QDir::Files))
            QFile::copy(shipped + QStringLiteral("schemes/") + scheme,
                        folder.filePath(QStringLiteral("schemes/") + scheme));
    }

    void create()
    {
        ASSERT_TRUE(reader->FormCreate());
        reader->resize(1000, 700);
        reader->show();
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    ScriptedSpeechEngine* engine = nullptr;
    std::unique_ptr<MainWindow> reader;
};
