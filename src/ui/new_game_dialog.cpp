// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/new_game_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kNameChars = 9;
constexpr int kPasswordChars = 3;
constexpr int kTokenItemHeight = 40;
constexpr int kTokenFieldHeight = 45;
constexpr int kTokenDropHeight = 160;
constexpr int kTokenListWidth = 92;
constexpr int kTokenInset = 2;
constexpr QColor kItemGrey(192, 192, 192);
constexpr QColor kItemBlue(0, 0, 255);

// One piece: grey, or blue when selected, framed, with the token on it.
void DrawTokenItem(QPainter& p, const QRect& r, int token, bool selected,
                   const BoardPicture& picture) {
  p.fillRect(r, selected ? kItemBlue : kItemGrey);
  Frame3D(p, r, true, false, 0);
  if (token < 0 || token >= kTokenCount) return;
  const QPixmap& sprite = picture.Token(token);
  const int top = r.top() + (r.height() - sprite.height()) / 2;
  p.drawPixmap(r.left() + kTokenInset, top, sprite);
}

class TokenDelegate : public QStyledItemDelegate {
 public:
  TokenDelegate(const BoardPicture& picture, QObject* parent)
      : QStyledItemDelegate(parent), picture_(picture) {}

  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    DrawTokenItem(*p, option.rect, index.data(Qt::UserRole).toInt(), selected, picture_);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return QSize(option.rect.width(), kTokenItemHeight);
  }

 private:
  const BoardPicture& picture_;
};

}  // namespace

// ---- SlotButton --------------------------------------------------------------------------------

SlotButton::SlotButton(bool next, const BoardPicture& picture, QWidget* parent)
    : QAbstractButton(parent), next_(next), picture_(picture) {
  setFocusPolicy(Qt::StrongFocus);
}

QSize SlotButton::sizeHint() const {
  return sheet::SlotButton(next_, false).size();
}

void SlotButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, picture_.SlotButton(next_, isDown() || !isEnabled()));
  if (hasFocus()) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
  }
}

// ---- TokenList ---------------------------------------------------------------------------------

TokenList::TokenList(const BoardPicture& picture, QWidget* parent)
    : ItemComboBox(parent), picture_(picture) {
  setItemDelegate(new TokenDelegate(picture, this));
  setMaxVisibleItems(kTokenDropHeight / kTokenItemHeight);
}

QSize TokenList::sizeHint() const {
  return QSize(kTokenListWidth, kTokenFieldHeight);
}

void TokenList::PaintCurrentItem(QPainter& painter, const QRect& field) const {
  const int index = currentIndex();
  DrawTokenItem(painter, field, index >= 0 ? tokenAt(index) : -1, hasFocus(), picture_);
}

// ---- NewGameDialog -----------------------------------------------------------------------------

NewGameDialog::NewGameDialog(Game& game, const BoardPicture& picture, QWidget* parent,
                             NetworkSetup network, OpenSavedGame open)
    : QDialog(parent),
      game_(game),
      picture_(picture),
      slots_(game.state),
      network_(std::move(network)),
      open_(std::move(open)) {
  setWindowTitle(tr("Tomtura - New game"));
  setFont(DialogFont());
  CreateControls();
  slots_.Open(game_.texts.file());
  ShowSlot();
}

