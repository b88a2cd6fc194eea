#include "window/writing/SpellChecker.h"

#include "window/writing/OffensiveWords.h"

#include <QLocale>
#include <QRegularExpression>
#include <enchant.h>

QString EnchantTag(const QString& language)
{
    QStringList parts = language.trimmed().split(QRegularExpression(QStringLiteral("[-_]")), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    parts[0] = parts[0].toLower();
    if (parts.size() > 1)
        parts[1] = parts[1].toUpper();
    return parts.mid(0, 2).join(QLatin1Char('_'));
}

namespace {
// Hunspell's dictionaries are the ones Debian's desktop programs use; Aspell's only where Hunspell has none.
const char* const PreferredProviders = "hunspell,nuspell,aspell";
} // namespace

SpellChecker::SpellChecker() : mBroker(enchant_broker_init())
{
    if (mBroker)
        enchant_broker_set_ordering(mBroker, "*", PreferredProviders);
}

SpellChecker::~SpellChecker()
{
    if (mDict)
        enchant_broker_free_dict(mBroker, mDict);
    if (mBroker)
        enchant_broker_free(mBroker);
}

namespace {
void collectTag(const char* tag, const char*, const char*, const char*, void* data)
{
    static_cast<QStringList*>(data)->append(QString::fromUtf8(tag));
}
} // namespace

bool SpellChecker::setLanguage(const QString& language)
{
    const QString wanted = EnchantTag(language);
    if (mDict && wanted == mTag)
        return true;
    if (mDict)
        enchant_broker_free_dict(mBroker, mDict);
    mDict = nullptr;
    mTag.clear();
    if (!mBroker || wanted.isEmpty())
        return false;
    // A bare language takes its main region's dictionary first ("en" is "en_US"), which Hunspell has where Aspell
    // alone may have the bare one.
    QStringList candidates;
    if (!wanted.contains(QLatin1Char('_')))
        candidates << QLocale(wanted).name();
    candidates << wanted;
    // Another dictionary of the same language when the voice's own region has none ("en" gives "en_US").
    QStringList installed;
    enchant_broker_list_dicts(mBroker, collectTag, &installed);
    const QString base = wanted.section(QLatin1Char('_'), 0, 0);
    installed.sort();
    for (const QString& tag : std::as_const(installed))
        if (tag.section(QLatin1Char('_'), 0, 0) == base && !candidates.contains(tag))
            candidates << tag;
    for (const QString& tag : std::as_const(candidates)) {
        const QByteArray name = tag.toUtf8();
        if (!enchant_broker_dict_exists(mBroker, name.constData()))
            continue;
        // The system's ordering puts Aspell first for some English regions, and Aspell keeps its own word list
        // outside Enchant's; Hunspell keeps added words in Enchant's list.
        enchant_broker_set_ordering(mBroker, name.constData(), PreferredProviders);
        mDict = enchant_broker_request_dict(mBroker, name.constData());
        if (mDict) {
            mTag = tag;
            return true;
        }
    }
    return false;
}

bool SpellChecker::check(const QString& word) const
{
    if (!mDict || word.isEmpty())
        return true;
    const QByteArray utf8 = word.toUtf8();
    return enchant_dict_check(mDict, utf8.constData(), utf8.size()) == 0;
}

QStringList SpellChecker::suggest(const QString& word, int limit) const
{
    QStringList offered;
    if (!mDict || word.isEmpty())
        return offered;
    const QByteArray utf8 = word.toUtf8();
    size_t count = 0;
    char** suggestions = enchant_dict_suggest(mDict, utf8.constData(), utf8.size(), &count);
    for (size_t i = 0; i < count && offered.size() < limit; ++i) {
        const QString suggestion = QString::fromUtf8(suggestions[i]);
        if (!offered.contains(suggestion) && !IsOffensive(suggestion))
            offered << suggestion;
    }
    if (suggestions)
        enchant_dict_free_string_list(mDict, suggestions);
    return offered;
}

void SpellChecker::add(const QString& word)
{
    if (!mDict || word.isEmpty())
        return;
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add(mDict, utf8.constData(), utf8.size());
}

void SpellChecker::ignore(const QString& word)
{
    if (!mDict || word.isEmpty())
        return;
    const QByteArray utf8 = word.toUtf8();
    enchant_dict_add_to_session(mDict, utf8.constData(), utf8.size());
}
