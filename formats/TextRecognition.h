#pragma once

#include "formats/DocumentFormats.h"
#include "formats/PdfLayout.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Text in pictures, recognised on this machine by Tesseract: pictures opened as documents, the scanned pages of
// PDFs, and a part of the screen. The recognised lines go through the same paragraph rules as a PDF's text.

// The text of one picture: its lines in the picture's pixels, upright, with paragraph starts as the recogniser
// found them.
struct RecognisedPage
{
    PdfPageText text;
    int confidence = 100; // the mean confidence of its words, 0 to 100; 100 for a page without words

    // Recognised with so little confidence that the listener should be told it may be misread.
    bool doubtful() const;
};

// The languages whose recognition data is installed, as Tesseract names them ("eng", "fra"), sorted.
QStringList recognitionLanguages();

// The installed recognition language for a voice's BCP 47 tag ("fr-fr" gives "fra"), or a Tesseract name ("fra",
// "eng+fra", "eng+fr-fr") when all its parts are installed; English for anything else.
QString recognitionLanguageFor(const QString& language);

// The first language of a "+" list ("eng+xyz" gives "xyz"), named as for recognitionLanguageFor, whose recognition
// data is not installed; empty when every one is.
QString missingRecognitionLanguage(const QString& languages);

// The language pictures are read in, for every reading that names none: the window follows the chosen voice, the
// command line its --ocr-language. Taken through recognitionLanguageFor; English until set.
void setRecognitionLanguage(const QString& language);
QString recognitionLanguage();

// Recognises one picture, turned upright first when it lies on its side or upside down. Throws
// UnreadableDocument when the recognition data is not installed, ReadCancelled when `progress` asks to stop.
RecognisedPage recognisePicture(const QImage& image, const QString& language = recognitionLanguage(),
                                ReadProgress* progress = nullptr);

// Recognises `count` pictures in parallel, one per core, in their order. `pageImage(i)` gives picture i; it is
// called from several threads at once and may throw. Reports "page N of M" to `progress` and stops when it asks
// (throwing ReadCancelled); rethrows the first failure of any page.
QList<RecognisedPage> recognisePictures(int count, const std::function<QImage(int)>& pageImage, const QString& language,
                                        ReadProgress* progress);

// The pages of a picture file (PNG, JPEG, the pages of a TIFF, BMP, WebP, the first frame of a GIF) as
// paragraphs. Throws UnreadableDocument when it is damaged, too large to decode or holds no text, ReadCancelled
// when `progress` asks to stop. Pages recognised with little confidence are added to progress->doubtfulPages.
TextBlocks readPicture(const QString& path, ReadProgress* progress = nullptr);

// "Page 3 may be misread", "Pages 3 and 5 may be misread"; empty for none. Pages count from 1.
QString misreadPagesNote(const QList<int>& pages);
