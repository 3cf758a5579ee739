#include "ui/chat_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "rules/game.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"
#include "ui/framed_dialog.h"
#include "ui/network_dialogs.h"

namespace tomtura {
namespace {

constexpr int kListWidth = 130;
constexpr int kListRows = 5;
constexpr int kMessageWidth = 230;

}  // namespace

// The players listed are those who do not sit at this computer, in record order.
ChatDialog::ChatDialog(const Game& game, QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("Tomtura - Message"));
  setFont(DialogFont());

  receivers_ = new QListWidget(this);
  SetControlId(receivers_, kReceivers);
  receivers_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  const GameState& state = game.state;
  for (int p = 0; p < state.playerCount; ++p) {
    if (IsPersonHere(state.players[p])) continue;
    auto* item = new QListWidgetItem(QString::fromStdString(game.PlayerName(p)), receivers_);
    item->setData(Qt::UserRole, p);
  }
  const int listHeight = receivers_->fontMetrics().height() * kListRows + 6;
  receivers_->setFixedSize(kListWidth, listHeight);
  auto* receiversLabel = new QLabel(tr("&Recipients:"), this);
  receiversLabel->setBuddy(receivers_);

  message_ = new QPlainTextEdit(this);
  SetControlId(message_, kMessage);
  message_->setFixedSize(kMessageWidth, listHeight);
  message_->setTabChangesFocus(true);
  // The text is held to its length as it is typed or pasted.
  connect(message_, &QPlainTextEdit::textChanged, this, [this] {
    const QString typed = message_->toPlainText();
    if (typed.size() <= kMaxChars) return;
    message_->setPlainText(typed.left(kMaxChars));
    message_->moveCursor(QTextCursor::End);
  });
  auto* messageLabel = new QLabel(tr("&Message:"), this);
  messageLabel->setBuddy(message_);

  all_ = new QCheckBox(tr("Send to &all"), this);
  SetControlId(all_, kAll);

  auto* send = new QPushButton(tr("&Send"), this);
  SetControlId(send, kIdButton1);
  auto* cancel = new QPushButton(tr("Cancel"), this);
  SetControlId(cancel, kIdButton2);
  for (QPushButton* button : {send, cancel}) button->setAutoDefault(false);
  connect(send, &QPushButton::clicked, this, &ChatDialog::Send);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* receiversColumn = new QVBoxLayout;
  receiversColumn->addWidget(receiversLabel);
  receiversColumn->addWidget(receivers_);
  receiversColumn->addWidget(all_);
  auto* messageColumn = new QVBoxLayout;
  messageColumn->addWidget(messageLabel);
  messageColumn->addWidget(message_);
  messageColumn->addStretch();
  auto* buttons = new QVBoxLayout;
  buttons->addSpacing(messageLabel->sizeHint().height());
  buttons->addWidget(send);
  buttons->addWidget(cancel);
  buttons->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(receiversColumn);
  layout->addLayout(messageColumn);
  layout->addSpacing(6);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  message_->setFocus();
}

QString ChatDialog::text() const {
  return message_->toPlainText().left(kMaxChars);
}

std::vector<int> ChatDialog::addressees() const {
  std::vector<int> chosen;
  if (all_->isChecked()) return chosen;
  for (int row = 0; row < receivers_->count(); ++row) {
    const QListWidgetItem* item = receivers_->item(row);
    if (item->isSelected()) chosen.push_back(item->data(Qt::UserRole).toInt());
  }
  return chosen;
}

void ChatDialog::Send() {
  accept();
}

}  // namespace tomtura
