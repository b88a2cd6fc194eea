// The module parlivo-article: see ArticleModule.h.
#include "cli/ArticleModule.h"

#include "core/Errors.h"
#include "formats/PageText.h"

extern "C" Q_DECL_EXPORT bool ParlivoArticleText(const QString& path, QString* text, QString* failure)
{
    // No exception crosses into the program that loaded the module.
    try {
        *text = ArticleTextOfFile(path).text;
        return true;
    } catch (const ParlivoError& error) {
        *failure = error.message();
    } catch (const std::exception& error) {
        *failure = QString::fromLocal8Bit(error.what());
    }
    return false;
}
