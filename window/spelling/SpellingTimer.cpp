#include "window/spelling/SpellingTimer.h"

RealSpellingTimer::RealSpellingTimer(QObject* parent) : SpellingTimer(parent)
{
    FTimer.setTimerType(Qt::PreciseTimer);
    connect(&FTimer, &QTimer::timeout, this, &SpellingTimer::timeout);
}
