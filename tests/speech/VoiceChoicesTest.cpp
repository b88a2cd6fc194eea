#include "fakes/ScriptedSpeechEngine.h"
#include "speech/Voice.h"
#include "speech/VoiceChoices.h"

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

TEST(VoiceChoices, SpeedCaptionsSetTheirRatesAndVolumeCaptionsTenTimesThemselves)
{
    ScriptedSpeechEngine* engine = new ScriptedSpeechEngine;
    Voice voice{std::unique_ptr<SpeechEngine>(engine)};

    const int expected[] = {-9, -7, -5, -3, -1, 2, 4, 6, 8, 10};
    for (int speed = 1; speed <= 10; ++speed) {
        voice.SetRate(*RateForSpeed(speed));
        EXPECT_EQ(engine->rate, expected[speed - 1]) << speed;
    }
    voice.SetRate(*RateForSpeed(5));
    EXPECT_EQ(engine->rate, -1);
    voice.SetRate(*RateForSpeed(6));
    EXPECT_EQ(engine->rate, 2);
    EXPECT_FALSE(RateForSpeed(0).has_value());
    EXPECT_FALSE(RateForSpeed(11).has_value());

    voice.SetVolume(VolumeForCaption(1));
    EXPECT_EQ(engine->volume, 10);
    voice.SetVolume(VolumeForCaption(10));
    EXPECT_EQ(engine->volume, 100);
}

} // namespace
