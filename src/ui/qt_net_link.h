#pragma once
// The network under a NetSession, on Qt's sockets. The host listens and numbers each computer
// that connects 2, 3, ...; a client looks the host up, connects, and reports how that went.
// Bytes go to the session as they arrive, whole messages or not (its framer keeps what has not
// all come), and a lost connection is reported once. WaitForInput runs a nested event loop, so
// the windows stay alive while the game waits for another computer.
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include "ui/net_transport.h"

class QEventLoop;
class QHostInfo;
class QTcpServer;
class QTcpSocket;

namespace tomtura {

class QtNetLink : public NetTransport {
  Q_OBJECT

 public:
  // A connection attempt that has not succeeded by then has failed.
  static constexpr int kConnectTimeoutMs = 10000;

  explicit QtNetLink(QObject* parent = nullptr);
  ~QtNetLink() override;
  QtNetLink(const QtNetLink&) = delete;
  QtNetLink& operator=(const QtNetLink&) = delete;

  // The session that bytes, new connections and losses go to; set before listening or
  // connecting.
  void Attach(NetSession& session) override { session_ = &session; }

  // Host: listens on `port` of every address, IPv6 and IPv4 (0: any free port). False when it
  // cannot; listenError() then gives the socket error's number.
  bool Listen(int port) override;
  int listeningPort() const override;
  int listenError() const override { return listenError_; }

  // Client: looks `host` up (an IPv4 or IPv6 address, or a host name) and connects to it on
  // `port`. The outcome comes as resolved() (a name stood for an address), then connected() or
  // failed().
  void Connect(const QString& host, int port) override;

  // Ends every wait of WaitForInput at once; with `forGood`, waits return false from now on
  // (the program is ending).
  void Interrupt(bool forGood = false) override;
  bool waiting() const override { return !loops_.isEmpty(); }
  quint32 LocalIPv4() const override;

  // ---- NetSession::Link ----
  void Send(ConnectionId connection, std::vector<std::uint8_t> bytes) override;
  void Close(ConnectionId connection) override;
  bool WaitForInput() override;
  bool WaitAtMost(int ms) override;

 private:
  void Accept();
  void HostFound(const QHostInfo& info);
  void TryNextCandidate();
  void ConnectTo(const QHostAddress& address);
  void ConnectFailed();
  // Takes `socket` as connection `connection`: its bytes and its loss go to the session.
  void Keep(ConnectionId connection, QTcpSocket* socket);
  void Read(ConnectionId connection);
  void Gone(ConnectionId connection);
  ConnectionId NextConnection();
  void WakeWaits();

  NetSession* session_ = nullptr;
  QTcpServer* server_ = nullptr;
  int listenError_ = 0;
  QMap<ConnectionId, QPointer<QTcpSocket>> sockets_;
  ConnectionId lastConnection_ = kHostConnection + 1;
  // Client: the socket being connected, the name being looked up, and the time it may take.
  QPointer<QTcpSocket> connecting_;
  QList<QHostAddress> candidates_;  // the addresses of the name not tried yet
  int lookupId_ = -1;
  int port_ = 0;
  QTimer connectTimer_;
  QList<QEventLoop*> loops_;
  bool interrupted_ = false;
  bool closed_ = false;
};

}  // namespace tomtura
