#include "fakes/ScriptedSpeechEngine.h"
#include "speech/TSpVoice.h"
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

// Each entry as the menu shows it: a voice by its index, a group by its caption with the indices it holds.
std::string shown(const QList<VoiceMenuEntry>& entries)
{
    QStringList shown;
    for (const VoiceMenuEntry& entry : entries) {
        QStringList voices;
        for (qsizetype voice : entry.voices)
            voices << QString::number(voice);
        shown << (entry.kind == VoiceMenuEntry::Voice ? voices.join(u',')
                                                      : QStringLiteral("%1[%2]").arg(entry.caption, voices.join(u',')));
    }
    return shown.join(QStringLiteral(" | ")).toStdString();
}

TEST(VoiceChoices, TheReadersMenuGroupsLanguagesWithTheChosenAndNaturalVoicesFirstAndFitsItsLines)
{
    const QList<VoiceToken> voices{
        {QStringLiteral("af"), QStringLiteral("Afrikaans"), QStringLiteral("af")},
        {QStringLiteral("cmn"), QStringLiteral("Chinese (Mandarin, latin as English)"), QStringLiteral("cmn")},
        {QStringLiteral("cmn-p"), QStringLiteral("Chinese (Mandarin, latin as Pinyin)"),
         QStringLiteral("cmn-latn-pinyin")},
        {QStringLiteral("en-us"), QStringLiteral("English (America)"), QStringLiteral("en-us")},
        {QStringLiteral("en-gb"), QStringLiteral("English (Great Britain)"), QStringLiteral("en-gb")},
        {QStringLiteral("et"), QStringLiteral("Estonian"), QStringLiteral("et")},
        {QStringLiteral("fi"), QStringLiteral("Finnish"), QStringLiteral("fi")},
        {QStringLiteral("fr"), QStringLiteral("French (France)"), QStringLiteral("fr-fr")},
        {QStringLiteral("slt"), QStringLiteral("US English, female (Festival)"), QStringLiteral("en-us"), true},
        {QStringLiteral("zu"), QStringLiteral("Zulu")}};
    VoiceMenuLayout layout = ArrangeVoices(voices, 7, 20);
    EXPECT_EQ(shown(layout.leading), "7 | English[8,3,4]");
    EXPECT_EQ(shown(layout.rest), "0 | Chinese[1,2] | 5 | 6 | 9");

    // Two lines: a language too long is split, and the one-voice languages are gathered by name.
    layout = ArrangeVoices(voices, -1, 2);
    EXPECT_EQ(shown(layout.leading), "English (1 of 2)[8,3] | English (2 of 2)[4]");
    EXPECT_EQ(shown(layout.rest), "Afrikaans \u2013 Estonian[0,5] | Chinese[1,2] | Finnish \u2013 French[6,7] | 9");
    EXPECT_EQ(layout.rest.first().last, QStringLiteral("Estonian"));
    EXPECT_TRUE(ArrangeVoices({}, -1, 0).rest.isEmpty());
}

TEST(VoiceChoices, SpeedCaptionsSetTheirRatesAndVolumeCaptionsTenTimesThemselves)
{
    ScriptedSpeechEngine* engine = new ScriptedSpeechEngine;
    TSpVoice voice{std::unique_ptr<SpeechEngine>(engine)};

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
