#include "window/spelling/SpellingTestDialog.h"

#include "core/TextRoutines.h"
#include "window/spelling/GridCells.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "core/Prompts.h"
#include "speech/Voice.h"
#include "window/spelling/SpellingFile.h"
#include "window/spelling/SpellingTimer.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValidator>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const QString TwoSecondSilence = QStringLiteral("<silence msec='2000'/>");
const QString ListenAgain = QStringLiteral(" <silence msec='2000'/> Please listen again. ");

// The answer box takes A to Z only, turning a to z into capitals; everything else typed or pasted is refused.
class AnswerValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        for (QChar& ch : input) {
            if (ch >= QLatin1Char('a') && ch <= QLatin1Char('z'))
                ch = QChar(ch.unicode() - 'a' + 'A');
            else if (ch < QLatin1Char('A') || ch > QLatin1Char('Z'))
                return Invalid;
        }
        return Acceptable;
    }
};

// The answer box keeps the caret where the learner left it instead of selecting the answer on entry.
class AnswerEdit : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QLineEdit::focusInEvent(event);
        deselect();
    }
};

QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setFlat(true);
    button->setAutoDefault(false);
    button->setFixedSize(113, 49);
    return button;
}

void setBackground(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// Half of a difference, rounded to the nearest pixel with a half going to the even neighbour.
int halfRoundedToEven(int difference)
{
    return int(std::nearbyint(difference / 2.0));
}
} // namespace

