// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the network windows ask of the connection under a network game: listen as the host,
// connect as a client and say how that went, and wait for input with the windows alive. The
// connection itself (QtNetLink, on Qt's sockets) lives in the network part, loaded when the
// first network game begins, so that the program starts without Qt's network library.
#include <QObject>
#include <QString>

#include "net/session.h"

namespace tomtura {

class NetTransport : public QObject, public NetSession::Link {
  Q_OBJECT

 public:
  using QObject::QObject;
  ~NetTransport() override = default;

  virtual void Attach(NetSession& session) = 0;

  // Host: listens on `port` on every address; false with listenError() when it cannot.
  virtual bool Listen(int port) = 0;
  virtual int listeningPort() const = 0;
  virtual int listenError() const = 0;

  // Client: looks `host` up and connects, reporting resolved, then connected or failed.
  virtual void Connect(const QString& host, int port) = 0;

  // Ends the waits under way; `forGood` ends every later one at once too.
  virtual void Interrupt(bool forGood = false) = 0;
  // Whether a wait for input is under way.
  virtual bool waiting() const = 0;

  // The first IPv4 address of this computer that another computer can reach, else the loopback,
  // as four bytes, the first in the highest.
  virtual quint32 LocalIPv4() const = 0;

 signals:
  // A host name was looked up: the address it stands for, dotted.
  void resolved(const QString& address);
  void connected();
  void failed();
};

}  // namespace tomtura
