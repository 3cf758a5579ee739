#include "ui/network_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QSysInfo>
#include <QVBoxLayout>
#include <utility>

#include "data/text_ids.h"
#include "net/session.h"
#include "rules/game.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/framed_dialog.h"
#include "ui/net_transport.h"

namespace tomtura {
namespace {

constexpr int kChoiceButtonWidth = 190;
constexpr int kListWidth = 190;
constexpr int kListRows = 6;
constexpr int kAddressFieldWidth = 190;
constexpr int kNameFieldWidth = 110;

QString Text(const Game& game, int n) {
  return QString::fromStdString(game.Text(n));
}

QPushButton* MakeButton(QWidget* parent, int id, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  SetControlId(button, id);
  button->setAutoDefault(false);
  return button;
}

// Buttons stacked at the right of a dialog, as in the new-game dialog.
QVBoxLayout* ButtonColumn(std::initializer_list<QPushButton*> buttons) {
  auto* column = new QVBoxLayout;
  for (QPushButton* button : buttons) column->addWidget(button);
  column->addStretch();
  return column;
}

}  // namespace

// This computer's address for others to join at, and its name.
QString LocalAddressText(const Game& game, quint32 bytes) {
  return QString::fromStdString(game.FormatCatalogue(
      kTextAddress, static_cast<int>(bytes >> 24), static_cast<int>((bytes >> 16) & 0xFF),
      static_cast<int>((bytes >> 8) & 0xFF), static_cast<int>(bytes & 0xFF),
      QSysInfo::machineHostName().toStdString()));
}

// ---- The choice ------------------------------------------------------------------------------

NetworkDialog::NetworkDialog(const Game& game, Next host, Next join, QWidget* parent)
    : QDialog(parent), host_(std::move(host)), join_(std::move(join)) {
  setWindowTitle(Text(game, kTextNetworkTitle));
  setFont(DialogFont());
  QPushButton* hostButton = MakeButton(this, kHost, tr("&Host a network game"));
  QPushButton* joinButton = MakeButton(this, kJoin, tr("&Join a network game"));
  QPushButton* cancel = MakeButton(this, kIdButton2, tr("Cancel"));
  for (QPushButton* button : {hostButton, joinButton, cancel}) {
    button->setMinimumWidth(kChoiceButtonWidth);
  }
  hostButton->setDefault(true);
  connect(hostButton, &QPushButton::clicked, this, &NetworkDialog::Host);
  connect(joinButton, &QPushButton::clicked, this, &NetworkDialog::Join);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  basic_ = new QCheckBox(tr("Only the &basic messages"), this);
  SetControlId(basic_, kBasic);
  basic_->setToolTip(
      tr("For a computer that does not know this program's newer messages: no "
         "coming back after a lost connection, no offers in each edition's words"));

  auto* layout = ButtonColumn({hostButton, joinButton, cancel});
  layout->insertWidget(2, basic_);
  setLayout(layout);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool NetworkDialog::basicOnly() const {
  return basic_->isChecked();
}

void NetworkDialog::Host() {
  if (host_ && host_(this)) accept();
}

void NetworkDialog::Join() {
  if (join_ && join_(this)) accept();
}

// ---- The host's lobby ------------------------------------------------------------------------

HostLobbyDialog::HostLobbyDialog(Game& game, NetSession& session, const QString& address,
                                 const QString& name, QWidget* parent, ChooseSavedGame chooseSaved)
    : QDialog(parent), game_(game), session_(session), chooseSaved_(std::move(chooseSaved)) {
  setWindowTitle(tr("Tomtura - Network game: waiting for players"));
  setFont(DialogFont());

  players_ = new QListWidget(this);
  SetControlId(players_, kPlayers);
  players_->setSelectionMode(QAbstractItemView::NoSelection);
  players_->setFocusPolicy(Qt::NoFocus);
  players_->setFixedSize(kListWidth, players_->fontMetrics().height() * kListRows + 6);
  auto* playersLabel = new QLabel(tr("Joined players"), this);

  auto* addressLine = new QLabel(address, this);
  SetControlId(addressLine, kAddress);
  addressLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

  name_ = new QLineEdit(name, this);
  SetControlId(name_, kName);
  name_->setMaxLength(kNameChars);
  name_->setFixedWidth(kNameFieldWidth);
  auto* nameLabel = new QLabel(tr("&Your name"), this);
  nameLabel->setBuddy(name_);

  start_ = MakeButton(this, kIdButton1, tr("&Start"));
  computer_ = MakeButton(this, kComputer, tr("&Computer player"));
  QPushButton* cancel = MakeButton(this, kIdButton2, tr("Cancel"));
  start_->setDefault(true);
  connect(start_, &QPushButton::clicked, this, &HostLobbyDialog::Start);
  connect(computer_, &QPushButton::clicked, this, &HostLobbyDialog::AddComputer);
  // A saved network game: its players come back to their own seats.
  saved_ = MakeButton(this, kSavedGame, tr("Saved &game..."));
  saved_->setVisible(static_cast<bool>(chooseSaved_));
  connect(saved_, &QPushButton::clicked, this, [this] {
    if (chooseSaved_ && chooseSaved_()) {
      name_->setText(QString::fromStdString(game_.PlayerName(0)));
      name_->setEnabled(false);  // the host's player is the file's first
      Refresh();
    }
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  strength_ = new QComboBox(this);
  SetControlId(strength_, kStrength);
  const std::pair<Strength, QString> strengths[] = {
      {Strength::Easy, tr("Easy")}, {Strength::Normal, tr("Normal")}, {Strength::Hard, tr("Hard")}};
  for (const auto& [strength, caption] : strengths) {
    strength_->addItem(caption, static_cast<int>(strength));
  }
  strength_->setCurrentIndex(strength_->findData(static_cast<int>(Strength::Normal)));

  grace_ = new QSpinBox(this);
  SetControlId(grace_, kGrace);
  grace_->setRange(0, kMaxGraceSeconds);
  grace_->setValue(kDefaultGraceSeconds);
  grace_->setSuffix(tr(" s"));
  auto* graceLabel = new QLabel(tr("Keep the seat of a player whose connection breaks &for"), this);
  graceLabel->setBuddy(grace_);

  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(nameLabel);
  nameRow->addWidget(name_);
  nameRow->addStretch();
  auto* graceRow = new QHBoxLayout;
  graceRow->addWidget(graceLabel);
  graceRow->addWidget(grace_);
  graceRow->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(playersLabel);
  left->addWidget(players_);
  left->addWidget(addressLine);
  left->addLayout(nameRow);
  left->addLayout(graceRow);

  QVBoxLayout* buttons = ButtonColumn({start_, computer_, saved_, cancel});
  buttons->insertWidget(2, strength_);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  Refresh();
  FocusSelected(name_);
}

void HostLobbyDialog::Refresh() {
  const GameState& state = game_.state;
  players_->clear();
  const bool saved = session_.hostsSavedGame();
  bool allNamed = true;
  for (int p = 1; p < state.playerCount; ++p) {
    if (state.players[p].name.empty()) {
      allNamed = false;  // connected, but his name has not come yet
      continue;
    }
    const QString name = QString::fromStdString(game_.PlayerName(p));
    if (IsComputerPlayer(state.players[p])) {
      players_->addItem(tr("%1 (computer)").arg(name));
    } else if (saved && state.players[p].isBankrupt != 0) {
      players_->addItem(tr("%1 (out of the game)").arg(name));
    } else if (saved && PlayerConnection(state.players[p]) < 0) {
      players_->addItem(tr("%1 (awaited)").arg(name));
    } else {
      players_->addItem(name);
    }
  }
  start_->setEnabled(state.playerCount >= 2 && allNamed && session_.PlayersAwaited() == 0);
  computer_->setEnabled(!saved && state.playerCount < kMaxPlayers);
  strength_->setEnabled(computer_->isEnabled());
  // A lobby that others have joined is a new game's.
  saved_->setEnabled(!saved && state.playerCount == 1);
}

void HostLobbyDialog::AddComputer() {
  session_.AddComputer(game_.FormatCatalogue(kTextDefaultName, game_.state.playerCount),
                       static_cast<Strength>(strength_->currentData().toInt()));
  Refresh();
}

void HostLobbyDialog::Start() {
  if (!start_->isEnabled()) return;
  session_.SetGrace(std::chrono::seconds(grace_->value()));
  session_.Start(name_->text().toStdString());
  accept();
}

// ---- A client's connection -------------------------------------------------------------------

JoinDialog::JoinDialog(Game& game, NetSession& session, NetTransport& link, int port,
                       const QString& name, NetworkMessageBox box, QWidget* parent)
    : QDialog(parent),
      game_(game),
      session_(session),
      link_(link),
      port_(port),
      box_(std::move(box)) {
  setWindowTitle(tr("Tomtura - Network game: connect to the host"));
  setFont(DialogFont());

  address_ = new QLineEdit(this);
  SetControlId(address_, kAddress);
  address_->setMaxLength(kAddressChars);
  address_->setMinimumWidth(kAddressFieldWidth);
  auto* addressLabel = new QLabel(tr("&Address"), this);
  addressLabel->setBuddy(address_);

  name_ = new QLineEdit(name, this);
  SetControlId(name_, kName);
  name_->setMaxLength(HostLobbyDialog::kNameChars);
  name_->setFixedWidth(kNameFieldWidth);
  auto* nameLabel = new QLabel(tr("&Your name"), this);
  nameLabel->setBuddy(name_);

  progress_ = new QLabel(this);
  SetControlId(progress_, kProgress);
  status_ = new QLabel(this);
  SetControlId(status_, kStatus);
  status_->setWordWrap(true);

  ok_ = MakeButton(this, kIdButton1, tr("OK"));
  QPushButton* cancel = MakeButton(this, kIdButton2, tr("Cancel"));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &JoinDialog::Connect);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* fields = new QGridLayout;
  fields->addWidget(addressLabel, 0, 0);
  fields->addWidget(address_, 0, 1);
  fields->addWidget(nameLabel, 1, 0);
  fields->addWidget(name_, 1, 1, Qt::AlignLeft);

  auto* left = new QVBoxLayout;
  left->addLayout(fields);
  left->addWidget(progress_);
  left->addWidget(status_);
  left->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addSpacing(12);
  layout->addLayout(ButtonColumn({ok_, cancel}));
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(&link_, &NetTransport::resolved, this,
          [this](const QString& dotted) { address_->setText(dotted); });
  connect(&link_, &NetTransport::connected, this, &JoinDialog::Connected);
  connect(&link_, &NetTransport::failed, this, &JoinDialog::Failed);

  FocusSelected(address_);
}

void JoinDialog::Connect() {
  if (connecting_ || joined_ || address_->text().trimmed().isEmpty()) return;
  connecting_ = true;
  for (QWidget* control : {static_cast<QWidget*>(address_), static_cast<QWidget*>(name_),
                           static_cast<QWidget*>(ok_)}) {
    control->setEnabled(false);
  }
  status_->setText(tr("Connecting..."));
  link_.Connect(address_->text(), port_);
}

// Connected: the name goes to the host, and the dialog waits for the host's start. The fields
// are hidden, and their labels with them.
void JoinDialog::Connected() {
  connecting_ = false;
  joined_ = true;
  for (QLabel* label : findChildren<QLabel*>()) {
    if (label->buddy() == address_ || label->buddy() == name_) label->hide();
  }
  for (QWidget* control : {static_cast<QWidget*>(address_), static_cast<QWidget*>(name_),
                           static_cast<QWidget*>(ok_)}) {
    ShowControl(control, false);
  }
  progress_->setText(
      QString::fromStdString(game_.FormatCatalogue(kTextJoinedAs, name_->text().toStdString())));
  status_->setText(Text(game_, kTextAwaitingStart));
  session_.Join(name_->text().toStdString());
}

void JoinDialog::Failed() {
  connecting_ = false;
  status_->clear();
  box_(Text(game_, kTextNetworkTitle), Text(game_, kTextConnectFailed), QMessageBox::Critical);
  reject();
}

void JoinDialog::HostLost() {
  box_(Text(game_, kTextNetworkTitle), Text(game_, kTextConnectionLost), QMessageBox::Warning);
  reject();
}

// ---- Who is missing ---------------------------------------------------------------------------

MissingPlayersWindow::MissingPlayersWindow(const Game& game, const NetSession& session,
                                           QWidget* parent)
    : QDialog(parent, Qt::Tool), game_(game), session_(session) {
  setWindowTitle(tr("Missing players"));
  setFont(DialogFont());
  setAttribute(Qt::WA_ShowWithoutActivating);
  list_ = new QLabel(this);
  SetControlId(list_, kList);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(&tick_, &QTimer::timeout, this, &MissingPlayersWindow::Refresh);
}

void MissingPlayersWindow::Refresh() {
  const std::array<SeatState, kMaxPlayers> seats = session_.Seats();
  QStringList lines;
  for (int p = 0; p < game_.state.playerCount && p < kMaxPlayers; ++p) {
    const QString name = QString::fromStdString(game_.PlayerName(p));
    if (seats[p].status == SeatStatus::Missing) {
      lines << tr("%1 is missing: his seat is kept for %2 s more")
                   .arg(name)
                   .arg(seats[p].secondsLeft);
    } else if (seats[p].status == SeatStatus::Substitute) {
      lines << tr("%1 is missing: the host's computer plays for him until he is back").arg(name);
    }
  }
  if (lines.isEmpty()) {
    tick_.stop();
    hide();
    return;
  }
  list_->setText(lines.join(QLatin1Char('\n')));
  if (!tick_.isActive()) tick_.start(1000);
  if (!isVisible()) show();
}

}  // namespace tomtura
