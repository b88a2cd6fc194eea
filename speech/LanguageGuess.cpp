#include "speech/LanguageGuess.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <libexttextcat/textcat.h>

namespace {
const QString DataFolder = QStringLiteral("/usr/share/libexttextcat/");
// Beyond a few hundred characters a guess gets no surer, only slower.
constexpr qsizetype SampleLength = 600;
} // namespace

QString primaryLanguage(const QString& tag)
{
    return tag.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('_'), 0, 0).toLower();
}

LanguageGuess::LanguageGuess(const QStringList& languages) : mFolder(std::make_unique<QTemporaryDir>())
{
    QFile all(DataFolder + QStringLiteral("fpdb.conf"));
    if (!mFolder->isValid() || !all.open(QIODevice::ReadOnly))
        return;
    QSet<QString> wanted;
    for (const QString& language : languages)
        wanted.insert(primaryLanguage(language));
    // Each line names a fingerprint file and the name the guess gives: "fr.lm  fr--utf8".
    QByteArray offered;
    while (!all.atEnd()) {
        const QByteArray line = all.readLine();
        const QByteArray file = line.simplified().split(' ').value(0);
        if (file.isEmpty() || file.startsWith('#'))
            continue;
        if (wanted.isEmpty() || wanted.contains(primaryLanguage(QString::fromLatin1(file.chopped(3)))))
            offered += line;
    }
    const QString conf = mFolder->filePath(QStringLiteral("languages.conf"));
    QFile out(conf);
    if (offered.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(offered) != offered.size())
        return;
    out.close();
    mHandle = special_textcat_Init(QFile::encodeName(conf).constData(), QFile::encodeName(DataFolder).constData());
}

LanguageGuess::~LanguageGuess()
{
    if (mHandle)
        textcat_Done(mHandle);
}

QString LanguageGuess::guess(QStringView text) const
{
    if (!mHandle)
        return {};
    const QByteArray sample = text.left(SampleLength).toUtf8();
    // "[fr--utf8]" for a sure guess, several in brackets for a close call, "SHORT" or "UNKNOWN" for none.
    const QString result = QString::fromUtf8(textcat_Classify(mHandle, sample.constData(), size_t(sample.size())));
    if (!result.startsWith(QLatin1Char('[')))
        return {};
    return primaryLanguage(result.mid(1, result.indexOf(QLatin1Char(']')) - 1));
}
