#pragma once

#include "core/Prompts.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// The dialog in which a teacher writes a spelling test: an introduction, a closing remark and up to 49 words,
// each with the seconds allowed for typing it. One instance lives as long as the main window; Close only hides
// it, so its contents survive from one opening to the next.
class SpellingBuilderDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SpellingBuilderDialog(QWidget* parent = nullptr);

    // Loads a spelling file when `fileName` is not blank and names the caption after it. False when that file
    // cannot be read: the error has been shown and the dialog should not open.
    bool PrepareOpening(const QString& fileName);
    // Reads the file into the two boxes and the grid. Throws FileError, changing nothing, when it cannot be
    // read; a file of fewer than two lines is reported as corrupt after its one line has become the introduction.
    void LoadSpellingFile(const QString& path);
    void ChooseSpellingFile();
    void SaveSpellingFile();
    void ClearSpellingList();

    QStringList FileLines;
    FileDialogSpec odSpellingLists;
    FileDialogSpec sdSpellingTest; // keeps the name last saved to, offered again next time

    QLabel* labIntroduction = nullptr;
    QPlainTextEdit* memSpellingInto = nullptr;
    QLabel* labClosing = nullptr;
    QPlainTextEdit* memClosing = nullptr;
    QLabel* labSpellings = nullptr;
    QTableWidget* sgSpellingWords = nullptr;
    QPushButton* buClear = nullptr;
    QPushButton* buLoad = nullptr;
    QPushButton* buSave = nullptr;
    QPushButton* buClose = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buClearClick() { ClearSpellingList(); }
    void buLoadClick() { ChooseSpellingFile(); }
    void buSaveClick() { SaveSpellingFile(); }
    void buCloseClick() { hide(); }
    void sgSpellingWordsSelectCell(int row, int column);
    void RemarkLeft(QPlainTextEdit* box, QFocusEvent* event);

    QString CellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    void FillDefaultTimes();
    void SetCaptionFor(const QString& path);

    bool mCheckingRemark = false;
};

// The main window's "Spelling file Builder ..." entry: creates the builder on first use (owned by `parent`),
// loads `fileName` when it is not blank, then shows it modally until it is closed. A file that cannot be read
// is reported and the builder is not shown.
void ShowSpellingBuilder(QPointer<SpellingBuilderDialog>& builder, const QString& fileName, QWidget* parent = nullptr);
