#pragma once

#include "window/writing/WordDefinitions.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QTextBrowser;

// What a word means: its meanings, each with its part of speech and an example, and the synonyms of them all,
// any of which can be put in place of the word. It does not block the window.
class DefinitionWindow : public QDialog
{
    Q_OBJECT
public:
    DefinitionWindow(const QString& word, const QList<WordMeaning>& meanings, QWidget* parent);

    // What is read aloud: the word, its part of speech and its first meaning.
    static QString FirstMeaningText(const QString& word, const QList<WordMeaning>& meanings);
    QListWidget* synonyms() const { return lbSynonyms; }
    // Shows the meanings and synonyms in the font the reading area's text is in.
    void setReadingFont(const QFont& font);

signals:
    void synonymChosen(const QString& synonym);
    void readAloud(const QString& text);

private:
    void insertChosen();

    QTextBrowser* reMeanings = nullptr;
    QListWidget* lbSynonyms = nullptr;
    QPushButton* buInsert = nullptr;
};
