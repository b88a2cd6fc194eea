#pragma once
#include "speech/TSpVoice.h"
#include <optional>
QList<VoiceToken> SortedUniqueVoices(const QList<VoiceToken>& voices);
qsizetype IndexOfVoice(const QList<VoiceToken>& voices, const QString& description);
std::optional<int> RateForSpeed(int speed);
int VolumeForCaption(int caption);