void NewGameDialog::CreateControls() {
  previous_ = new SlotButton(false, picture_, this);
  slotNumber_ = new QLabel(this);
  slotNumber_->setAlignment(Qt::AlignCenter);
  slotNumber_->setMinimumWidth(24);
  next_ = new SlotButton(true, picture_, this);

  name_ = new QLineEdit(this);
  name_->setMaxLength(kNameChars);
  password_ = new QLineEdit(this);
  password_->setMaxLength(kPasswordChars);
  password_->setEchoMode(QLineEdit::Password);
  pieces_ = new TokenList(picture_, this);
  computer_ = new QCheckBox(tr("Computer pla&yer"), this);
  strength_ = new QComboBox(this);
  const std::pair<Strength, QString> strengths[] = {
      {Strength::Easy, tr("Easy")}, {Strength::Normal, tr("Normal")}, {Strength::Hard, tr("Hard")}};
  for (const auto& [strength, name] : strengths) {
    strength_->addItem(name, static_cast<int>(strength));
  }

  add_ = new QPushButton(tr("&Add player"), this);
  remove_ = new QPushButton(tr("&Remove"), this);
  start_ = new QPushButton(tr("&Start"), this);
  openButton_ = new QPushButton(tr("&Open saved game..."), this);
  openButton_->setEnabled(static_cast<bool>(open_));
  networkButton_ = new QPushButton(tr("Ne&twork..."), this);
  networkButton_->setEnabled(static_cast<bool>(network_));
  exit_ = new QPushButton(tr("E&xit"), this);
  // Enter stores the player being entered; Start is a deliberate choice.
  for (QPushButton* button : {add_, remove_, start_, openButton_, networkButton_, exit_})
    button->setAutoDefault(false);
  add_->setDefault(true);

  const std::pair<QWidget*, int> ids[] = {
      {name_, kName},
      {next_, kNextSlot},
      {previous_, kPreviousSlot},
      {slotNumber_, kSlotNumber},
      {add_, kAddPlayer},
      {remove_, kRemovePlayer},
      {start_, kStart},
      {computer_, kComputer},
      {strength_, kStrength},
      {password_, kPassword},
      {pieces_, kPiece},
      {networkButton_, kNetwork},
      {openButton_, kOpenGame},
      {exit_, kExit},
  };
  for (const auto& [control, id] : ids) SetControlId(control, id);

  auto* slotRow = new QHBoxLayout;
  slotRow->addWidget(new QLabel(tr("Player"), this));
  slotRow->addSpacing(6);
  slotRow->addWidget(previous_);
  slotRow->addWidget(slotNumber_);
  slotRow->addWidget(next_);
  slotRow->addStretch();

  auto* nameLabel = new QLabel(tr("&Name"), this);
  nameLabel->setBuddy(name_);
  auto* passwordLabel = new QLabel(tr("Pass&word"), this);
  passwordLabel->setBuddy(password_);
  auto* pieceLabel = new QLabel(tr("&Piece"), this);
  pieceLabel->setBuddy(pieces_);
  auto* strengthLabel = new QLabel(tr("Str&ength"), this);
  strengthLabel->setBuddy(strength_);

  auto* fields = new QGridLayout;
  fields->addWidget(nameLabel, 0, 0);
  fields->addWidget(name_, 0, 1);
  fields->addWidget(passwordLabel, 1, 0);
  fields->addWidget(password_, 1, 1, Qt::AlignLeft);
  password_->setMaximumWidth(60);
  fields->addWidget(pieceLabel, 2, 0);
  fields->addWidget(pieces_, 2, 1, Qt::AlignLeft);
  fields->addWidget(computer_, 3, 1);
  fields->addWidget(strengthLabel, 4, 0);
  fields->addWidget(strength_, 4, 1, Qt::AlignLeft);
  fields->setRowStretch(5, 1);

  auto* left = new QVBoxLayout;
  left->addLayout(slotRow);
  left->addLayout(fields);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {add_, remove_, start_, openButton_, networkButton_, exit_})
    buttons->addWidget(button);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addSpacing(12);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  setTabOrder(name_, password_);
  setTabOrder(password_, pieces_);
  setTabOrder(pieces_, computer_);
  setTabOrder(computer_, strength_);
  setTabOrder(strength_, add_);
  setTabOrder(add_, remove_);
  setTabOrder(remove_, start_);
  setTabOrder(start_, openButton_);
  setTabOrder(openButton_, networkButton_);
  setTabOrder(networkButton_, exit_);
  setTabOrder(exit_, previous_);
  setTabOrder(previous_, next_);

  connect(next_, &QAbstractButton::clicked, this, [this] { NextSlot(); });
  connect(previous_, &QAbstractButton::clicked, this, [this] { PreviousSlot(); });
  connect(add_, &QAbstractButton::clicked, this, [this] { AddPlayer(); });
  connect(remove_, &QAbstractButton::clicked, this, [this] { RemovePlayer(); });
  connect(start_, &QAbstractButton::clicked, this, [this] { Start(); });
  connect(openButton_, &QAbstractButton::clicked, this, [this] { OpenGame(); });
  connect(networkButton_, &QAbstractButton::clicked, this, [this] { Network(); });
  connect(exit_, &QAbstractButton::clicked, this, [this] { Exit(); });
  connect(pieces_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_) slots_.SelectToken(index);
  });
  // A computer player has no password to type, and only a computer player has a strength.
  connect(computer_, &QCheckBox::toggled, password_, &QWidget::setDisabled);
  connect(computer_, &QCheckBox::toggled, strength_, &QWidget::setEnabled);
}

