#pragma once

#include <QPoint>
#include <QWidget>

class QComboBox;
class QSpinBox;
class QToolButton;
class ReadingModel;

// A compact row of the reading commands (Play/Pause, Stop, previous and next sentence, "Read selection") with the
// voice and speed. It shows what the reading model holds; its commands go out as signals to the window that runs
// them. The main window carries one above the reading area; a floating one stays over other programs.
class ReaderBar : public QWidget
{
    Q_OBJECT
public:
    explicit ReaderBar(ReadingModel& model, QWidget* parent = nullptr);

    // The look of the window's toolbar and the reading aids' typeface (empty for the toolbar's own).
    void setLook(const QPalette& palette, const QFont& font, const QString& family);

    QToolButton* playButton() const { return mPlay; }
    // Lists the model's voices again (they are set once the engine has started).
    void showVoices();

signals:
    void playPause();
    void stop();
    void previousSentence();
    void nextSentence();
    void readSelection();
    void voiceChosen(const QString& description);
    void speedChosen(int speed);

protected:
    void changeEvent(QEvent* event) override;

private:
    QToolButton* addButton(const QString& name, const QString& caption, const QString& hint);
    void showState();
    void fitPlayButton();

    ReadingModel& mModel;
    QToolButton* mPlay = nullptr;
    QToolButton* mStop = nullptr;
    QComboBox* mVoice = nullptr;
    QSpinBox* mSpeed = nullptr;
};

// The reader bar in a window of its own that stays above other programs, so text elsewhere can be read without the
// main window in the way. Closing it only hides it.
class FloatingReaderBar : public QWidget
{
    Q_OBJECT
public:
    explicit FloatingReaderBar(ReadingModel& model, QWidget* parent = nullptr);
    ReaderBar* bar() const { return mBar; }

signals:
    // The user closed the window (not a hide by the program).
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ReaderBar* mBar = nullptr;
};
