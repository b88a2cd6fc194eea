// The writing help: spelling checked as the learner types, confusable words, definitions and word prediction.
#include "window/main/MainWindow.h"
#include "window/main/MenuMarker.h"
#include "window/readingarea/LinkClicks.h"
#include "window/readingarea/ReadingAidsView.h"
#include "window/writing/DefinitionWindow.h"
#include "window/writing/WritingAids.h"

#include <QAction>
#include <QLocale>
#include <QMenu>
#include <QTextEdit>

void MainWindow::setupWritingHelp()
{
    WritingAids::Surface surface;
    surface.speak = [this](const QString& text) { SpeakWritingHelp(text); };
    surface.announce = [this](const QString& text) { ShowNotice(text); };
    mWritingAids = new WritingAids(reText, std::move(surface), this);
    mWritingAids->setHelp(WritingHelp{});
    connect(mWritingAids, &WritingAids::defineRequested, this, &MainWindow::ShowDefinition);

    pumReaderOnly->addSeparator();
    miWritingHelp = addSubmenu(pumReaderOnly, QStringLiteral("miWritingHelp"), tr("Writing Help"),
                               tr("Spelling, confusable words and definitions"));
    SpellAsYouType1 = addItem(miWritingHelp, QStringLiteral("SpellAsYouType1"), tr("Check spelling as you type"),
                              tr("Underline misspelt words in the reading area"));
    ConfusableWords1 = addItem(miWritingHelp, QStringLiteral("ConfusableWords1"), tr("Mark confusable words"),
                               tr("Mark words that sound like others, such as their and there"));
    miWritingHelp->addSeparator();
    CheckSpelling1 = addItem(miWritingHelp, QStringLiteral("CheckSpelling1"), tr("Check spelling"),
                             tr("Go to the next misspelt word and say it with its suggestions"));
    DefineWord1 =
        addItem(miWritingHelp, QStringLiteral("DefineWord1"), tr("Define"), tr("Say what the word at the caret means"));
    WordPrediction1 = addItem(pumReaderOnly, QStringLiteral("WordPrediction1"), tr("Word Prediction"),
                              tr("Offer the words you may be typing in a list by the caret"));
    for (QAction* item : {SpellAsYouType1, ConfusableWords1, WordPrediction1})
        item->setCheckable(true);
    bindKey(CheckSpelling1, QKeySequence(CheckSpellingKey), CheckSpelling1->statusTip());
    bindKey(DefineWord1, QKeySequence(DefineKey), DefineWord1->statusTip());

    const auto switchHelp = [this](bool WritingHelp::*field) {
        return [this, field](bool on) {
            WritingHelp help = mWritingAids->help();
            help.*field = on;
            mWritingAids->setHelp(help);
        };
    };
    connect(SpellAsYouType1, &QAction::toggled, this, switchHelp(&WritingHelp::SpellCheck));
    connect(ConfusableWords1, &QAction::toggled, this, switchHelp(&WritingHelp::Confusables));
    connect(WordPrediction1, &QAction::toggled, this, switchHelp(&WritingHelp::WordPrediction));
    connect(CheckSpelling1, &QAction::triggered, this, &MainWindow::CheckSpelling);
    connect(DefineWord1, &QAction::triggered, this, &MainWindow::DefineWord);
    connect(mReading, &ReadingModel::voiceChanged, this, &MainWindow::UseVoiceLanguage);
    UseVoiceLanguage();
    ShowWritingChoices();
}

void MainWindow::ShowWritingChoices()
{
    const WritingHelp& help = mWritingAids->help();
    SpellAsYouType1->setChecked(help.SpellCheck);
    ConfusableWords1->setChecked(help.Confusables);
    WordPrediction1->setChecked(help.WordPrediction);
}

void MainWindow::UseVoiceLanguage()
{
    QString language;
    for (const VoiceToken& token : mReading->voices())
        if (token.description == mReading->voice())
            language = token.language;
    if (language.isEmpty())
        language = QLocale::system().name();
    // Without a dictionary for the language nothing is marked misspelt; English is the usual fallback.
    if (!mWritingAids->setLanguage(language) && !mReading->voice().isEmpty())
        ShowNotice(tr("There is no spelling dictionary for the language of %1.").arg(mReading->voice()));
    if (!mWritingAids->speller().ready() && mReading->voice().isEmpty())
        mWritingAids->setLanguage(QStringLiteral("en"));
}

void MainWindow::SpeakWritingHelp(const QString& text)
{
    if (text.isEmpty() || mReading->reading())
        return;
    mHighlight = false;
    spVoice->Speak(text, SpeakAutoRead);
    mReading->setState(ReadingState::Speaking);
}

void MainWindow::CheckSpelling()
{
    if (!mReading->reading())
        mWritingAids->checkNextMisspelling();
}

void MainWindow::DefineWord()
{
    const QTextCursor word = mWritingAids->wordAtCaret();
    if (word.isNull()) {
        ShowNotice(tr("Put the caret on a word to define it."));
        return;
    }
    ShowDefinition(word);
}

void MainWindow::ShowDefinition(const QTextCursor& word)
{
    const QString text = word.selectedText();
    const QList<WordMeaning> meanings = ::DefineWord(text);
    const QString first = DefinitionWindow::FirstMeaningText(text, meanings);
    SpeakWritingHelp(first);
    if (meanings.isEmpty()) {
        ShowNotice(first);
        return;
    }
    auto* window = new DefinitionWindow(text, meanings, this);
    window->setReadingFont(mReadingAidsView->textFont());
    // The cursor follows edits made meanwhile; a synonym replaces the word only while it is still there.
    connect(window, &DefinitionWindow::synonymChosen, this, [this, word, text](const QString& synonym) {
        if (word.selectedText() == text)
            mWritingAids->replace(word, synonym);
    });
    connect(window, &DefinitionWindow::readAloud, this, &MainWindow::SpeakWritingHelp);
    window->show();
}
