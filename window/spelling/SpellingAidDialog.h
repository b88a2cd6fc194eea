#pragma once

#include "core/Prompts.h"
#include "window/settings/AppearanceSettings.h"

#include <QDialog>
#include <QStringList>

class QFrame;
class QLabel;
class QPushButton;
class QTableWidget;
class Voice;

// Lets a learner practise the words of a spelling file at their own pace: lists the words and, on request, speaks
// the selected word and then spells it out letter by letter. No score, no time limit.
class SpellingAidDialog : public QDialog
{
    Q_OBJECT
public:
    SpellingAidDialog(Voice& voice, const AppearanceSettings& appearance, QWidget* parent = nullptr);

    // Loads `fileName` when it is not blank and names the caption after it. False when that file cannot be read:
    // the error has been shown and the assistant should not open.
    bool PrepareOpening(const QString& fileName);
    // Fills the list from a spelling file. Throws FileError, changing nothing, when the file cannot be read.
    void LoadAssistantFile(const QString& path);
    void ChooseAssistantFile();
    // Speaks the selected word, then each of its letters followed by half a second of silence. Does nothing while
    // a word is already being read.
    void ReadSelectedWord();
    void CloseAssistant();

    // Set while ReadSelectedWord runs; shared by every assistant, so a second request is ignored.
    static bool ReadingWord;

    QStringList FileLines;
    bool Closing = false; // the remaining letters of a word being read are skipped
    FileDialogSpec odSpellingLists;

    QLabel* PanHeader = nullptr;
    QFrame* Panel2 = nullptr;
    QTableWidget* sgSpellingWords = nullptr;
    QFrame* panButtons = nullptr;
    QPushButton* buLoad = nullptr;
    QPushButton* buRead = nullptr;
    QPushButton* buClose = nullptr;

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buLoadClick() { ChooseAssistantFile(); }
    void buReadClick() { ReadSelectedWord(); }
    void buCloseClick() { CloseAssistant(); }

    void ApplyColours(const AppearanceSettings& appearance);
    QString CellText(int row, int column) const;
    void SetCaptionFor(const QString& path);

    Voice& mVoice;
};

// Cuts off whatever the voice is saying and drops what is queued; errors from the voice are ignored.
void StopSpeaking(Voice& voice);

// The main window's "Spelling Assistant ..." entry: makes an assistant, loads `fileName` when it is not blank,
// shows it modally and frees it when it closes. A file that cannot be read is reported and nothing is shown.
void ShowSpellingAssistant(Voice& voice, const AppearanceSettings& appearance, const QString& fileName,
                           QWidget* parent = nullptr);
