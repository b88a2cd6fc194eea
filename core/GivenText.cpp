#include "core/GivenText.h"

#include <QCoreApplication>

QString readableGivenText(const QString& given, QString* problem)
{
    const auto refuse = [problem](const QString& message) {
        if (problem)
            *problem = message;
        return QString();
    };
    if (given.size() > MaxGivenText)
        return refuse(QCoreApplication::translate(
                          "GivenText", "The text is too long to read from here (more than %L1 characters). Save it "
                                       "and open it as a document instead.")
                          .arg(MaxGivenText));
    QString text;
    text.reserve(given.size());
    qsizetype junk = 0;
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QChar c = given.at(i);
        if (c == QLatin1Char('\r')) {
            if (i + 1 < given.size() && given.at(i + 1) == QLatin1Char('\n'))
                continue;
            text += QLatin1Char('\n');
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\t')) {
            text += c;
        } else if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter ||
                   c.category() == QChar::Other_NotAssigned) {
            ++junk;
        } else {
            text += c;
        }
    }
    // Bytes of a picture or a program decoded as text are mostly control and replacement characters.
    if (junk * 10 > given.size())
        return refuse(QCoreApplication::translate("GivenText", "The clipboard holds no readable text."));
    text = text.trimmed();
    if (text.isEmpty())
        return refuse(QCoreApplication::translate("GivenText", "No text is selected or on the clipboard."));
    if (problem)
        problem->clear();
    return text;
}
