#pragma once

#include <QFrame>

class QLabel;
class QToolButton;
struct TranslatedText;

// The translation beside the reading area: the language, the translated text with the words the translator did
// not know shown marked and listed, and a button that closes it. A screen reader announces what it shows when asked.
class TranslationPanel : public QFrame
{
    Q_OBJECT
public:
    explicit TranslationPanel(QWidget* parent = nullptr);

    // Shows the translation; `announce` has screen readers say it (not wanted while the voice reads).
    void showTranslation(const QString& languageName, const TranslatedText& translation, bool announce);
    // The text shown, as a screen reader gets it.
    QString shownText() const;

    QLabel* labLanguage = nullptr;
    QLabel* labTranslation = nullptr;
    QToolButton* buCloseTranslation = nullptr;
};
