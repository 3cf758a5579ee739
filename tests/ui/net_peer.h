#pragma once
// Another computer of a network game, without windows, in a thread of its own: the game's
// session over a QtNetLink on the loopback. Its player never throws: it takes in what comes. The
// test reads what it has seen as it stood when it last waited for the network.
#include <QEventLoop>
#include <QMetaObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "headless/headless_front_end.h"
#include "net/session.h"
#include "rules/game.h"
#include "ui/qt_net_link.h"

namespace tomtura {

class NetPeer {
 public:
  struct View {
    bool inGame = false;
    bool ended = false;
    std::vector<std::string> chats;  // "title: text" of the messages shown here
  };

  // Host: listens on a free port and starts once `players` (itself included) have joined.
  // Client: joins the host on `port` of `address`, the IPv4 loopback unless told.
  NetPeer(Role role, std::string name, std::uint64_t seed, int port = 0, int players = 2,
          std::string address = "127.0.0.1")
      : role_(role),
        name_(std::move(name)),
        seed_(seed),
        port_(port),
        players_(players),
        address_(std::move(address)) {
    thread_.reset(QThread::create([this] { Run(); }));
    thread_->start();
  }

  ~NetPeer() { Stop(); }

  // The computer leaves: its thread ends and its connection closes.
  void Stop() {
    stop_ = true;
    Wake([](QtNetLink& link, NetSession&) { link.Interrupt(); });
    thread_->wait();
  }

  // Host: the port listened on, once it is known (0 until then).
  int port() const { return listening_; }

  View view() const {
    std::lock_guard lock(mutex_);
    return view_;
  }

  // A message from this computer's player, sent from its own thread.
  void SendChat(const std::string& text, std::vector<int> addressees) {
    Wake([text, addressees](QtNetLink&, NetSession& session) {
      session.SendChat(text, addressees);
    });
  }

 private:
  template <typename F>
  void Wake(F action) {
    std::lock_guard lock(linkMutex_);
    if (link_ == nullptr || session_ == nullptr) return;
    QtNetLink* link = link_;
    NetSession* session = session_;
    QMetaObject::invokeMethod(
        link,
        [link, session, action] {
          action(*link, *session);
          link->Interrupt();
        },
        Qt::QueuedConnection);
  }

  void Run() {
    HeadlessFrontEnd ui;
    Game game(TextCatalogue::Load(TOMTURA_ASSETS_DIR "/tomtura.lst"), ui, seed_);
    ui.Attach(game);
    QtNetLink link;
    NetSession session(game, link, role_);
    link.Attach(session);
    session.remotePressMs = 0;
    session.events.playerLeft = [](int) { return true; };
    session.events.chat = [this](const std::string& title, const std::string& text) {
      std::lock_guard lock(mutex_);
      view_.chats.push_back(title + ": " + text);
    };
    {
      std::lock_guard lock(linkMutex_);
      link_ = &link;
      session_ = &session;
    }
    if (SetUp(game, link, session)) Play(link, session);
    Publish(session);
    std::lock_guard lock(linkMutex_);
    link_ = nullptr;
    session_ = nullptr;
  }

  bool SetUp(Game& game, QtNetLink& link, NetSession& session) {
    if (role_ == Role::Host) {
      if (!link.Listen(0)) return false;
      session.OpenLobby();
      listening_ = link.listeningPort();
      for (;;) {
        int named = 1;
        for (int p = 1; p < game.state.playerCount; ++p) {
          named += game.state.players[p].name.empty() ? 0 : 1;
        }
        if (named >= players_) break;
        if (stop_ || !link.WaitForInput()) return false;
      }
      session.Start(name_);
      return true;
    }
    QEventLoop connecting;  // ends with 0 once connected, 1 on a failure
    QObject::connect(&link, &QtNetLink::connected, &connecting, &QEventLoop::quit);
    QObject::connect(&link, &QtNetLink::failed, &connecting, [&connecting] { connecting.exit(1); });
    link.Connect(QString::fromStdString(address_), port_);
    if (connecting.exec() != 0) return false;
    session.Join(name_);
    while (!session.inGame()) {
      if (stop_ || session.ended() || !link.WaitForInput()) return false;
    }
    return true;
  }

  void Play(QtNetLink& link, NetSession& session) {
    while (!stop_ && !session.ended()) {
      session.Pump();
      Publish(session);
      if (!link.WaitForInput()) break;
    }
  }

  void Publish(const NetSession& session) {
    std::lock_guard lock(mutex_);
    view_.inGame = session.inGame();
    view_.ended = session.ended();
  }

  Role role_;
  std::string name_;
  std::uint64_t seed_;
  int port_;
  int players_;
  std::string address_;
  std::atomic<bool> stop_{false};
  std::atomic<int> listening_{0};
  mutable std::mutex mutex_;
  View view_;
  std::mutex linkMutex_;
  QtNetLink* link_ = nullptr;
  NetSession* session_ = nullptr;
  std::unique_ptr<QThread> thread_;
};

}  // namespace tomtura
