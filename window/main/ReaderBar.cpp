#include "window/main/ReaderBar.h"

#include "speech/ReadingModel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace {
// The voice list is as wide as its longest name where there is room, and may narrow to a few letters on a small
// screen (its list still opens wide enough to read), so the bar never widens the window past the screen.
void letVoiceListNarrow(QComboBox* voice)
{
    voice->setMinimumWidth(voice->fontMetrics().averageCharWidth() * 10);
}
} // namespace

ReaderBar::ReaderBar(ReadingModel& model, QWidget* parent) : QWidget(parent), mModel(model)
{
    setObjectName(QStringLiteral("panReaderBar"));
    setAccessibleName(tr("Reader bar"));
    setAutoFillBackground(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    mPlay = addButton(QStringLiteral("buBarPlay"), tr("Play"), tr("Start or resume reading"));
    mStop = addButton(QStringLiteral("buBarStop"), tr("Stop"), tr("Stop reading"));
    QToolButton* previous =
        addButton(QStringLiteral("buBarPrevious"), tr("Previous sentence"), tr("Read the sentence before"));
    QToolButton* next =
        addButton(QStringLiteral("buBarNext"), tr("Next sentence"), tr("Read on from the next sentence"));
    QToolButton* selection = addButton(QStringLiteral("buBarReadSelection"), tr("Read selection"),
                                       tr("Read the text selected in any program, else the clipboard"));
    // Arrows read faster than words in a narrow bar; their spoken names stay the words. The style's own pictures,
    // since the usual type has no glyph for the media symbols.
    previous->setIcon(style()->standardIcon(QStyle::SP_MediaSkipBackward));
    next->setIcon(style()->standardIcon(QStyle::SP_MediaSkipForward));
    for (QToolButton* arrow : {previous, next})
        arrow->setToolButtonStyle(Qt::ToolButtonIconOnly);

    mVoice = new QComboBox(this);
    mVoice->setObjectName(QStringLiteral("cbBarVoice"));
    mVoice->setAccessibleName(tr("Voice"));
    mVoice->setToolTip(tr("The voice that reads"));
    mVoice->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // Until a voice is chosen the engine's default voice reads.
    mVoice->setPlaceholderText(tr("Default voice"));
    mSpeed = new QSpinBox(this);
    mSpeed->setObjectName(QStringLiteral("sbBarSpeed"));
    mSpeed->setAccessibleName(tr("Reading speed"));
    mSpeed->setToolTip(tr("Reading speed, 1 to 10"));
    mSpeed->setRange(1, 10);
    letVoiceListNarrow(mVoice);
    row->addWidget(mVoice);
    row->addWidget(mSpeed);
    row->addStretch(1);

    connect(mPlay, &QToolButton::clicked, this, &ReaderBar::playPause);
    connect(mStop, &QToolButton::clicked, this, &ReaderBar::stop);
    connect(previous, &QToolButton::clicked, this, &ReaderBar::previousSentence);
    connect(next, &QToolButton::clicked, this, &ReaderBar::nextSentence);
    connect(selection, &QToolButton::clicked, this, &ReaderBar::readSelection);
    connect(mVoice, &QComboBox::activated, this, [this] { emit voiceChosen(mVoice->currentText()); });
    connect(mSpeed, &QSpinBox::valueChanged, this, [this](int speed) {
        if (mModel.speed() != speed)
            emit speedChosen(speed);
    });
    connect(&mModel, &ReadingModel::stateChanged, this, &ReaderBar::showState);
    connect(&mModel, &ReadingModel::voiceChanged, this, &ReaderBar::showVoices);
    connect(&mModel, &ReadingModel::speedChanged, this, [this](int speed) {
        const QSignalBlocker quiet(mSpeed);
        mSpeed->setValue(speed);
    });
    showVoices();
    mSpeed->setValue(mModel.speed().value_or(DefaultReadingSpeed));
    showState();
    fitPlayButton();
}

QToolButton* ReaderBar::addButton(const QString& name, const QString& caption, const QString& hint)
{
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setText(caption);
    button->setAccessibleName(caption);
    button->setToolTip(hint);
    button->setStatusTip(hint);
    button->setAccessibleDescription(hint);
    button->setAutoRaise(true);
    layout()->addWidget(button);
    return button;
}

void ReaderBar::setLook(const QPalette& palette, const QFont& font, const QString& family)
{
    setPalette(palette);
    QFont type = font;
    if (!family.isEmpty())
        type.setFamily(family);
    // A bar, not a toolbar: the type of the window at a size that keeps it one short row.
    type.setPixelSize(qBound(12, type.pixelSize() > 0 ? type.pixelSize() : 16, 20));
    setFont(type);
    letVoiceListNarrow(mVoice);
}

void ReaderBar::showState()
{
    const bool speaking = mModel.state() == ReadingState::Reading;
    const QString caption = speaking ? tr("Pause") : tr("Play");
    mPlay->setText(caption);
    mPlay->setAccessibleName(caption);
    mStop->setEnabled(mModel.reading());
}

void ReaderBar::fitPlayButton()
{
    // Wide enough for either caption, so the buttons beside it stay put as Play becomes Pause.
    const QString shown = mPlay->text();
    int width = 0;
    for (const QString& caption : {tr("Play"), tr("Pause")}) {
        mPlay->setText(caption);
        width = qMax(width, mPlay->sizeHint().width());
    }
    mPlay->setText(shown);
    mPlay->setFixedWidth(width);
}

void ReaderBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitPlayButton();
}

void ReaderBar::showVoices()
{
    const QSignalBlocker quiet(mVoice);
    mVoice->clear();
    for (const VoiceToken& voice : mModel.voices())
        mVoice->addItem(voice.description);
    mVoice->setCurrentIndex(mVoice->findText(mModel.voice()));
}

FloatingReaderBar::FloatingReaderBar(ReadingModel& model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmReaderBar"));
    setWindowTitle(tr("Parlivo reader bar"));
    setAccessibleName(windowTitle());
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mBar = new ReaderBar(model, this);
    mBar->setObjectName(QStringLiteral("panFloatingReaderBar"));
    layout->addWidget(mBar);
}

void FloatingReaderBar::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closedByUser();
}
