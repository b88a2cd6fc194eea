#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWebEnginePage;

// The text "Read web page" reads: what is selected in the page, else the page's article, else its visible
// text. One paragraph a line.
struct PageText
{
    enum class Source
    {
        Selection,
        Article,
        VisibleText
    };
    Source source = Source::VisibleText;
    QString text;
};

// The messages of a page that gives nothing to read.
namespace PageTextMessages {
inline const QString NoPage = QStringLiteral("There is no web page to read. Go to a page in the web panel first.");
inline const QString LoadFailed = QStringLiteral("The web page could not be loaded, so there is nothing to read.");
inline const QString NoText = QStringLiteral("The web page has no text to read.");
inline const QString NotRead = QStringLiteral("The text of the web page could not be read.");
} // namespace PageTextMessages

// Text broken into lines as a page gives it: each line's runs of white space become one space, blank lines go.
QString ReadableParagraphs(const QString& text);

// The script that finds a page's readable text (Readability and ours); throws ParlivoError when the program
// was built without it.
const QString& PageTextScript();

// One extraction of a page's readable text. A page that is still loading is read once it has loaded (or
// once the user stops it). Ends with exactly one of finished() or failed(), whose message is one of
// PageTextMessages, and then deletes itself.
class PageTextRequest : public QObject
{
    Q_OBJECT
public:
    // `useSelection`: a selection in the page is read instead of the article. `lastLoadFailed`: the page shown
    // is the browser's error page for an address that could not be loaded.
    PageTextRequest(QWebEnginePage* page, bool useSelection, bool lastLoadFailed, QObject* parent = nullptr);

    void start();
    bool waitingForLoad() const { return mWaitingForLoad; }
    // How long the script may run in the page before the request gives up.
    void setScriptTimeout(int milliseconds) { mTimer.setInterval(milliseconds); }

signals:
    void finished(const PageText& text);
    void failed(const QString& message);

private:
    void extract();
    void receive(const QVariant& result);
    void fail(const QString& message);

    QPointer<QWebEnginePage> mPage;
    bool mUseSelection;
    bool mLastLoadFailed;
    bool mWaitingForLoad = false;
    bool mDone = false;
    QTimer mTimer;
};

// The article text of a saved web page, read without a window; nothing is fetched from the network. Blocks
// until done. Throws ParlivoError with one of PageTextMessages (the file's own problems named first).
PageText ArticleTextOfFile(const QString& path, int timeoutMs = 60000);
