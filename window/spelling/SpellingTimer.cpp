#include "window/spelling/SpellingTimer.h"

RealSpellingTimer::RealSpellingTimer(QObject* parent) : SpellingTimer(parent)
{
    mTimer.setTimerType(Qt::PreciseTimer);
    connect(&mTimer, &QTimer::timeout, this, &SpellingTimer::timeout);
}
