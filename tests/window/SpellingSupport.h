#pragma once

#include "fakes/ScriptedPrompts.h"
#include "fakes/ScriptedSpeechEngine.h"
#include "core/AppFolder.h"
#include "speech/Voice.h"
#include "window/spelling/SpellingTimer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

// A timer that fires only when the test says so.
class ManualTimer : public SpellingTimer
{
public:
    void start() override { mActive = true; }
    void stop() override { mActive = false; }
    void setInterval(int milliseconds) override { mInterval = milliseconds; }
    int interval() const override { return mInterval; }
    bool isActive() const override { return mActive; }

    void fire()
    {
        ASSERT_TRUE(mActive) << "the timer was not running";
        emit timeout();
    }

private:
    bool mActive = false;
    int mInterval = 0;
};

// A private program folder with its two spelling folders, scripted prompts and a voice on a scripted engine.
class SpellingFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        QDir(folder.path()).mkpath(QStringLiteral("Spelling Test Files"));
        QDir(folder.path()).mkpath(QStringLiteral("Lists"));
        setAppFolder(folder.path());
        auto scripted = std::make_unique<ScriptedSpeechEngine>();
        engine = scripted.get();
        voice = std::make_unique<Voice>(std::move(scripted));
    }

    // Lets each utterance take a moment until the engine speaks one that starts with `prefix`; then runs `action`
    // in the middle of that speech and lets every utterance end at once again.
    void whenSpeaking(const QString& prefix, const std::function<void()>& action)
    {
        engine->autoFinish = false;
        auto* poll = new QTimer(engine);
        QObject::connect(poll, &QTimer::timeout, engine, [this, poll, prefix, action] {
            if (!engine->speaking)
                return;
            if (!engine->spoken.constLast().text.startsWith(prefix)) {
                engine->finish();
                return;
            }
            poll->stop();
            poll->deleteLater();
            engine->autoFinish = true;
            action();
            if (engine->speaking)
                engine->finish();
        });
        poll->start(0);
    }

    QString path(const QString& name) const { return folder.filePath(name); }

    QString writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }

    static QByteArray readFile(const QString& file)
    {
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    }

    QTemporaryDir folder;
    ScriptedPrompts prompts;
    ScriptedSpeechEngine* engine = nullptr;
    std::unique_ptr<Voice> voice;
};
