#include "window/spelling/SpellingAidDialog.h"

#include "core/TextRoutines.h"
#include "window/spelling/GridCells.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "speech/Voice.h"
#include "window/spelling/SpellingFile.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

bool SpellingAidDialog::ReadingWord = false;

namespace {
const char AssistantCaption[] = QT_TRANSLATE_NOOP("SpellingAidDialog", "Spelling Assistant");
const QString LetterPause = QStringLiteral("<silence msec='500'/>");
constexpr int InitialRows = 49;

QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    button->setFixedSize(120, 50);
    return button;
}
} // namespace

SpellingAidDialog::SpellingAidDialog(Voice& voice, const AppearanceSettings& appearance, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), mVoice(voice)
{
    setObjectName(QStringLiteral("frmSpellingAid"));
    setWindowTitle(tr(AssistantCaption));
    setFixedSize(526, 463);

    PanHeader = new QLabel(tr(AssistantCaption), this);
    PanHeader->setObjectName(QStringLiteral("PanHeader"));
    PanHeader->setGeometry(0, 0, 526, 41);
    PanHeader->setFrameStyle(QFrame::Panel | QFrame::Raised);
    PanHeader->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    PanHeader->setIndent(8);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(0, 41, 526, 343);
    auto* gridLayout = new QVBoxLayout(Panel2);
    gridLayout->setContentsMargins(0, 0, 0, 0);
    sgSpellingWords = new QTableWidget(InitialRows, 2, Panel2);
    sgSpellingWords->setObjectName(QStringLiteral("sgSpellingWords"));
    sgSpellingWords->setToolTip(tr("Press the [Enter] key to listen to the selected word"));
    sgSpellingWords->setAccessibleName(tr("Spelling words"));
    sgSpellingWords->setHorizontalHeaderLabels({tr("Word"), tr("Spelling")});
    sgSpellingWords->verticalHeader()->hide();
    sgSpellingWords->verticalHeader()->setMinimumSectionSize(1);
    sgSpellingWords->verticalHeader()->setDefaultSectionSize(35);
    sgSpellingWords->horizontalHeader()->setFixedHeight(35);
    sgSpellingWords->setColumnWidth(0, 248);
    sgSpellingWords->setColumnWidth(1, 253);
    sgSpellingWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgSpellingWords->setSelectionBehavior(QAbstractItemView::SelectRows);
    sgSpellingWords->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSpellingWords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgSpellingWords->installEventFilter(this);
    gridLayout->addWidget(sgSpellingWords);

    panButtons = new QFrame(this);
    panButtons->setObjectName(QStringLiteral("panButtons"));
    panButtons->setGeometry(0, 384, 526, 79);
    auto* separator = new QFrame(panButtons);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, 0, 526, 2);
    buLoad = makeButton(QStringLiteral("buLoad"), tr("&Load"), tr("Load a Parlivo test file"), panButtons);
    buLoad->move(8, 15);
    buRead = makeButton(QStringLiteral("buRead"), tr("&Read"), tr("Read the selected word"), panButtons);
    buRead->move(136, 15);
    buClose = makeButton(QStringLiteral("buClose"), tr("&Close"), tr("Close spelling assistant"), panButtons);
    buClose->move(398, 15);

    odSpellingLists.title = tr("Load Spelling Document");
    odSpellingLists.filter = tr("Spelling Documents (pvt)|*.pvt");
    // A name typed without an extension means a spelling file.
    odSpellingLists.defaultExtension = QString::fromLatin1(Spelling::Extension);

    connect(buLoad, &QPushButton::clicked, this, &SpellingAidDialog::buLoadClick);
    connect(buRead, &QPushButton::clicked, this, &SpellingAidDialog::buReadClick);
    connect(buClose, &QPushButton::clicked, this, &SpellingAidDialog::buCloseClick);
    connect(sgSpellingWords, &QTableWidget::cellDoubleClicked, this, [this] { ReadSelectedWord(); });

    ApplyColours(appearance);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void SpellingAidDialog::ApplyColours(const AppearanceSettings& appearance)
{
    QFont font(QStringLiteral("Verdana"));
    if (appearance.AppFontSize > 0)
        font.setPointSize(appearance.AppFontSize);
    setFont(font);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colourFromValue(appearance.ToolbarBColour));
    palette.setColor(QPalette::WindowText, colourFromValue(appearance.ToolbarFColour));
    setPalette(palette);
    setAutoFillBackground(true);

    QPalette buttons = panButtons->palette();
    buttons.setColor(QPalette::WindowText, colourFromValue(appearance.ToolbarFColour));
    buttons.setColor(QPalette::ButtonText, colourFromValue(appearance.ToolbarFColour));
    panButtons->setPalette(buttons);

    QPalette grid = sgSpellingWords->palette();
    grid.setColor(QPalette::Base, colourFromValue(appearance.TextAreaBColour));
    grid.setColor(QPalette::Text, colourFromValue(appearance.TextAreaFColour));
    sgSpellingWords->setPalette(grid);
    sgSpellingWords->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; color: %2; }")
            .arg(colourFromValue(appearance.ReaderBColour).name(), colourFromValue(appearance.TextAreaFColour).name()));
}

