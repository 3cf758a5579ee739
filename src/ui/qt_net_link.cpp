#include "ui/qt_net_link.h"

#include <QEventLoop>
#include <QHostInfo>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <span>

namespace tomtura {

namespace {

constexpr ConnectionId kFirstClient = 2;
constexpr ConnectionId kLastClient = 0x7FFF;

}  // namespace

QtNetLink::QtNetLink(QObject* parent) : NetTransport(parent) {
  connectTimer_.setSingleShot(true);
  connect(&connectTimer_, &QTimer::timeout, this, &QtNetLink::ConnectFailed);
}

// The sockets go with the link; what they report on the way out reaches nobody.
QtNetLink::~QtNetLink() {
  session_ = nullptr;
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  if (connecting_ != nullptr) connecting_->disconnect(this);
  for (const QPointer<QTcpSocket>& socket : std::as_const(sockets_)) {
    if (socket != nullptr) socket->disconnect(this);
  }
  WakeWaits();
}

// ---- Host ------------------------------------------------------------------------------------

bool QtNetLink::Listen(int port) {
  if (server_ == nullptr) {
    server_ = new QTcpServer(this);
    connect(server_, &QTcpServer::newConnection, this, &QtNetLink::Accept);
  }
  // Both stacks; IPv4 alone where the system has no IPv6.
  if (server_->listen(QHostAddress::Any, static_cast<quint16>(port))) return true;
  if (server_->serverError() != QAbstractSocket::AddressInUseError &&
      server_->listen(QHostAddress::AnyIPv4, static_cast<quint16>(port))) {
    return true;
  }
  listenError_ = static_cast<int>(server_->serverError());
  return false;
}

int QtNetLink::listeningPort() const {
  return server_ != nullptr && server_->isListening() ? server_->serverPort() : 0;
}

// Every connection is numbered and offered to the session, which turns it away when six players
// are there or the game has begun.
void QtNetLink::Accept() {
  while (server_->hasPendingConnections()) {
    QTcpSocket* socket = server_->nextPendingConnection();
    const ConnectionId connection = NextConnection();
    Keep(connection, socket);
    if (session_ == nullptr || !session_->Accept(connection)) Close(connection);
  }
  WakeWaits();
}

// The next free number after the last one given, so that a late message of a closed
// connection is never taken for a new one's.
ConnectionId QtNetLink::NextConnection() {
  do {
    lastConnection_ = lastConnection_ >= kLastClient
                          ? kFirstClient
                          : static_cast<ConnectionId>(lastConnection_ + 1);
  } while (sockets_.contains(lastConnection_));
  return lastConnection_;
}

quint32 QtNetLink::LocalIPv4() const {
  for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
    if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback()) {
      return address.toIPv4Address();
    }
  }
  return QHostAddress(QHostAddress::LocalHost).toIPv4Address();
}

// ---- Client ----------------------------------------------------------------------------------

void QtNetLink::Connect(const QString& host, int port) {
  port_ = port;
  connectTimer_.start(kConnectTimeoutMs);
  QString text = host.trimmed();
  // An IPv6 address may come in the brackets of a URL.
  if (text.startsWith('[') && text.endsWith(']')) text = text.mid(1, text.size() - 2);
  QHostAddress address;
  if (address.setAddress(text)) {
    ConnectTo(address);
    return;
  }
  lookupId_ = QHostInfo::lookupHost(text, this, &QtNetLink::HostFound);
}

// A name stands for its addresses, IPv4 ones first, each tried in turn until one answers; the
// one tried is written back.
void QtNetLink::HostFound(const QHostInfo& info) {
  lookupId_ = -1;
  const QList<QHostAddress> addresses = info.addresses();
  if (info.error() != QHostInfo::NoError || addresses.isEmpty()) {
    ConnectFailed();
    return;
  }
  candidates_.clear();
  for (const QHostAddress& address : addresses) {
    if (address.protocol() == QAbstractSocket::IPv4Protocol) candidates_.append(address);
  }
  for (const QHostAddress& address : addresses) {
    if (address.protocol() != QAbstractSocket::IPv4Protocol) candidates_.append(address);
  }
  TryNextCandidate();
}

