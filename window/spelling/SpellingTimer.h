#pragma once

#include <QObject>
#include <QTimer>

// The one timer that steps a spelling test from word to word. The test dialog runs on a real timer; tests give
// it one that they fire by hand, so no test waits for an answer period to pass.
class SpellingTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~SpellingTimer() override = default;

    virtual void start() = 0;
    virtual void stop() = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual int interval() const = 0;
    virtual bool isActive() const = 0;

signals:
    void timeout();
};

// A SpellingTimer on a QTimer.
class RealSpellingTimer : public SpellingTimer
{
    Q_OBJECT
public:
    explicit RealSpellingTimer(QObject* parent = nullptr);

    void start() override { mTimer.start(); }
    void stop() override { mTimer.stop(); }
    void setInterval(int milliseconds) override { mTimer.setInterval(milliseconds); }
    int interval() const override { return mTimer.interval(); }
    bool isActive() const override { return mTimer.isActive(); }

private:
    QTimer mTimer;
};
