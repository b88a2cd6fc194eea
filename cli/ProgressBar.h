#pragma once

#include <QIODevice>
#include <QString>

// "[2/10] name.txt [#########           ]  45%" for a share done of 0 to 1, `width` characters of bar.
QString ProgressLine(int index, int count, const QString& name, double share, int width = 30);

// A progress line redrawn in place on a terminal; on anything else (a file, a pipe) it draws nothing, so logs
// stay clean.
class TerminalProgress
{
public:
    TerminalProgress(QIODevice& terminal, bool enabled) : mTerminal(terminal), mEnabled(enabled) {}
    ~TerminalProgress() { finish(); }

    void show(int index, int count, const QString& name, double share);
    // Ends the line, so what is written next starts on a line of its own.
    void finish();

private:
    QIODevice& mTerminal;
    bool mEnabled;
    QString mLast;
    int mShownLength = 0;
};
