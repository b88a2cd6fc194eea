// Translation for learners of English: the learner's language, Translate on demand (heard in that language), and
// each sentence translated beside the text while it is read.
#include "window/main/MainWindow.h"
#include "window/main/MenuMarker.h"
#include "window/readingarea/TranslationPanel.h"
#include "window/settings/WindowAppearance.h"
#include "window/settings/TranslationSettings.h"
#include "core/Prompts.h"
#include "core/TextSegmentation.h"
#include "speech/Translation.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QMenu>
#include <QScopeGuard>
#include <QTextEdit>

namespace {
// The span of `spans` (in text order) that holds `position`, else the last that starts before it.
TextSpan spanAt(const QList<TextSpan>& spans, int position)
{
    TextSpan found;
    for (const TextSpan& span : spans) {
        if (span.start > position)
            break;
        found = span;
    }
    return found;
}

// The word the caret is in or touches.
TextSpan wordAt(const QString& text, int caret)
{
    for (const TextSpan& word : findWords(text)) {
        if (word.start <= caret && caret <= word.end())
            return word;
    }
    return {};
}
} // namespace

void MainWindow::setupTranslation()
{
    mTranslation = new TranslationChoices(this);
    mTranslator = std::make_unique<Translator>();
    mSentenceTranslation = new BackgroundTranslation(*mTranslator, this);

    // The panel stands right of the reading area, beside the text it translates.
    panTranslation = new TranslationPanel(this);
    panTranslation->setFixedWidth(280);
    if (auto* middle = qobject_cast<QBoxLayout*>(layout()->itemAt(0)->layout()))
        middle->addWidget(panTranslation);
    mWindowAppearance->addBesideText(panTranslation);

    pumReaderOnly->addSeparator();
    miMyLanguage = addSubmenu(pumReaderOnly, QStringLiteral("miMyLanguage"), tr("My language"),
                              tr("The language Translate puts English into"));
    miTranslateWhileReading =
        addItem(pumReaderOnly, QStringLiteral("miTranslateWhileReading"), tr("Translate while reading"),
                tr("Show each sentence in your language beside the text as it is read"));
    miTranslateWhileReading->setCheckable(true);
    ListMyLanguages();

    Translate1 = new QAction(tr("Translate"), pumTextToRead);
    Translate1->setObjectName(QStringLiteral("Translate1"));
    // After the editing commands, before customisation.
    const QList<QAction*> items = pumTextToRead->actions();
    pumTextToRead->insertAction(items.value(items.indexOf(Customise1) - 1), Translate1);
    bindKey(Translate1, QKeySequence(Qt::CTRL | Qt::Key_T),
            tr("Translate the word, the selection or the sentence being read into your language"));

    connect(Translate1, &QAction::triggered, this, &MainWindow::TranslateText);
    connect(miTranslateWhileReading, &QAction::toggled, mTranslation, &TranslationChoices::setWhileReading);
    connect(mTranslation, &TranslationChoices::whileReadingChanged, miTranslateWhileReading, &QAction::setChecked);
    connect(mTranslation, &TranslationChoices::languageChanged, this,
            [this](const QString& mode) { MarkChoice(miMyLanguage, mode); });
    connect(spVoice, &Voice::OnWord, this, [this](const SpeechEvent& event) {
        if (!mReading->reading() || !mHighlight)
            return;
        mWordReadAt = mFromCursor ? event.position + mCursorOffset : event.position;
        TranslateSentenceReached(mWordReadAt);
    });
    connect(mReading, &ReadingModel::stateChanged, this, [this](ReadingState state) {
        if (state == ReadingState::Reading || state == ReadingState::Paused)
            return;
        mWordReadAt = -1;
        mSentenceShown = -1;
        mReadSentences.clear();
        mReadText.clear();
    });
    connect(mSentenceTranslation, &BackgroundTranslation::translated, this,
            [this](int sentence, const TranslatedText& translation, const QString& error) {
                if (sentence != mSentenceShown || !mReading->reading())
                    return; // the reading has moved on or ended
                const auto language = mTranslator->language(mTranslation->language());
                if (!error.isEmpty())
                    ShowNotice(error);
                else if (language) {
                    panTranslation->showTranslation(language->name, translation, false);
                }
            });
}

