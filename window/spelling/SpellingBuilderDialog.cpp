#include "window/spelling/SpellingBuilderDialog.h"

#include "core/TextRoutines.h"
#include "window/spelling/GridCells.h"
#include "core/AppFolder.h"
#include "core/Errors.h"
#include "window/spelling/SpellingFile.h"

#include <QApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QValidator>

namespace {
const char BuilderCaption[] = QT_TRANSLATE_NOOP("SpellingBuilderDialog", "Spelling Test Builder");
const char SpellingFilter[] = QT_TRANSLATE_NOOP("SpellingBuilderDialog", "Spelling Documents (pvt)|*.pvt");

// Refuses, as they are typed, characters that break a cell's rule; a shorter entry is always acceptable.
class CellValidator : public QValidator
{
public:
    CellValidator(bool letters, QObject* parent) : QValidator(parent), mLetters(letters) {}

    State validate(QString& input, int&) const override
    {
        for (const QChar ch : input) {
            // Any letter of any language, accents included, for words; the ten digits for times.
            const bool allowed = mLetters ? ch.isLetter() : (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'));
            if (!allowed)
                return Invalid;
        }
        return Acceptable;
    }

private:
    bool mLetters;
};

// Word cells take at most 25 letters, time cells at most three digits.
class SpellingCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        const bool word = index.column() == 0;
        editor->setMaxLength(word ? Spelling::MaxWordLength : Spelling::MaxTimeDigits);
        editor->setValidator(new CellValidator(word, editor));
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        // Text loaded from a file may break the rule; the editor shows it as far as the rule allows.
        auto* line = static_cast<QLineEdit*>(editor);
        QString text;
        const bool word = index.column() == 0;
        for (const QChar ch : index.data(Qt::EditRole).toString()) {
            if (word ? ch.isLetter() : (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
                text += ch;
        }
        line->setText(text.left(line->maxLength()));
    }
};

QPushButton* makeButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

QPlainTextEdit* makeRemarkBox(const QString& name, const QString& hint, QWidget* parent)
{
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    box->setToolTip(hint);
    box->setAccessibleName(hint);
    box->setTabChangesFocus(true);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}
} // namespace

SpellingBuilderDialog::SpellingBuilderDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmSpelingBuildWordList"));
    setWindowTitle(tr(BuilderCaption));
    setFixedSize(376, 397);
    setFont(QFont(QStringLiteral("Verdana"), 8));

    labIntroduction = new QLabel(tr("Introduction"), this);
    labIntroduction->setGeometry(8, 6, 200, 16);
    memSpellingInto =
        makeRemarkBox(QStringLiteral("memSpellingInto"), tr("Introductory remarks to spelling test"), this);
    memSpellingInto->setGeometry(8, 22, 361, 49);
    labClosing = new QLabel(tr("Closing"), this);
    labClosing->setGeometry(8, 76, 200, 16);
    memClosing = makeRemarkBox(QStringLiteral("memClosing"), tr("Spelling test closing remarks"), this);
    memClosing->setGeometry(8, 92, 361, 49);
    labSpellings = new QLabel(tr("Spellings"), this);
    labSpellings->setGeometry(8, 146, 200, 16);

    sgSpellingWords = new QTableWidget(Spelling::WordRows, 2, this);
    sgSpellingWords->setObjectName(QStringLiteral("sgSpellingWords"));
    sgSpellingWords->setToolTip(tr("Spelling test word list"));
    sgSpellingWords->setAccessibleName(tr("Spelling test word list"));
    sgSpellingWords->setGeometry(8, 162, 361, 137);
    sgSpellingWords->setHorizontalHeaderLabels({tr("Words"), tr("Spelling Time (Secs)")});
    sgSpellingWords->verticalHeader()->hide();
    sgSpellingWords->verticalHeader()->setMinimumSectionSize(18);
    sgSpellingWords->verticalHeader()->setDefaultSectionSize(18);
    sgSpellingWords->horizontalHeader()->setFixedHeight(18);
    sgSpellingWords->setColumnWidth(0, 202);
    sgSpellingWords->setColumnWidth(1, 136);
    sgSpellingWords->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    sgSpellingWords->setSelectionMode(QAbstractItemView::SingleSelection);
    sgSpellingWords->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                                     QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    sgSpellingWords->setTabKeyNavigation(true);
    sgSpellingWords->setItemDelegate(new SpellingCellDelegate(sgSpellingWords));

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(0, 312, 376, 2);

