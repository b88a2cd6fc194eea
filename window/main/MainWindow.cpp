#include "window/main/MainWindow.h"

#include "window/main/ToolbarButton.h"
#include "window/main/ReaderBar.h"
#include "window/main/StatusLine.h"
#include "window/settings/MenuDecorator.h"
#include "window/settings/WindowAppearance.h"
#include "window/face/ReaderFace.h"
#include "window/readingarea/LinkClicks.h"
#include "window/web/WebPanel.h"
#include "window/main/MenuMarker.h"
#include "formats/ReadingPlaces.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "core/Prompts.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

namespace {
QFont verdana(int pixelSize)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixelSize);
    return font;
}

// `text` for the status bar: while no sound device can be used, whatever it shows says that nothing is heard.
QString withSoundNote(const QString& text, Voice* voice)
{
    if (!voice || !voice->engine().soundLost())
        return text;
    const QString note = MainWindow::tr("No sound device can be used, so nothing is heard.");
    return text.isEmpty() ? note : text + QStringLiteral("  ") + note;
}
} // namespace

MainWindow::MainWindow(std::unique_ptr<SpeechEngine> engine, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmReader"));
    setWindowTitle(QStringLiteral("Parlivo"));
    resize(790, 544);
    setFont(verdana(29));
    setAutoFillBackground(true);
    QPalette teal = palette();
    teal.setColor(QPalette::Window, QColor(0, 128, 128));
    teal.setColor(QPalette::WindowText, QColor(0, 255, 0));
    setPalette(teal);

    spVoice = new Voice(std::move(engine), this);
    mReading = new ReadingModel(*spVoice, this);
    // Where reading stopped in each document lives beside the settings, in a file of its own.
    mReadingPlaces = std::make_unique<ReadingPlaces>(appPath(QStringLiteral("Parlivo places.json")));
    buildLayout();
    mReading->setDocument(reText->document());
    buildMenus();
    setupAppearance();
    setupReadingAids();
    connectSurfaces();
    setupTranslation();
    setupWritingHelp();
}

MainWindow::~MainWindow()
{
    FormDestroy();
}

void MainWindow::describe(QWidget* control, const QString& name, const QString& caption, const QString& hint)
{
    control->setObjectName(name);
    if (!hint.isEmpty()) {
        control->setToolTip(hint);
        control->setStatusTip(hint);
        control->setAccessibleDescription(hint);
    }
    control->setAccessibleName(caption.isEmpty() ? hint : QString(caption).remove(QLatin1Char('&')));
}

