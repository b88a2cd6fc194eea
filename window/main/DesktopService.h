#pragma once

#include <QDBusContext>
#include <QObject>
#include <QString>

class MainWindow;

// The running Parlivo on the session bus, so a desktop shortcut or another program can have text read:
// service org.parlivo.Reader, object /org/parlivo/Reader, interface org.parlivo.Reader. Every method answers at once;
// the reading itself (and any question about replacing the reading area's text) follows on the window's event loop.
// A call while one of Parlivo's dialogs waits for an answer, or with nothing readable, gets an error reply.
class DesktopService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.parlivo.Reader")
    Q_PROPERTY(QString ReadingState READ readingState NOTIFY ReadingStateChanged)
public:
    static const QString ServiceName;
    static const QString ObjectPath;

    explicit DesktopService(MainWindow& window, QObject* parent = nullptr);
    // Offers the service on the session bus; false (and nothing offered) when there is no bus or another copy has
    // the name.
    bool start();

    // "Idle", "Reading", "Paused" or "Speaking".
    QString readingState() const;

public slots:
    void ReadText(const QString& text);
    void ReadSelection();
    void ReadClipboard();
    void PauseResume();
    void Stop();
    void PreviousSentence();
    void NextSentence();
    // Shows the floating reader bar (what `parlivo --reader-bar` asks of a running copy).
    void ShowReaderBar();

signals:
    void ReadingStateChanged(const QString& state);

private:
    // False, with an error reply sent, while a dialog of Parlivo waits for an answer.
    bool windowFree();
    void read(const QString& given);

    MainWindow& mWindow;
};
