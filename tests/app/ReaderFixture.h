#pragma once

#include "app/uParlivo.h"
#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"
#include "platform/AppFolder.h"

#include <QTemporaryDir>
#include <QTextEdit>
#include <gtest/gtest.h>

// A main window over a scripted engine, in an application folder of its own.
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
        reader = std::make_unique<TfrmReader>(std::move(scripted));
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
    std::unique_ptr<TfrmReader> reader;
};