void MainWindow::buildLayout()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* middle = new QHBoxLayout();
    middle->setSpacing(0);
    outer->addLayout(middle, 1);

    // Reader panel: the face with Clear and Find at its bottom.
    panReader = new QWidget(this);
    describe(panReader, QStringLiteral("panReader"), QString(), QString());
    panReader->setFixedWidth(121);
    panReader->setAutoFillBackground(true);
    middle->addWidget(panReader);

    imgReader = new ReaderFace(panReader);
    describe(imgReader, QStringLiteral("imgReader"), QStringLiteral("Parlivo"),
             tr("Parlivo \n- right click for reader options\n- left click to start or pause reading\n"
                "- double click to stop reading\n- keys: F5 read, F6 pause, F7 stop, Shift+F10 options\n"
                "- Alt+Left/Right: previous/next sentence, Alt+Up/Down: paragraph, F9: say again"));
    imgReader->setGeometry(0, 5, 121, 137);

    buReadingAreaClear = new ToolbarButton(tr("Clear"), panReader);
    describe(buReadingAreaClear, QStringLiteral("buReadingAreaClear"), tr("Clear"), tr("Clear reading area"));
    buFind = new ToolbarButton(tr("Find"), panReader);
    describe(buFind, QStringLiteral("buFind"), tr("Find"), tr("Find text in reading area"));

    // Text area: toolbar, reading area, splitter and web panel.
    panTextArea = new QWidget(this);
    describe(panTextArea, QStringLiteral("panTextArea"), QString(), QString());
    panTextArea->setAutoFillBackground(true);
    middle->addWidget(panTextArea, 1);
    auto* textLayout = new QVBoxLayout(panTextArea);
    textLayout->setContentsMargins(1, 1, 1, 1);
    textLayout->setSpacing(0);

    panToolBarController = new QWidget(panTextArea);
    describe(panToolBarController, QStringLiteral("panToolBarController"), QString(), QString());
    panToolBarController->setFixedHeight(57);
    textLayout->addWidget(panToolBarController);
    cbarMain2 = new QWidget(panToolBarController);
    describe(cbarMain2, QStringLiteral("cbarMain2"), QString(), QString());
    cbarMain2->setAutoFillBackground(true);
    auto* toolbarHolder = new QVBoxLayout(panToolBarController);
    toolbarHolder->setContentsMargins(0, 0, 0, 0);
    toolbarHolder->addWidget(cbarMain2);

    buOpen = new ToolbarButton(tr("Open"), cbarMain2);
    describe(buOpen, QStringLiteral("buOpen"), tr("Open"), tr("Open a document for reading"));
    buSAve = new ToolbarButton(tr("Save"), cbarMain2);
    describe(buSAve, QStringLiteral("buSAve"), tr("Save"), tr("Save"));
    buSpelling = new ToolbarButton(tr("Spell"), cbarMain2);
    describe(buSpelling, QStringLiteral("buSpelling"), tr("Spell"), tr("Start a spelling test"));
    buMinimise = new ToolbarButton(tr("Hide"), cbarMain2);
    describe(buMinimise, QStringLiteral("buMinimise"), tr("Hide"), tr("Hide/Minimise Parlivo"));
    buExit = new ToolbarButton(tr("Exit"), cbarMain2);
    describe(buExit, QStringLiteral("buExit"), tr("Exit"), tr("Exit Parlivo"));
    buOpen->move(1, 3);
    buSAve->move(113, 3);
    buSpelling->move(225, 3);
    Panel3 = new QWidget(cbarMain2);
    describe(Panel3, QStringLiteral("Panel3"), QString(), QString());
    Panel3->setAutoFillBackground(true);
    QPalette rule = Panel3->palette();
    rule.setColor(QPalette::Window, QColor(0, 0, 0, 60));
    Panel3->setPalette(rule);

    // The reading commands in sight above the reading area, so a new user sees Play at once.
    mReaderBar = new ReaderBar(*mReading, panTextArea);
    textLayout->addWidget(mReaderBar);

    sltWebSplitter = new QSplitter(Qt::Vertical, panTextArea);
    sltWebSplitter->setObjectName(QStringLiteral("sltWebSplitter"));
    sltWebSplitter->setHandleWidth(7);
    sltWebSplitter->setOpaqueResize(true);
    sltWebSplitter->setChildrenCollapsible(false);
    textLayout->addWidget(sltWebSplitter, 1);

    reText = new QTextEdit(sltWebSplitter);
    describe(reText, QStringLiteral("reText"), tr("Reading area"), tr("Reading area"));
    reText->setFrameShape(QFrame::NoFrame);
    reText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reText->setTabChangesFocus(false);
    reText->setAcceptRichText(true);
    reText->setContextMenuPolicy(Qt::NoContextMenu);
    reText->setMinimumHeight(20);
    // Shown only while the reading area is empty; it is no text of the document.
    reText->setPlaceholderText(tr("Type or paste text here, or press Open. Then press Play to hear it read aloud."));
    reText->document()->setMaximumBlockCount(0);
    reText->document()->setUndoRedoEnabled(true);
    // The selection is the highlight: keep it visible when the reading area loses the focus.
    QPalette selection = reText->palette();
    selection.setColor(QPalette::Inactive, QPalette::Highlight, selection.color(QPalette::Active, QPalette::Highlight));
    selection.setColor(QPalette::Inactive, QPalette::HighlightedText,
                       selection.color(QPalette::Active, QPalette::HighlightedText));
    reText->setPalette(selection);

    Panel1 = new WebPanel(sltWebSplitter);
    Panel1->setMinimumHeight(20);
    mLinkClicks = new LinkClicks(reText);
    // The web panel is its address bar alone until its browser starts; then it takes its design height, if the
    // reading area keeps at least as much.
    sltWebSplitter->setSizes({400, Panel1->sizeHint().height()});
    connect(Panel1, &WebPanel::browserStartedNow, this, [this] {
        const QList<int> sizes = sltWebSplitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        const int web = qMin(Panel1->sizeHint().height(), total / 2);
        sltWebSplitter->setSizes({total - web, web});
    });
    sltWebSplitter->setStretchFactor(0, 1);
    sltWebSplitter->setStretchFactor(1, 0);

    statusBar = new StatusLine(this);
    describe(statusBar, QStringLiteral("statusBar"), QString(), QString());
    statusBar->setFixedHeight(25);
    statusBar->setAutoFillBackground(true);
    statusBar->setFrameShape(QFrame::Panel);
    statusBar->setFrameShadow(QFrame::Sunken);
    statusBar->setIndent(4);
    outer->addWidget(statusBar);

    // Hidden and unreached controls: the path carrier of document loading and the reading list.
    edAddress = new QLineEdit(this);
    edAddress->setObjectName(QStringLiteral("edAddress"));
    edAddress->hide();
    clbReadingList = new QListWidget(this);
    clbReadingList->setObjectName(QStringLiteral("clbReadingList"));
    clbReadingList->hide();

    reText->setFocus();
}