void MainWindow::ListMyLanguages()
{
    miMyLanguage->clear();
    const QList<TranslationLanguage> languages = mTranslator->languages();
    for (const TranslationLanguage& language : languages) {
        QAction* item = addItem(miMyLanguage, QStringLiteral("miMyLanguage%1").arg(language.mode), language.name,
                                tr("Translate into %1").arg(language.name));
        item->setData(language.mode);
        connect(item, &QAction::triggered, mTranslation,
                [this, mode = language.mode] { mTranslation->setLanguage(mode); });
    }
    if (languages.isEmpty()) {
        addItem(miMyLanguage, QStringLiteral("miNoLanguage"), tr("No translation installed"),
                tr("Install an Apertium pair from English, such as apertium-eng-spa"))
            ->setEnabled(false);
    }
    MarkChoice(miMyLanguage, mTranslation->language());
}

void MainWindow::TranslateText()
{
    if (mTranslating)
        return;
    const QString mode = mTranslation->language();
    if (mode.isEmpty()) {
        prompts().message(tr("Choose your own language first: right-click the reader and pick it under "
                             "\"My language\"."));
        return;
    }
    const QString text = reText->toPlainText();
    const QTextCursor caret = reText->textCursor();
    const bool reading = mReading->reading() && mWordReadAt >= 0;
    const bool goOnReading = reading && mReading->state() == ReadingState::Reading;
    TextSpan span;
    if (reading)
        span = spanAt(findSentences(text), mWordReadAt);
    else if (caret.hasSelection())
        span = {caret.selectionStart(), caret.selectionEnd() - caret.selectionStart()};
    else
        span = wordAt(text, caret.position());
    if (span.length == 0) {
        ShowNotice(tr("There is no word at the cursor to translate."));
        return;
    }

    mTranslating = true;
    const auto done = qScopeGuard([this] { mTranslating = false; });
    if (reading)
        StopReading();
    // The reading goes on after the sentence once its translation has been said, or from it when none could be made.
    const auto goOn = [this, goOnReading](int from) {
        if (!goOnReading)
            return;
        QTextCursor cursor = reText->textCursor();
        cursor.setPosition(qMin(from, reText->document()->characterCount() - 1));
        reText->setTextCursor(cursor);
        StartReading(false);
    };

    TranslatedText translation;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        translation = mTranslator->translate(text.mid(span.start, span.length), mode);
    } catch (const TranslationError& error) {
        prompts().message(error.message(), MessageKind::Error);
        goOn(span.start);
        return;
    }
    const TranslationLanguage language = mTranslator->language(mode).value_or(TranslationLanguage{mode, {}, mode});
    panTranslation->showTranslation(language.name, translation, true);
    ShowStatusText(tr("Translated into %1").arg(language.name));

    if (!SpeakTranslation(translation.spoken(), language.code))
        ShowNotice(tr("No installed voice speaks %1: the translation is shown, not said.").arg(language.name));
    if (goOnReading) {
        int next = span.end();
        while (next < text.size() && text[next].isSpace())
            ++next;
        goOn(next);
    } else if (!mReading->busy())
        reText->setTextCursor(caret); // the end of the translation's speech moved the caret; the selection stays
}

bool MainWindow::SpeakTranslation(const QString& text, const QString& languageCode)
{
    const std::optional<VoiceToken> voice = VoiceForLanguage(mReading->voices(), languageCode);
    if (!voice)
        return false;
    if (text.trimmed().isEmpty())
        return true;
    mHighlight = false; // its words are not in the reading area
    spVoice->SetVoice(*voice);
    const auto readingVoice = qScopeGuard([this] {
        try {
            if (!mReading->voice().isEmpty())
                mReading->setVoice(mReading->voice());
            else if (const auto english = VoiceForLanguage(mReading->voices(), QStringLiteral("en")))
                spVoice->SetVoice(*english);
        } catch (const SpeechError&) {
            // The reading voice was in use a moment ago; should it fail now, the next reading says so.
        }
    });
    spVoice->Speak(text, SpeakAutoRead);
    mReading->setState(ReadingState::Speaking);
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } while (!spVoice->WaitUntilDone(10));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return true;
}

void MainWindow::TranslateSentenceReached(int position)
{
    const QString mode = mTranslation->language();
    if (!mTranslation->whileReading() || mode.isEmpty() || mTranslating)
        return;
    // The reading area cannot change while it is read, so its text and sentences are taken once per reading.
    if (mReadSentences.isEmpty()) {
        mReadText = reText->toPlainText();
        mReadSentences = findSentences(mReadText);
    }
    const TextSpan sentence = spanAt(mReadSentences, position);
    if (sentence.length == 0 || sentence.start == mSentenceShown)
        return;
    mSentenceShown = sentence.start;
    mSentenceTranslation->request(sentence.start, mReadText.mid(sentence.start, sentence.length), mode);
}
