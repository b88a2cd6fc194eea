#pragma once

#include "speech/TSpVoice.h"

#include <QList>
#include <QString>
#include <optional>

// The voice list of the readers menu: sorted by description without regard to case; of several voices whose
// descriptions differ only in case, the first one given is kept.
QList<VoiceToken> SortedUniqueVoices(const QList<VoiceToken>& voices);
// The index of the voice with that description, compared without regard to case, or -1 when none has it.
qsizetype IndexOfVoice(const QList<VoiceToken>& voices, const QString& description);

// One place in the readers menu: a voice on its own, or a submenu of voices.
struct VoiceMenuEntry
{
    enum Kind
    {
        Voice,     // a voice whose language has no other
        Language,  // the voices of one language
        Languages, // the voices of several languages that have one voice each, from `first` to `last` by name
    };
    Kind kind = Voice;
    QString caption{};         // a submenu's caption; a voice keeps its own description
    QList<qsizetype> voices{}; // indices into the voice list, in the order they are offered
    QString first{}, last{};   // Languages: the first and the last voice's description up to a parenthesis or comma
};

// The readers menu in two parts: first the chosen voice's language and the languages that have a natural voice, then
// the rest, each part in order of caption. A language with several voices is a submenu, natural voices first; when
// the entries would not fit in `rows` lines, the voices of one-voice languages are gathered into submenus of at most
// `rows` by name, so every voice stays at most one submenu down. `chosen` is the chosen voice's index, or -1.
struct VoiceMenuLayout
{
    QList<VoiceMenuEntry> leading;
    QList<VoiceMenuEntry> rest;
};
VoiceMenuLayout ArrangeVoices(const QList<VoiceToken>& voices, qsizetype chosen, int rows);
// The name of the language a voice is offered under: the English name of its language tag's language, or when Qt
// knows no language by that tag, the description up to its first parenthesis or comma.
QString VoiceLanguageName(const VoiceToken& voice);

// The rate for a reading speed caption 1 to 10: -9, -7, -5, -3, -1, 2, 4, 6, 8, 10; nothing outside 1 to 10.
std::optional<int> RateForSpeed(int speed);
// The volume for a reading volume caption: ten times it ("1" gives 10, "10" gives 100).
int VolumeForCaption(int caption);