void MainWindow::layoutToolbar()
{
    const int width = cbarMain2->width();
    // Exit and Hide keep their distance from the right end as the window grows.
    buExit->move(width - 102, 3);
    buMinimise->move(width - 210, 3);
    Panel3->setGeometry(0, cbarMain2->height() - 1, width, 1);
}

void MainWindow::layoutReaderPanel()
{
    // Clear and Find stay at the bottom of the reader panel.
    const int height = panReader->height();
    buReadingAreaClear->move(11, height - 109);
    buFind->move(11, height - 53);
}

bool MainWindow::FormCreate()
{
    mExiting = false;
    mSpellingWords.clear();
    mSpellingFile.clear();
    mCurrentViseme = 0;
    mSpellingDelay = 10;
    mReading->setAutoReadMode(AutoReadMode::Sentence);
    try {
        StartVoices();
        ListColourSchemes();
    } catch (const std::exception&) {
        prompts().message(tr("Speech Engine not installed."));
        return false;
    }
    LoadPronunciations();
    LoadSettings();
    mReadingPlaces->load();
    ListRecentDocuments();
    mDocumentBuffer.clear();
    ApplyAppearance();
    // The sample voice some engines list is no reader to choose; its menu item, if any, stays but does nothing.
    QList<VoiceToken> offered = mReading->voices();
    offered.removeIf([](const VoiceToken& token) { return token.description == QLatin1String("Sample TTS Voice"); });
    mReading->setVoices(offered);
    mReaderBar->showVoices();
    // The window starts idle whether or not a saved voice has spoken: Pause and Stop wait for a reading.
    EnterIdleState();
    RestoreDraft();
    setupKeepingWork();
    return true;
}

void MainWindow::FormActivate()
{
    if (mActivating)
        return;
    mActivating = true;
    // The window covers the whole desktop, all monitors together.
    QRect desktop;
    for (const QScreen* screen : QGuiApplication::screens())
        desktop = desktop.united(screen->geometry());
    if (!desktop.isEmpty())
        setGeometry(desktop);
    ApplyAppearance();
    RefreshWebPanel();
    if (!reText->isReadOnly() && !mClickFocused)
        reText->setFocus();
    mClickFocused = false;
    mActivating = false;
}

void MainWindow::ExitReader()
{
    mExiting = true;
    close();
}

void MainWindow::buMinimiseClick()
{
    showMinimized();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Each part of keeping the work reports or swallows its own failure: the window closes in any case.
    KeepWork(mExiting);
    event->accept();
}

void MainWindow::FormDestroy()
{
    // The voice tokens are plain values; stopping the voice is all that must happen before it goes.
    try {
        if (spVoice && mReading->busy())
            spVoice->SkipAll();
    } catch (...) {
    }
    mDocumentBuffer.clear();
}

QString LongHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString HintWithKey(const QString& hint, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(hint, key.toString(QKeySequence::NativeText));
}

void MainWindow::ShowHintInStatusBar(const QString& hint)
{
    if (!mNoticeShown.hasExpired())
        return;
    // The status bar is one line high: a hint of several lines is shown on one.
    statusBar->setText(withSoundNote(LongHint(hint).simplified(), spVoice));
}

void MainWindow::ShowStatusText(const QString& shown)
{
    const QString text = withSoundNote(shown, spVoice);
    // The status bar is the window's live region: its name is what a screen reader announces. The label tells
    // of a new text itself; the same state twice in a row (two readings stopped) is told here.
    if (statusBar->text() == text) {
        QAccessibleEvent changed(statusBar, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    }
    statusBar->setText(text);
}

void MainWindow::ShowNotice(const QString& text)
{
    ShowStatusText(text);
    mNoticeShown.setRemainingTime(std::chrono::seconds(10));
}

bool MainWindow::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StatusTip:
        ShowHintInStatusBar(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    case QEvent::WindowActivate:
        QWidget::event(event);
        FormActivate();
        return true;
    default:
        break;
    }
    return QWidget::event(event);
}
