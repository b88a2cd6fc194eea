#pragma once

#include <QStringView>

// Whether a word is one the writing help never offers a learner, as a spelling suggestion or a predicted word:
// on the shipped list of offensive words (":/writing/Offensive words.txt"), in any case, or such a word with an
// ending ("twonks", "shitty"). A word the learner types is never marked for it.
bool IsOffensive(QStringView word);