SpellingTestDialog::SpellingTestDialog(Voice& voice, const AppearanceSettings& appearance, QWidget* parent,
                                       SpellingTimer* timer)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mVoice(voice),
      mAppearance(appearance)
{
    setObjectName(QStringLiteral("frmDoSpellings"));
    setWindowTitle(tr("Spelling Test"));

    panMenuBar = new QFrame(this);
    panMenuBar->setObjectName(QStringLiteral("panMenuBar"));
    panMenuBar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    labSpelling = new QLabel(tr("Enter word spoken below:"), panMenuBar);
    labSpelling->setObjectName(QStringLiteral("labSpelling"));
    labSpelling->setGeometry(10, 6, 501, 24);
    edWord = new AnswerEdit(panMenuBar);
    edWord->setObjectName(QStringLiteral("edWord"));
    edWord->setToolTip(tr("Enter the word spoken here"));
    edWord->setAccessibleName(tr("Answer"));
    edWord->setGeometry(10, 32, 501, 70);
    edWord->setMaxLength(Spelling::MaxAnswerLength);
    edWord->setValidator(new AnswerValidator(edWord));
    edWord->setEnabled(false);
    edWord->installEventFilter(this);
    buStart = makeButton(QStringLiteral("buStart"), tr("Start"), tr("Click to start the test"), panMenuBar);
    buStart->move(10, 132);
    buCancel =
        makeButton(QStringLiteral("buCancel"), tr("Cancel"), tr("Click to cancel the spelling test"), panMenuBar);
    buCancel->move(133, 132);
    buCancel->setEnabled(false);
    buClose = makeButton(QStringLiteral("buClose"), tr("Close"), tr("Click to close this form"), panMenuBar);
    buClose->move(398, 132);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* resultsLayout = new QVBoxLayout(Panel1);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->setSpacing(0);
    Label1 = new QLabel(Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFixedHeight(25);
    sgSpellingResults = new QTableWidget(0, 2, Panel1);
    sgSpellingResults->setObjectName(QStringLiteral("sgSpellingResults"));
    sgSpellingResults->setToolTip(tr("Spelling results"));
    sgSpellingResults->setAccessibleName(tr("Spelling results"));
    // The grid is read with the arrow keys; Tab moves on to the buttons instead of from cell to cell.
    sgSpellingResults->setTabKeyNavigation(false);
    sgSpellingResults->setHorizontalHeaderLabels({tr("Correct Spelling"), tr("Student Spelling")});
    sgSpellingResults->verticalHeader()->hide();
    sgSpellingResults->verticalHeader()->setMinimumSectionSize(1);
    sgSpellingResults->verticalHeader()->setDefaultSectionSize(42);
    sgSpellingResults->horizontalHeader()->setFixedHeight(42);
    sgSpellingResults->setColumnWidth(0, 242);
    sgSpellingResults->setColumnWidth(1, 250);
    sgSpellingResults->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgSpellingResults->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgSpellingResults->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSpellingResults->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    labScore = new QLabel(tr("Score = "), Panel1);
    labScore->setObjectName(QStringLiteral("labScore"));
    labScore->setToolTip(tr("The test score"));
    labScore->setFixedHeight(37);
    resultsLayout->addWidget(Label1);
    resultsLayout->addWidget(sgSpellingResults, 1);
    resultsLayout->addWidget(labScore);

    tiSpellingTest = timer ? timer : new RealSpellingTimer;
    tiSpellingTest->setParent(this);
    tiSpellingTest->setObjectName(QStringLiteral("tiSpellingTest"));
    tiSpellingTest->stop();
    tiSpellingTest->setInterval(1);

    connect(buStart, &QPushButton::clicked, this, &SpellingTestDialog::buStartClick);
    connect(buCancel, &QPushButton::clicked, this, &SpellingTestDialog::buCancelClick);
    connect(buClose, &QPushButton::clicked, this, &SpellingTestDialog::buCloseClick);
    connect(tiSpellingTest, &SpellingTimer::timeout, this, &SpellingTestDialog::tiSpellingTestTimer);

    ApplyColours();
    SetOuterHeight(PreparingHeight);
}

SpellingTestDialog::~SpellingTestDialog() = default;

void SpellingTestDialog::ApplyColours()
{
    const AppearanceSettings& a = mAppearance;
    QFont font(QStringLiteral("Verdana"));
    if (a.AppFontSize > 0)
        font.setPointSize(a.AppFontSize);
    setFont(font);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colourFromValue(a.ToolbarBColour));
    palette.setColor(QPalette::WindowText, colourFromValue(a.ToolbarFColour));
    setPalette(palette);
    setAutoFillBackground(true);

    for (QPushButton* button : {buStart, buClose}) {
        QPalette buttonPalette = button->palette();
        buttonPalette.setColor(QPalette::ButtonText, colourFromValue(a.ToolbarFColour));
        button->setPalette(buttonPalette);
    }
    QPalette answer = edWord->palette();
    answer.setColor(QPalette::Text, colourFromValue(a.TextAreaFColour));
    answer.setColor(QPalette::Base, colourFromValue(a.TextAreaBColour));
    edWord->setPalette(answer);
    // The panels carry the prompt label in the toolbar's text colour, so they take the toolbar's background:
    // on the reading text's colour (dark in every readable scheme) the prompt could not be read.
    for (QWidget* panel :
         {static_cast<QWidget*>(panMenuBar), static_cast<QWidget*>(Panel1), static_cast<QWidget*>(Label1)})
        setBackground(panel, colourFromValue(a.ToolbarBColour));

    QPalette grid = sgSpellingResults->palette();
    grid.setColor(QPalette::Base, colourFromValue(a.TextAreaBColour));
    grid.setColor(QPalette::Text, colourFromValue(a.TextAreaFColour));
    sgSpellingResults->setPalette(grid);
    sgSpellingResults->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; color: %2; }")
            .arg(colourFromValue(a.ToolbarBColour).name(), colourFromValue(a.TextAreaFColour).name()));
}

void SpellingTestDialog::LoadTest(const QStringList& lines)
{
    WordLines = lines;
    if (WordLines.size() < 2)
        throw FileError(tr("The spelling file holds no introduction and closing remark."));
    IntroSpeech = WordLines.at(0) + TwoSecondSilence;
    ClosingSpeech = WordLines.at(1) + TwoSecondSilence;
    WordLines = TestWordLines(WordLines);
    WordCount = int(WordLines.size());
    sgSpellingResults->setRowCount(WordCount);
    CentreOnScreen();
}

void SpellingTestDialog::StartTest()
{
    // A tick left over from a cancelled run must not step into this one.
    tiSpellingTest->stop();
    CancelPending = false;
    SetOuterHeight(PreparingHeight);

    WordIndex = 0;
    mMarked = false;
    mAnswered = QList<bool>(WordCount, false);
    for (int i = 0; i < WordCount; ++i) {
        sgSpellingResults->setItem(i, 0, new QTableWidgetItem(SplitWordLine(WordLines.at(i)).word.toUpper()));
        sgSpellingResults->setItem(i, 1, new QTableWidgetItem);
    }
    if (GridFirstColumnBlank(sgSpellingResults)) {
        prompts().message(tr("The spelling file loaded contains no words."), MessageKind::Information);
        return;
    }

    const int run = ++mRun;
    mState = TestState::Introduction;
    buClose->setEnabled(false);
    buStart->setEnabled(false);
    buCancel->setEnabled(true);
    if (!Say(IntroSpeech, run))
        return;
    SpeakNext = true;
    tiSpellingTest->setInterval(1);
    tiSpellingTest->start();
    if (!CancelPending)
        edWord->setEnabled(true);
}