    buClear = makeButton(QStringLiteral("buClear"), tr("&New"), tr("Create new spelling screen"), this);
    buLoad = makeButton(QStringLiteral("buLoad"), tr("&Load"), tr("Load a spelling test file"), this);
    buSave = makeButton(QStringLiteral("buSave"), tr("&Save"), tr("Save spelling details to file"), this);
    buClose = makeButton(QStringLiteral("buClose"), tr("&Close"), tr("Close the spelling test screen"), this);
    int left = 8;
    for (QPushButton* button : {buClear, buLoad, buSave, buClose}) {
        button->setGeometry(left, 335, 82, 40);
        left += 93;
    }

    setTabOrder(memSpellingInto, memClosing);
    setTabOrder(memClosing, sgSpellingWords);
    setTabOrder(sgSpellingWords, buLoad);
    setTabOrder(buLoad, buSave);
    setTabOrder(buSave, buClear);
    setTabOrder(buClear, buClose);

    odSpellingLists.title = tr("Load Spelling Document");
    odSpellingLists.filter = tr(SpellingFilter);
    odSpellingLists.defaultExtension = QString::fromLatin1(Spelling::Extension);
    odSpellingLists.mustExist = true;
    sdSpellingTest.title = tr("Save Spelling File");
    sdSpellingTest.filter = tr(SpellingFilter);
    sdSpellingTest.defaultExtension = QString::fromLatin1(Spelling::Extension);

    connect(buClear, &QPushButton::clicked, this, &SpellingBuilderDialog::buClearClick);
    connect(buLoad, &QPushButton::clicked, this, &SpellingBuilderDialog::buLoadClick);
    connect(buSave, &QPushButton::clicked, this, &SpellingBuilderDialog::buSaveClick);
    connect(buClose, &QPushButton::clicked, this, &SpellingBuilderDialog::buCloseClick);
    connect(sgSpellingWords, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { sgSpellingWordsSelectCell(row, column); });
    memSpellingInto->installEventFilter(this);
    memClosing->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    memSpellingInto->setFocus();
}

bool SpellingBuilderDialog::PrepareOpening(const QString& fileName)
{
    if (TrimControl(fileName).isEmpty())
        return true;
    try {
        LoadSpellingFile(fileName);
    } catch (const FileError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return false;
    }
    SetCaptionFor(fileName);
    return true;
}

void SpellingBuilderDialog::LoadSpellingFile(const QString& path)
{
    FileLines = ReadSpellingLines(path);
    if (!FileLines.isEmpty())
        memSpellingInto->setPlainText(FileLines.at(0));
    if (FileLines.size() < 2) {
        prompts().message(tr("Unable to load spelling document. The document appears to be corrupt"),
                          MessageKind::Error);
        return;
    }
    memClosing->setPlainText(FileLines.at(1));
    ClearGridKeepHeader(sgSpellingWords);
    sgSpellingWords->setRowCount(Spelling::WordRows);
    // Blank lines become empty rows; lines beyond the last row are neither shown nor kept.
    for (int row = 0; row < Spelling::WordRows && row + 2 < FileLines.size(); ++row) {
        const WordLine line = SplitWordLine(FileLines.at(row + 2));
        SetCellText(row, 0, line.word);
        SetCellText(row, 1, line.seconds);
    }
}

void SpellingBuilderDialog::ChooseSpellingFile()
{
    odSpellingLists.initialFolder = appPath(QString::fromLatin1(Spelling::TestFolder));
    const QString path = prompts().openFile(odSpellingLists);
    if (path.isEmpty())
        return;
    try {
        LoadSpellingFile(path);
    } catch (const FileError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return;
    }
    SetCaptionFor(path);
}

