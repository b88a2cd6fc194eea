#pragma once

#include <QHash>
#include <QTcpServer>
#include <QUrl>

// A tiny HTTP server on 127.0.0.1 serving fixed pages to the browser under test. It answers a bounded
// number of requests and then stops listening.
class LoopbackHttpServer : public QObject
{
public:
    explicit LoopbackHttpServer(int maxRequests = 200);

    void addPage(const QString& path, const QByteArray& html) { mPages.insert(path, html); }
    // A page whose answer comes only after `delayMs`: a page that is still loading meanwhile.
    void addSlowPage(const QString& path, const QByteArray& html, int delayMs)
    {
        mPages.insert(path, html);
        mDelays.insert(path, delayMs);
    }
    QUrl url(const QString& path) const;
    QStringList requestedPaths() const { return mRequested; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer mServer;
    QHash<QString, QByteArray> mPages;
    QHash<QString, int> mDelays;
    QStringList mRequested;
    int mRequestsLeft;
};