void SpellingTestDialog::tiSpellingTestTimer()
{
    tiSpellingTest->stop();
    if (CancelPending) {
        CancelPending = false;
        SpeakNext = true;
        return;
    }
    if (!SpeakNext)
        RecordAnswer();
    else if (WordIndex < WordCount)
        AskWord();
    else
        CloseSpellingTest();
}

void SpellingTestDialog::RecordAnswer()
{
    SpeakNext = true;
    edWord->setEnabled(false);
    if (WordIndex < WordCount) {
        sgSpellingResults->item(WordIndex, 1)->setText(edWord->text());
        mAnswered[WordIndex] = true;
        ++WordIndex;
        mState = TestState::Prompt;
        edWord->clear();
        tiSpellingTest->setInterval(1);
        tiSpellingTest->start();
    }
}

void SpellingTestDialog::AskWord()
{
    const int run = mRun;
    SpeakNext = false;
    mState = TestState::Prompt;
    try {
        const WordLine line = SplitWordLine(WordLines.at(WordIndex));
        const qint64 seconds = StrToInt(line.seconds);
        // The answer period runs from the end of the second hearing; nonsense times must not overflow it.
        tiSpellingTest->setInterval(int(std::clamp<qint64>(seconds * 1000 + 500, 0, std::numeric_limits<int>::max())));
        if (!Say(line.word + ListenAgain + line.word, run))
            return;
        if (!CancelPending) {
            edWord->clear();
            edWord->setEnabled(true);
            // A screen reader says which word this is as the answer box takes the focus.
            edWord->setAccessibleName(tr("Answer to word %1 of %2").arg(WordIndex + 1).arg(WordCount));
            edWord->setFocus();
        }
    } catch (const ConversionError& error) {
        // The word is not asked; the next tick records whatever the answer box holds and goes on.
        prompts().message(error.message(), MessageKind::Error);
    }
    if (!CancelPending)
        mState = TestState::Answer;
    tiSpellingTest->start();
}

void SpellingTestDialog::CloseSpellingTest()
{
    const int run = mRun;
    // Cancel is refused once every answer is in, so the closing speech and the score are never interrupted
    // into a second marking.
    mState = TestState::Closing;
    buCancel->setEnabled(false);
    edWord->clear();
    QCoreApplication::processEvents();
    if (!Say(ClosingSpeech, run))
        return;
    SpeakScore();
    if (run == mRun)
        ShowResults();
}

void SpellingTestDialog::CancelTest()
{
    if (mState != TestState::Introduction && mState != TestState::Prompt && mState != TestState::Answer)
        return;
    const int run = mRun;
    tiSpellingTest->stop();
    edWord->clear();
    CancelPending = true;
    mState = TestState::Cancelled;
    QCoreApplication::processEvents();
    if (!Say(QStringLiteral("You cancelled the spelling test."), run))
        return;
    SpeakScore();
    if (run == mRun)
        ShowResults();
}