void SpellingBuilderDialog::SaveSpellingFile()
{
    if (sdSpellingTest.fileName.isEmpty())
        sdSpellingTest.initialFolder = appPath(QString::fromLatin1(Spelling::TestFolder));
    const QString path = prompts().saveFile(sdSpellingTest);
    if (path.isEmpty())
        return;
    sdSpellingTest.fileName = path;

    FileLines.clear();
    FileLines << OneLine(memSpellingInto->toPlainText()) << OneLine(memClosing->toPlainText());
    FillDefaultTimes();
    for (int row = 0; row < sgSpellingWords->rowCount(); ++row) {
        if (TrimControl(CellText(row, 0)).isEmpty())
            break;
        FileLines << CellText(row, 0) + QLatin1Char(',') + CellText(row, 1);
    }
    try {
        WriteSpellingLines(path, FileLines);
    } catch (const FileError& error) {
        prompts().message(error.message(), MessageKind::Error);
        return;
    }
    prompts().message(tr("Spelling document successfully save."), MessageKind::Information);
}

void SpellingBuilderDialog::ClearSpellingList()
{
    setWindowTitle(tr(BuilderCaption));
    memClosing->clear();
    memSpellingInto->clear();
    const int rows = sgSpellingWords->rowCount();
    ClearGridKeepHeader(sgSpellingWords);
    sgSpellingWords->setRowCount(rows);
}

void SpellingBuilderDialog::FillDefaultTimes()
{
    for (int row = 0; row < sgSpellingWords->rowCount(); ++row) {
        if (!TrimControl(CellText(row, 0)).isEmpty() && TrimControl(CellText(row, 1)).isEmpty())
            SetCellText(row, 1, QString::fromLatin1(Spelling::DefaultTime));
    }
}

void SpellingBuilderDialog::sgSpellingWordsSelectCell(int row, int column)
{
    if (row < 0 || column != 1)
        return;
    if (TrimControl(CellText(row, 1)).isEmpty() && !TrimControl(CellText(row, 0)).isEmpty())
        SetCellText(row, 1, QString::fromLatin1(Spelling::DefaultTime));
}

bool SpellingBuilderDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && (watched == memSpellingInto || watched == memClosing))
        RemarkLeft(static_cast<QPlainTextEdit*>(watched), static_cast<QFocusEvent*>(event));
    return QDialog::eventFilter(watched, event);
}

void SpellingBuilderDialog::RemarkLeft(QPlainTextEdit* box, QFocusEvent* event)
{
    // Only a move to another field of this dialog asks for the remark: not the window losing focus or hiding
    // (the message box itself takes the focus), and not the buttons, so the teacher can always load, clear,
    // save or close.
    if (mCheckingRemark || !isVisible() || event->reason() == Qt::ActiveWindowFocusReason ||
        event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* next = QApplication::focusWidget();
    if (!next || next->window() != this || qobject_cast<QPushButton*>(next))
        return;
    if (!TrimControl(box->toPlainText()).isEmpty())
        return;
    mCheckingRemark = true;
    prompts().message(box == memSpellingInto ? tr("Please enter an introductory remark to the spelling test.")
                                             : tr("Please enter a closing remark to the spelling test."),
                      MessageKind::Information);
    box->setFocus(Qt::OtherFocusReason);
    mCheckingRemark = false;
}

QString SpellingBuilderDialog::CellText(int row, int column) const
{
    const QTableWidgetItem* item = sgSpellingWords->item(row, column);
    return item ? item->text() : QString();
}

void SpellingBuilderDialog::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = sgSpellingWords->item(row, column))
        item->setText(text);
    else
        sgSpellingWords->setItem(row, column, new QTableWidgetItem(text));
}

void SpellingBuilderDialog::SetCaptionFor(const QString& path)
{
    setWindowTitle(tr("Spelling Test Builder (%1)").arg(DisplayName(path)));
}

void ShowSpellingBuilder(QPointer<SpellingBuilderDialog>& builder, const QString& fileName, QWidget* parent)
{
    if (!builder)
        builder = new SpellingBuilderDialog(parent);
    if (!builder->PrepareOpening(fileName))
        return;
    builder->exec();
}