void QtNetLink::TryNextCandidate() {
  const QHostAddress next = candidates_.takeFirst();
  emit resolved(next.toString());
  ConnectTo(next);
}

void QtNetLink::ConnectTo(const QHostAddress& address) {
  auto* socket = new QTcpSocket(this);
  connecting_ = socket;
  connect(socket, &QTcpSocket::connected, this, [this, socket] {
    connectTimer_.stop();
    connecting_ = nullptr;
    socket->disconnect(this);
    Keep(kHostConnection, socket);
    emit connected();
  });
  connect(socket, &QAbstractSocket::errorOccurred, this, [this, socket] {
    if (connecting_ != socket) return;
    if (candidates_.isEmpty()) {
      ConnectFailed();
      return;
    }
    connecting_ = nullptr;
    socket->disconnect(this);
    socket->deleteLater();
    TryNextCandidate();
  });
  socket->connectToHost(address, static_cast<quint16>(port_));
}

void QtNetLink::ConnectFailed() {
  connectTimer_.stop();
  candidates_.clear();
  if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
  lookupId_ = -1;
  if (QTcpSocket* socket = connecting_.data()) {
    connecting_ = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
  }
  emit failed();
}

// ---- Both ------------------------------------------------------------------------------------

void QtNetLink::Keep(ConnectionId connection, QTcpSocket* socket) {
  socket->setParent(this);
  socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  sockets_.insert(connection, socket);
  connect(socket, &QIODevice::readyRead, this, [this, connection] { Read(connection); });
  connect(socket, &QAbstractSocket::disconnected, this, [this, connection] { Gone(connection); });
  connect(socket, &QAbstractSocket::errorOccurred, this, [this, connection, socket] {
    if (socket->state() == QAbstractSocket::UnconnectedState) Gone(connection);
  });
}

// All that has come is handed on; the session keeps a message that is not complete yet.
void QtNetLink::Read(ConnectionId connection) {
  QTcpSocket* socket = sockets_.value(connection);
  if (socket == nullptr) return;
  const QByteArray bytes = socket->readAll();
  if (bytes.isEmpty()) return;
  if (session_ != nullptr) {
    session_->Deliver(connection,
                      std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                static_cast<std::size_t>(bytes.size())));
  }
  WakeWaits();
}

void QtNetLink::Gone(ConnectionId connection) {
  const QPointer<QTcpSocket> socket = sockets_.take(connection);
  if (socket == nullptr) return;
  socket->disconnect(this);
  socket->deleteLater();
  if (session_ != nullptr) session_->Lost(connection);
  WakeWaits();
}

void QtNetLink::Send(ConnectionId connection, std::vector<std::uint8_t> bytes) {
  QTcpSocket* socket = sockets_.value(connection);
  if (socket == nullptr || socket->state() != QAbstractSocket::ConnectedState) return;
  socket->write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  socket->flush();  // out now, even when the game does not return to the event loop soon
}

// What was sent before still goes out; the session has already let the connection go, so its
// end is not reported.
void QtNetLink::Close(ConnectionId connection) {
  const QPointer<QTcpSocket> socket = sockets_.take(connection);
  if (socket == nullptr) return;
  socket->disconnect(this);
  connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
  socket->disconnectFromHost();
  if (socket->state() == QAbstractSocket::UnconnectedState) socket->deleteLater();
}

bool QtNetLink::WaitForInput() {
  if (closed_) return false;
  const bool listening =
      server_ != nullptr && server_->isListening() && session_ != nullptr && !session_->inGame();
  if (sockets_.isEmpty() && connecting_ == nullptr && !listening) return false;
  QEventLoop loop;
  loops_.append(&loop);
  loop.exec();
  loops_.removeOne(&loop);
  return !closed_;
}

bool QtNetLink::WaitAtMost(int ms) {
  if (closed_) return false;
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loops_.append(&loop);
  loop.exec();
  loops_.removeOne(&loop);
  return !closed_;
}

void QtNetLink::Interrupt(bool forGood) {
  if (forGood) closed_ = true;
  WakeWaits();
}

void QtNetLink::WakeWaits() {
  for (QEventLoop* loop : std::as_const(loops_)) loop->quit();
}

}  // namespace tomtura