void NewGameDialog::ShowSlot() {
  filling_ = true;
  const Player& shown = slots_.shown();
  slotNumber_->setText(QString::number(slots_.editSlot() + 1));
  name_->setText(QString::fromStdString(shown.name.utf8()));
  password_->setText(QString::fromStdString(shown.password.utf8()));
  computer_->setChecked(IsComputerPlayer(shown));
  password_->setDisabled(computer_->isChecked());
  strength_->setCurrentIndex(strength_->findData(static_cast<int>(shown.strength)));
  strength_->setEnabled(computer_->isChecked());
  pieces_->clear();
  for (int token : slots_.tokens()) pieces_->addItem(QString::number(token + 1), token);
  pieces_->setCurrentIndex(slots_.selectedIndex());
  filling_ = false;

  previous_->setEnabled(slots_.previousEnabled());
  next_->setEnabled(slots_.nextEnabled());
  start_->setEnabled(slots_.startEnabled());
  name_->setFocus();
  name_->selectAll();
}

void NewGameDialog::NextSlot() {
  slots_.Next();
  ShowSlot();
}

void NewGameDialog::PreviousSlot() {
  slots_.Previous();
  ShowSlot();
}

void NewGameDialog::AddPlayer() {
  slots_.Add(name_->text().toStdString(), password_->text().toStdString(), computer_->isChecked(),
             static_cast<Strength>(strength_->currentData().toInt()));
  ShowSlot();
}

void NewGameDialog::RemovePlayer() {
  slots_.Remove();
  ShowSlot();
}

void NewGameDialog::Start() {
  if (!slots_.startEnabled()) return;
  // What is typed in the slot is stored as Add would: a player entered but not yet added
  // joins the game instead of being dropped.
  if (!name_->text().isEmpty()) AddPlayer();
  StartNewGameRoster(game_.texts.file(), game_.state);
  accept();
}

// A network game that has begun ends the dialog; one that came to nothing leaves the players
// entered before it. The name in the slot shown, typed or stored, is offered for the network.
void NewGameDialog::Network() {
  if (!network_) return;
  if (network_(this, name_->text())) {
    networkStarted_ = true;
    accept();
    return;
  }
  ShowSlot();
}

// A saved game put in place ends the dialog with its players; one not chosen, or not read,
// leaves the players entered so far.
void NewGameDialog::OpenGame() {
  if (!open_) return;
  if (open_(this)) {
    gameOpened_ = true;
    accept();
    return;
  }
  ShowSlot();
}

void NewGameDialog::done(int result) {
  if (!networkStarted_ && !gameOpened_ && !slots_.startEnabled()) {
    slots_.Restore();
    playersRestored_ = true;
  }
  QDialog::done(result);
}

void NewGameDialog::Exit() {
  exitRequested_ = true;
  reject();
}

}  // namespace tomtura
