#pragma once

#include "speech/Pronunciations.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class Voice;

// The pronunciation list editor: how names and words are said. Words are added or changed with the two fields,
// removed, and tried with "Say it"; Save keeps the list in the user's file and gives it to the voice.
class PronunciationsDialog : public QDialog
{
    Q_OBJECT
public:
    PronunciationsDialog(Voice& voice, const QString& path, QWidget* parent = nullptr);

    QTableWidget* sgWords = nullptr;
    QLineEdit* edWritten = nullptr;
    QLineEdit* edSpoken = nullptr;
    QPushButton* buAdd = nullptr;
    QPushButton* buRemove = nullptr;
    QPushButton* buSayIt = nullptr;
    QPushButton* buSave = nullptr;
    QLabel* lbProblem = nullptr; // why the word in the fields could not be added

    const PronunciationList& list() const { return mList; }
    void AddWord();
    void RemoveWord();
    void SayIt();
    // Writes the list (UTF-8) and hands it to the voice. Throws FileError when it cannot be written.
    void SaveList();

private:
    void showList();

    Voice& mVoice;
    QString mPath;
    PronunciationList mList;
};
