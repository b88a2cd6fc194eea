#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>

class QTemporaryDir;

// Guesses the language of a paragraph with libexttextcat (the guesser LibreOffice uses), among the languages a
// reader has voices for, so a French quotation in an English text can be read by a French voice.
class LanguageGuess
{
public:
    // Guesses among `languages` (BCP 47 tags; only the primary subtag counts, "fr-be" is "fr"); among every
    // language the guesser knows when empty. A guesser whose data is missing guesses nothing.
    explicit LanguageGuess(const QStringList& languages = {});
    ~LanguageGuess();
    LanguageGuess(const LanguageGuess&) = delete;
    LanguageGuess& operator=(const LanguageGuess&) = delete;

    // The primary subtag ("fr") of the language `text` is most likely in, or the empty text when the text is too
    // short to tell or like no language offered.
    QString guess(QStringView text) const;

private:
    std::unique_ptr<QTemporaryDir> mFolder; // the guesser's list of languages, cut down to those offered
    void* mHandle = nullptr;
};

// The primary subtag of a BCP 47 tag, in lower case: "en" for "en-GB".
QString primaryLanguage(const QString& tag);
