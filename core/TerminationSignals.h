#pragma once

#include <QObject>

class QSocketNotifier;

// Brings the signals that ask a program to end (SIGTERM from a logout or `kill`, SIGHUP when the terminal goes,
// SIGINT from Ctrl+C) into the event loop as a Qt signal, through a pipe the signal handler writes to, so the
// program can keep the user's work before it ends. One at a time; while it lives, those signals no longer end
// the program by themselves.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier* mNotifier = nullptr;
};
