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

    void addPage(const QString& path, const QByteArray& html) { FPages.insert(path, html); }
    QUrl url(const QString& path) const;
    QStringList requestedPaths() const { return FRequested; }

private:
    void answer(QTcpSocket* socket);

    QTcpServer FServer;
    QHash<QString, QByteArray> FPages;
    QStringList FRequested;
    int FRequestsLeft;
};
