#include "fakes/ScriptedSpeechEngine.h"
#include "speech/ReadingModel.h"
#include "speech/Voice.h"
#include "speech/VoiceChoices.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

VoiceToken token(const char* id, const char* description)
{
    return {QString::fromUtf8(id), QString::fromUtf8(description)};
}

TEST(VoiceChoices, TheVoiceListIsSortedWithoutRegardToCaseAndKeepsTheFirstOfEqualDescriptions)
{
    const QList<VoiceToken> voices =
        SortedUniqueVoices({token("1", "zulu"), token("2", "English (America)"), token("3", "english (america)"),
                            token("4", "Afrikaans"), token("5", "ENGLISH (AMERICA)"), token("6", "basque")});
    ASSERT_EQ(voices.size(), 4);
    EXPECT_EQ(voices[0].description, QStringLiteral("Afrikaans"));
    EXPECT_EQ(voices[1].description, QStringLiteral("basque"));
    EXPECT_EQ(voices[2].id, QStringLiteral("2"));
    EXPECT_EQ(voices[3].description, QStringLiteral("zulu"));

    EXPECT_EQ(IndexOfVoice(voices, QStringLiteral("ZULU")), 3);
    EXPECT_EQ(IndexOfVoice(voices, QStringLiteral("Microsoft Sam")), -1);
    EXPECT_EQ(IndexOfVoice(voices, QString()), -1);
    EXPECT_TRUE(SortedUniqueVoices({}).isEmpty());
}

TEST(ReadingModel, ChoicesSetTheVoiceAndOnlyChangesAreSignalled)
{
    auto* engine = new ScriptedSpeechEngine;
    engine->installed = {{QStringLiteral("en"), QStringLiteral("English")},
                         {QStringLiteral("fr"), QStringLiteral("French")}};
    Voice voice{std::unique_ptr<SpeechEngine>(engine)};
    ReadingModel model(voice);
    model.setVoices(voice.GetVoices());
    QSignalSpy speedChanges(&model, &ReadingModel::speedChanged);

    const int rates[] = {-9, -7, -5, -3, -1, 2, 4, 6, 8, 10};
    for (int speed = 1; speed <= 10; ++speed) {
        EXPECT_TRUE(model.setSpeed(speed));
        EXPECT_EQ(engine->rate, rates[speed - 1]) << speed;
    }
    engine->rate = 0;
    EXPECT_TRUE(model.setSpeed(10));
    EXPECT_EQ(engine->rate, 10) << "the current speed is set on the voice again";
    EXPECT_EQ(speedChanges.size(), 10) << "but it is no change";
    EXPECT_FALSE(model.setSpeed(0));
    EXPECT_FALSE(model.setSpeed(11));
    EXPECT_EQ(model.speed(), 10);

    EXPECT_TRUE(model.setVolume(1));
    EXPECT_EQ(engine->volume, 10);
    EXPECT_TRUE(model.setVolume(10));
    EXPECT_EQ(engine->volume, 100);
    EXPECT_FALSE(model.setVolume(0));
    EXPECT_EQ(model.volume(), 10);

    // Voices are chosen by their exact description.
    EXPECT_FALSE(model.setVoice(QStringLiteral("french")));
    EXPECT_EQ(model.voice(), QString());
    EXPECT_TRUE(model.setVoice(QStringLiteral("French")));
    EXPECT_EQ(engine->voiceId, QStringLiteral("fr"));
}

} // namespace
