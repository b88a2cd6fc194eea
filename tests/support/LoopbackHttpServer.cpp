#include "LoopbackHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

LoopbackHttpServer::LoopbackHttpServer(int maxRequests) : FRequestsLeft(maxRequests)
{
    FServer.listen(QHostAddress::LocalHost, 0);
    connect(&FServer, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = FServer.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LoopbackHttpServer::url(const QString& path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(FServer.serverPort()).arg(path));
}

void LoopbackHttpServer::answer(QTcpSocket* socket)
{
    const QByteArray request = socket->peek(16384);
    if (!request.contains("\r\n\r\n") && request.size() < 16384)
        return;
    socket->readAll();
    if (--FRequestsLeft <= 0)
        FServer.close();
    const QList<QByteArray> words = request.left(request.indexOf('\r')).split(' ');
    const QString path = words.size() >= 2 ? QString::fromLatin1(words[1]) : QString();
    FRequested.append(path);
    const auto page = FPages.constFind(path);
    const QByteArray body = page != FPages.constEnd() ? *page : QByteArrayLiteral("not found");
    const QByteArray status = page != FPages.constEnd() ? "200 OK" : "404 Not Found";
    const QByteArray reply = "HTTP/1.1 " + status + "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                             QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    QTimer::singleShot(FDelays.value(path, 0), socket, [socket, reply] {
        socket->write(reply);
        socket->disconnectFromHost();
    });
}