bool SpellingAidDialog::PrepareOpening(const QString& fileName)
{
    if (TrimControl(fileName).isEmpty())
        return true;
    try {
        LoadAssistantFile(fileName);
    } catch (const FileError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return false;
    }
    SetCaptionFor(fileName);
    return true;
}

void SpellingAidDialog::LoadAssistantFile(const QString& path)
{
    FileLines = ReadSpellingLines(path);
    try {
        const QStringList words = TestWordLines(FileLines);
        ClearGridKeepHeader(sgSpellingWords);
        sgSpellingWords->setRowCount(int(words.size()));
        for (int row = 0; row < words.size(); ++row) {
            const QString word = SplitWordLine(words.at(row)).word;
            sgSpellingWords->setItem(row, 0, new QTableWidgetItem(word));
            sgSpellingWords->setItem(row, 1, new QTableWidgetItem(SpelledOut(word)));
        }
        if (!words.isEmpty())
            sgSpellingWords->setCurrentCell(0, 0);
    } catch (const std::exception&) {
        prompts().message(tr("Unable to load spelling document. The document appears to contain error(s)."),
                          MessageKind::Error);
    }
}

void SpellingAidDialog::ChooseAssistantFile()
{
    odSpellingLists.initialFolder = appPath(QString::fromLatin1(Spelling::ListFolder));
    const QString path = prompts().openFile(odSpellingLists);
    if (path.isEmpty())
        return;
    try {
        LoadAssistantFile(path);
    } catch (const FileError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return;
    }
    SetCaptionFor(path);
}

void SpellingAidDialog::ReadSelectedWord()
{
    if (ReadingWord)
        return;
    ReadingWord = true;
    struct Done
    {
        ~Done() { SpellingAidDialog::ReadingWord = false; }
    } done;

    const QPointer<SpellingAidDialog> self(this);
    const int row = sgSpellingWords->currentRow();
    if (row < 0 || TrimControl(CellText(row, 0)).isEmpty())
        return;
    try {
        SpeakAndWait(mVoice, CellText(row, 0));
        if (!self)
            return;
        // Spelled from the row as it is now: a Load during the word changes the list, not the letters to come.
        const QList<uint> letters = CellText(row, 0).toUcs4();
        for (const uint unit : letters) {
            QCoreApplication::processEvents();
            if (!self)
                return;
            const char32_t letter = unit;
            if (letter != U' ' && !Closing)
                SpeakAndWait(mVoice, QString::fromUcs4(&letter, 1) + LetterPause);
            if (!self)
                return;
        }
    } catch (const SpeechError& error) {
        prompts().message(error.message(), MessageKind::Error);
    }
}

void SpellingAidDialog::CloseAssistant()
{
    Closing = true;
    StopSpeaking(mVoice);
    close();
}

void SpellingAidDialog::done(int result)
{
    // However the dialog closes, a word being spelled stops with it.
    Closing = true;
    StopSpeaking(mVoice);
    QDialog::done(result);
}

bool SpellingAidDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == sgSpellingWords && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ReadSelectedWord();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString SpellingAidDialog::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgSpellingWords->item(row, column);
    return item ? item->text() : QString();
}

void SpellingAidDialog::SetCaptionFor(const QString& path)
{
    setWindowTitle(tr("Spelling Assistant - %1").arg(DisplayName(path)));
}

void StopSpeaking(Voice& voice)
{
    try {
        voice.SkipAll();
    } catch (...) {
        // Stopping is best effort: a voice that cannot skip has nothing left to stop.
    }
}

void ShowSpellingAssistant(Voice& voice, const AppearanceSettings& appearance, const QString& fileName, QWidget* parent)
{
    SpellingAidDialog dialog(voice, appearance, parent);
    dialog.Closing = false;
    if (!dialog.PrepareOpening(fileName))
        return;
    dialog.exec();
}
