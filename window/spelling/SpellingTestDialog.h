#pragma once

#include "window/settings/AppearanceSettings.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class SpellingTimer;
class Voice;

// Gives a learner a timed spelling test: speaks the introduction, each word twice, allows the word's seconds to
// type it, then speaks the closing remark and the score and shows the results. One timer steps the test; the
// dialog refuses to close while a test runs.
class SpellingTestDialog : public QDialog
{
    Q_OBJECT
public:
    enum class TestState
    {
        Ready,
        Introduction,
        Prompt,
        Answer,
        Closing,
        Cancelled
    };

    static constexpr int PreparingHeight = 235;
    static constexpr int ResultsHeight = 572;

    // `timer` replaces the real timer (the dialog takes it over); tests pass one they fire by hand.
    SpellingTestDialog(Voice& voice, const AppearanceSettings& appearance, QWidget* parent = nullptr,
                       SpellingTimer* timer = nullptr);
    ~SpellingTestDialog() override;

    // Takes the lines of a spelling file. Throws FileError when there are fewer than two.
    void LoadTest(const QStringList& lines);

    void StartTest();
    void CancelTest();
    void CloseTest();
    void AnswerEntered();
    // One step of the test; the timer's only handler.
    void tiSpellingTestTimer();
    // Marks every correct answer with "*" and returns how many there are; words never asked count as wrong.
    int MarkAnswers();
    // The outer height (frame included), then the centring rule.
    void SetOuterHeight(int height);
    void CentreOnScreen();
    TestState State() const { return mState; }

    QStringList WordLines;
    int WordCount = 0;
    int WordIndex = 0;
    QString IntroSpeech;
    QString ClosingSpeech;
    bool SpeakNext = true;
    bool CancelPending = false;
    bool CloseAllowed = false;

    QFrame* panMenuBar = nullptr;
    QLabel* labSpelling = nullptr;
    QLineEdit* edWord = nullptr;
    QPushButton* buStart = nullptr;
    QPushButton* buCancel = nullptr;
    QPushButton* buClose = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QTableWidget* sgSpellingResults = nullptr;
    QLabel* labScore = nullptr;
    SpellingTimer* tiSpellingTest = nullptr;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buStartClick() { StartTest(); }
    void buCancelClick() { CancelTest(); }
    void buCloseClick() { CloseTest(); }

    void ApplyColours();
    void RecordAnswer();
    void AskWord();
    void CloseSpellingTest();
    void SpeakScore();
    void ShowResults();
    // Speaks and waits. False when the step must not go on: the voice failed (reported, test ended) or a new test
    // was started while it spoke.
    bool Say(const QString& text, int run);

    Voice& mVoice;
    AppearanceSettings mAppearance;
    TestState mState = TestState::Ready;
    int mOuterHeight = PreparingHeight;
    int mRun = 0;         // counts the tests started, so a step resumed after a newer start gives way
    bool mMarked = false; // marking twice would turn every correct answer wrong
    int mCorrect = 0;
    QList<bool> mAnswered; // per word: an answer has been recorded in this run
};

// Makes the test dialog for the lines of a spelling file, unseen. Throws FileError for fewer than two lines.
std::unique_ptr<SpellingTestDialog> MakeSpellingTest(Voice& voice, const AppearanceSettings& appearance,
                                                     const QStringList& lines, QWidget* parent = nullptr);
// Runs a test on the lines modally and frees the dialog when it closes. Throws FileError for fewer than two lines.
void RunSpellingTest(Voice& voice, const AppearanceSettings& appearance, const QStringList& lines,
                     QWidget* parent = nullptr);
// The main window's Spell button and "Spelling test ..." entry: lets the user choose a test file from
// "Spelling Test Files", makes it the current spelling file, reads its lines into `spellingWords` and runs the
// test. A file that cannot be read or has fewer than two lines is reported; the path is kept all the same.
void StartSpellingTest(Voice& voice, const AppearanceSettings& appearance, QString& spellingFile,
                       QStringList& spellingWords, QWidget* parent = nullptr);
