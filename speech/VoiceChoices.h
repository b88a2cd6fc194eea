#pragma once

#include "speech/Voice.h"

#include <QList>
#include <QString>
#include <optional>

// The voice list of the readers menu: sorted by description without regard to case; of several voices whose
// descriptions differ only in case, the first one given is kept.
QList<VoiceToken> SortedUniqueVoices(const QList<VoiceToken>& voices);
// The index of the voice with that description, compared without regard to case, or -1 when none has it.
qsizetype IndexOfVoice(const QList<VoiceToken>& voices, const QString& description);

// The rate for a reading speed 1 to 10: -9, -7, -5, -3, -1, 2, 4, 6, 8, 10; nothing outside 1 to 10.
std::optional<int> RateForSpeed(int speed);
// The voice's volume for a reading volume 1 to 10: ten times it (1 gives 10, 10 gives 100); nothing outside 1 to 10.
std::optional<int> VolumeForStep(int volume);
