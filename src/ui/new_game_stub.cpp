#include "ui/new_game_stub.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <set>

#include "rules/game.h"
#include "store/roster.h"
#include "store/settings.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kTitleText = 0;
constexpr int kNameChars = 9;
constexpr int kPasswordChars = 3;
constexpr int kTokenCount = 10;
constexpr int kTokenIconSize = 24;
constexpr int kMinPlayers = 2;

}  // namespace

NewGameStub::NewGameStub(Game& game, const BoardPicture* picture, QWidget* parent)
    : QDialog(parent), game_(game) {
  setWindowTitle(QString::fromStdString(game.Text(kTitleText)));
  setFont(DialogFont());

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Name"), 0, 1);
  grid->addWidget(new QLabel("Password"), 0, 2);
  grid->addWidget(new QLabel("A.I. "), 0, 3);
  grid->addWidget(new QLabel("Piece"), 0, 4);
  for (int i = 0; i < kMaxPlayers; ++i) {
    Row& r = row(i);
    r.name = new QLineEdit;
    r.name->setMaxLength(kNameChars);
    r.password = new QLineEdit;
    r.password->setMaxLength(kPasswordChars);
    r.password->setEchoMode(QLineEdit::Password);
    r.computer = new QCheckBox;
    r.token = new QComboBox;
    r.token->setIconSize(QSize(kTokenIconSize, kTokenIconSize));
    for (int t = 0; t < kTokenCount; ++t) {
      QIcon icon;
      if (picture != nullptr && !picture->isNull()) icon = QIcon(picture->Token(t));
      r.token->addItem(icon, QString::number(t + 1), t);
    }
    grid->addWidget(new QLabel(QString::number(i + 1)), i + 1, 0);
    grid->addWidget(r.name, i + 1, 1);
    grid->addWidget(r.password, i + 1, 2);
    grid->addWidget(r.computer, i + 1, 3, Qt::AlignCenter);
    grid->addWidget(r.token, i + 1, 4);
    connect(r.name, &QLineEdit::textChanged, this, [this] { UpdateStart(); });
    connect(r.token, &QComboBox::currentIndexChanged, this, [this] { UpdateStart(); });
    connect(r.computer, &QCheckBox::toggled, r.password, &QWidget::setDisabled);
  }

  auto* buttons = new QDialogButtonBox;
  start_ = buttons->addButton("&Start", QDialogButtonBox::AcceptRole);
  QPushButton* exit = buttons->addButton("Exit           ", QDialogButtonBox::RejectRole);
  connect(start_, &QPushButton::clicked, this, [this] {
    if (!RowsValid()) return;
    Start();
    accept();
  });
  connect(exit, &QPushButton::clicked, this, [this] {
    exitRequested_ = true;
    reject();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
  Fill();
}

// The players of the previous game, or the stored roster when there is none and the option
// asks for it.
void NewGameStub::Fill() {
  GameState& state = game_.state;
  if (RosterOffered(game_.texts.file(), state)) ReadRoster(game_.texts.file(), state);
  std::set<int> used;
  for (int i = 0; i < state.playerCount && i < kMaxPlayers; ++i)
    used.insert(state.players[i].token);
  int nextFree = 0;
  for (int i = 0; i < kMaxPlayers; ++i) {
    Row& r = row(i);
    int token = 0;
    if (i < state.playerCount) {
      const Player& player = state.players[i];
      r.name->setText(QString::fromStdString(player.name.utf8()));
      r.password->setText(QString::fromStdString(player.password.utf8()));
      r.computer->setChecked(player.isComputer == 1);
      token = player.token;
    } else {
      while (used.contains(nextFree)) ++nextFree;
      token = nextFree++ % kTokenCount;
    }
    r.token->setCurrentIndex(std::clamp(token, 0, kTokenCount - 1));
  }
  UpdateStart();
}

bool NewGameStub::RowsValid() const {
  std::set<int> tokens;
  int named = 0;
  for (const Row& r : rows_) {
    if (r.name->text().trimmed().isEmpty()) continue;
    ++named;
    if (!tokens.insert(r.token->currentData().toInt()).second) return false;
  }
  return named >= kMinPlayers;
}

void NewGameStub::UpdateStart() {
  start_->setEnabled(RowsValid());
}

void NewGameStub::Start() {
  GameState& state = game_.state;
  int count = 0;
  for (const Row& r : rows_) {
    const QString name = r.name->text().trimmed();
    if (name.isEmpty()) continue;
    Player& player = state.players[count++];
    player.name.setUtf8(name.left(kNameChars).toStdString());
    player.isComputer = r.computer->isChecked() ? 1 : 0;
    if (player.isComputer != 0) {
      player.password.clear();
    } else {
      player.password.setUtf8(r.password->text().left(kPasswordChars).toStdString());
    }
    player.token = static_cast<std::int16_t>(r.token->currentData().toInt());
  }
  for (int i = count; i < kMaxPlayers; ++i) {
    state.players[i].name.clear();
    state.players[i].password.clear();
    state.players[i].isComputer = 0;
  }
  state.playerCount = count;
  if (ReadOptions(game_.texts.file()).savePlayers != 0) WriteRoster(game_.texts.file(), state);
}

}  // namespace tomtura
