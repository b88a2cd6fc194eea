#include "formats/PageText.h"

#include "core/Errors.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariantMap>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineUrlRequestInterceptor>

// Outside any namespace, as Qt's resource macros require.
static void loadReadabilityResources()
{
    Q_INIT_RESOURCE(readability);
}

namespace {

constexpr int DefaultScriptTimeoutMs = 20000;

QString resourceText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ParlivoError(QStringLiteral("The page reader %1 is missing from this build of Parlivo.").arg(path));
    return QString::fromUtf8(file.readAll());
}

bool loadFailed(const QWebEngineLoadingInfo& info)
{
    // An HTTP error still shows the page the server sent, which is the page the user sees.
    return info.status() == QWebEngineLoadingInfo::LoadFailedStatus &&
           info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain;
}

} // namespace

QString ReadableParagraphs(const QString& text)
{
    static const QRegularExpression lineBreaks(QStringLiteral("[\\r\\n\\x{2028}\\x{2029}]"));
    QStringList paragraphs;
    for (const QString& line : text.split(lineBreaks)) {
        const QString simplified = line.simplified();
        if (!simplified.isEmpty())
            paragraphs << simplified;
    }
    return paragraphs.join(QLatin1Char('\n'));
}

const QString& PageTextScript()
{
    static const QString script = [] {
        loadReadabilityResources();
        return resourceText(QStringLiteral(":/web/Readability.js")) + QLatin1Char('\n') +
               resourceText(QStringLiteral(":/web/PageText.js"));
    }();
    return script;
}

PageTextRequest::PageTextRequest(QWebEnginePage* page, bool useSelection, bool lastLoadFailed, QObject* parent)
    : QObject(parent), mPage(page), mUseSelection(useSelection), mLastLoadFailed(lastLoadFailed)
{
    mTimer.setSingleShot(true);
    mTimer.setInterval(DefaultScriptTimeoutMs);
    connect(&mTimer, &QTimer::timeout, this, [this] { fail(PageTextMessages::NotRead); });
}

void PageTextRequest::start()
{
    // The empty page shown before any navigation may report itself as loading for ever.
    const auto blank = [](const QUrl& url) { return url.isEmpty() || url == QUrl(QStringLiteral("about:blank")); };
    if (!mPage || (blank(mPage->url()) && blank(mPage->requestedUrl()))) {
        fail(PageTextMessages::NoPage);
        return;
    }
    if (mPage->isLoading()) {
        mWaitingForLoad = true;
        connect(mPage, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
            if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus || !mWaitingForLoad)
                return;
            mWaitingForLoad = false;
            if (loadFailed(info))
                fail(PageTextMessages::LoadFailed);
            else
                extract();
        });
        return;
    }
    if (mLastLoadFailed) {
        fail(PageTextMessages::LoadFailed);
        return;
    }
    extract();
}

void PageTextRequest::extract()
{
    QString script;
    try {
        script = PageTextScript();
    } catch (const ParlivoError&) {
        fail(PageTextMessages::NotRead);
        return;
    }
    script += mUseSelection ? QStringLiteral("(true);") : QStringLiteral("(false);");
    mTimer.start();
    // The page's own scripts cannot see or change ours, nor ours theirs.
    const QPointer<PageTextRequest> self(this);
    mPage->runJavaScript(script, QWebEngineScript::ApplicationWorld, [self](const QVariant& result) {
        if (self)
            self->receive(result);
    });
}

void PageTextRequest::receive(const QVariant& result)
{
    if (mDone)
        return;
    const QVariantMap map = result.toMap();
    if (!map.contains(QStringLiteral("text"))) {
        fail(PageTextMessages::NotRead);
        return;
    }
    PageText page;
    const QString source = map.value(QStringLiteral("source")).toString();
    page.source = source == QLatin1String("selection") ? PageText::Source::Selection
                  : source == QLatin1String("article") ? PageText::Source::Article
                                                       : PageText::Source::VisibleText;
    page.text = ReadableParagraphs(map.value(QStringLiteral("text")).toString());
    if (page.text.isEmpty()) {
        fail(PageTextMessages::NoText);
        return;
    }
    mDone = true;
    mTimer.stop();
    emit finished(page);
    deleteLater();
}

void PageTextRequest::fail(const QString& message)
{
    if (mDone)
        return;
    mDone = true;
    mTimer.stop();
    emit failed(message);
    deleteLater();
}

namespace {

// A saved page is read as it was saved: nothing outside the local files is fetched.
class LocalOnly : public QWebEngineUrlRequestInterceptor
{
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        const QString scheme = info.requestUrl().scheme();
        if (scheme != QLatin1String("file") && scheme != QLatin1String("data") && scheme != QLatin1String("qrc"))
            info.block(true);
    }
};

} // namespace

PageText ArticleTextOfFile(const QString& path, int timeoutMs)
{
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable())
        throw ParlivoError(QStringLiteral("cannot be read"));

    LocalOnly interceptor;
    QWebEngineProfile profile; // off the record: no cache or cookies on disk
    profile.setUrlRequestInterceptor(&interceptor);
    QWebEnginePage page(&profile);
    QEventLoop loop;
    bool loaded = false;
    bool ok = false;
    QObject::connect(&page, &QWebEnginePage::loadFinished, &loop, [&](bool success) {
        loaded = true;
        ok = success;
        loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    limit.start(timeoutMs);
    page.load(QUrl::fromLocalFile(info.absoluteFilePath()));
    loop.exec();
    if (!loaded || !ok)
        throw ParlivoError(PageTextMessages::LoadFailed);

    PageText result;
    QString failure;
    auto* request = new PageTextRequest(&page, false, false);
    request->setScriptTimeout(qMax(1, timeoutMs));
    QObject::connect(request, &PageTextRequest::finished, &loop, [&](const PageText& text) {
        result = text;
        loop.quit();
    });
    QObject::connect(request, &PageTextRequest::failed, &loop, [&](const QString& message) {
        failure = message;
        loop.quit();
    });
    request->start();
    loop.exec();
    delete request;
    if (!failure.isEmpty())
        throw ParlivoError(failure);
    return result;
}
