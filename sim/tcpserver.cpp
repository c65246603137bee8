#include "sim/tcpserver.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace zelcor::sim {

namespace {

// Output the client does not read is dropped beyond this (a flood to a client that stopped
// reading would grow without end).
constexpr qint64 unsentLimit = 1 << 20;

} // namespace

TcpServer::TcpServer(const Options& options, QObject* parent)
    : QObject(parent), runner_(options), server_(new QTcpServer(this)) {
    connect(server_, &QTcpServer::newConnection, this, &TcpServer::accept);
    connect(&runner_, &RealtimeRunner::output, this, [this](const QByteArray& bytes) {
        if (client_ && client_->bytesToWrite() + bytes.size() <= unsentLimit) client_->write(bytes);
    });
    connect(&runner_, &RealtimeRunner::unplugged, this, &TcpServer::unplug);
    connect(&runner_, &RealtimeRunner::hungUp, this, &TcpServer::hangUp);
    runner_.simulator().setClientRate(0); // a network link has no line rate to get wrong
}

void TcpServer::hangUp() {
    if (!client_) return;
    QTcpSocket* socket = client_;
    client_ = nullptr; // the next client is welcome at once
    socket->abort();
    socket->deleteLater();
}

TcpServer::~TcpServer() {
    if (client_) client_->abort();
}

bool TcpServer::listen(quint16 port, QString* error) {
    if (server_->listen(QHostAddress::LocalHost, port)) return true;
    if (error) *error = server_->errorString();
    return false;
}

quint16 TcpServer::port() const {
    return server_->serverPort();
}

void TcpServer::accept() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        if (client_) { // busy: one client at a time
            socket->abort();
            socket->deleteLater();
            continue;
        }
        client_ = socket;
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { runner_.feed(socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        runner_.clientConnected();
    }
}

void TcpServer::unplug() {
    if (!server_->isListening() && !client_) return;
    server_->close();
    if (client_) client_->abort();
    emit unplugged();
}

} // namespace zelcor::sim
