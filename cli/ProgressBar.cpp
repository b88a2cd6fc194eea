#include "cli/ProgressBar.h"

#include <algorithm>
#include <cmath>

QString ProgressLine(int index, int count, const QString& name, double share, int width)
{
    share = std::clamp(std::isnan(share) ? 0.0 : share, 0.0, 1.0);
    const int filled = int(std::floor(share * width));
    return QStringLiteral("[%1/%2] %3 [%4%5] %6%")
        .arg(index)
        .arg(count)
        .arg(name, QString(filled, QLatin1Char('#')), QString(width - filled, QLatin1Char(' ')))
        .arg(int(std::floor(share * 100)), 3);
}

void TerminalProgress::show(int index, int count, const QString& name, double share)
{
    if (!mEnabled)
        return;
    const QString line = ProgressLine(index, count, name, share);
    if (line == mLast)
        return;
    mLast = line;
    // Blanks over what is left of a longer line drawn before.
    const int padding = std::max(0, mShownLength - int(line.size()));
    mTerminal.write((QLatin1Char('\r') + line + QString(padding, QLatin1Char(' '))).toUtf8());
    mShownLength = int(line.size());
}

void TerminalProgress::finish()
{
    if (!mEnabled || mShownLength == 0)
        return;
    mTerminal.write("\n");
    mShownLength = 0;
    mLast.clear();
}