void SpellingTestDialog::SpeakScore()
{
    const int correct = MarkAnswers();
    const QString score = QStringLiteral("Your score is, %1 out of %2.").arg(correct).arg(WordLines.size());
    // The label tells a screen reader of a new text itself; the same score as last time is told here.
    if (labScore->text() == score) {
        QAccessibleEvent changed(labScore, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    labScore->setText(score);
    Say(labScore->text(), mRun);
}

void SpellingTestDialog::ShowResults()
{
    mState = TestState::Ready;
    buClose->setEnabled(true);
    buStart->setEnabled(true);
    edWord->setEnabled(false);
    buCancel->setEnabled(false);
    SetOuterHeight(ResultsHeight);
    sgSpellingResults->setFocus();
}

bool SpellingTestDialog::Say(const QString& text, int run)
{
    try {
        SpeakAndWait(mVoice, text);
    } catch (const ParlivoError& error) {
        // Without a voice the test cannot go on; leave the dialog ready so it can be closed.
        tiSpellingTest->stop();
        CancelPending = false;
        mState = TestState::Ready;
        buClose->setEnabled(true);
        buStart->setEnabled(true);
        edWord->setEnabled(false);
        buCancel->setEnabled(false);
        prompts().message(error.message(), MessageKind::Error);
        return false;
    }
    return run == mRun;
}

int SpellingTestDialog::MarkAnswers()
{
    if (mMarked)
        return mCorrect;
    mMarked = true;
    int& correct = mCorrect;
    correct = 0;
    for (int row = 0; row < sgSpellingResults->rowCount() && row < mAnswered.size(); ++row) {
        QTableWidgetItem* word = sgSpellingResults->item(row, 0);
        QTableWidgetItem* answer = sgSpellingResults->item(row, 1);
        if (!mAnswered.at(row) || !word || !answer || word->text() != answer->text())
            continue;
        ++correct;
        answer->setText(answer->text() + QLatin1Char('*'));
    }
    return correct;
}

void SpellingTestDialog::AnswerEntered()
{
    if (mState != TestState::Answer || CancelPending || WordIndex >= WordCount)
        return;
    tiSpellingTest->stop();
    tiSpellingTest->setInterval(1);
    tiSpellingTest->start();
}

void SpellingTestDialog::CloseTest()
{
    CloseAllowed = true;
    close();
}

void SpellingTestDialog::reject()
{
    // Escape and the window manager's close both end up here; only the Close button may close the dialog.
    if (CloseAllowed)
        QDialog::reject();
}

void SpellingTestDialog::closeEvent(QCloseEvent* event)
{
    if (!CloseAllowed) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void SpellingTestDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    panMenuBar->setGeometry(0, 0, width(), 206);
    Panel1->setGeometry(0, 206, width(), qMax(0, height() - 206));
    // Folded under the questions (a window system that draws no frame leaves a strip of it), the results would show
    // their captions squeezed over each other: they show once the dialog opens out to them.
    Panel1->setVisible(Panel1->height() >= Panel1->minimumSizeHint().height());
}

bool SpellingTestDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == edWord && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AnswerEntered();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SpellingTestDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The frame is known only once the window is shown.
    SetOuterHeight(mOuterHeight);
}

void SpellingTestDialog::SetOuterHeight(int height)
{
    mOuterHeight = height;
    const int frame = frameGeometry().height() - geometry().height();
    setFixedSize(521, qMax(1, height - frame));
    CentreOnScreen();
}

void SpellingTestDialog::CentreOnScreen()
{
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->geometry();
    const QRect outer = frameGeometry();
    move(desktop.left() + halfRoundedToEven(desktop.width() - outer.width()),
         desktop.top() + halfRoundedToEven(desktop.height() - outer.height()));
}

std::unique_ptr<SpellingTestDialog> MakeSpellingTest(Voice& voice, const AppearanceSettings& appearance,
                                                     const QStringList& lines, QWidget* parent)
{
    auto dialog = std::make_unique<SpellingTestDialog>(voice, appearance, parent);
    dialog->LoadTest(lines);
    return dialog;
}

void RunSpellingTest(Voice& voice, const AppearanceSettings& appearance, const QStringList& lines, QWidget* parent)
{
    MakeSpellingTest(voice, appearance, lines, parent)->exec();
}

void StartSpellingTest(Voice& voice, const AppearanceSettings& appearance, QString& spellingFile,
                       QStringList& spellingWords, QWidget* parent)
{
    FileDialogSpec odTestFile;
    odTestFile.title = SpellingTestDialog::tr("Open Parlivo Test File");
    odTestFile.filter = SpellingTestDialog::tr("Parlivo Test File (*.pvt)|*.pvt");
    odTestFile.defaultExtension = QString::fromLatin1(Spelling::Extension);
    odTestFile.initialFolder = appPath(QString::fromLatin1(Spelling::TestFolder));
    odTestFile.mustExist = true;
    const QString path = prompts().openFile(odTestFile);
    if (path.isEmpty())
        return;
    spellingFile = path;

    std::unique_ptr<SpellingTestDialog> dialog;
    try {
        spellingWords = ReadSpellingLines(path);
        dialog = MakeSpellingTest(voice, appearance, spellingWords, parent);
    } catch (const ParlivoError&) {
        prompts().message(SpellingTestDialog::tr("There was a problem and the spelling file could not be loaded."),
                          MessageKind::Information);
        return;
    }
    dialog->exec();
}
