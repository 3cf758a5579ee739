#pragma once
// The message dialog of a network game: a short text for some or all of the players at the
// other computers. It only collects the text and the addressees; the session sends them.
#include <QDialog>
#include <QString>
#include <vector>

class QCheckBox;
class QListWidget;
class QPlainTextEdit;

namespace tomtura {

class Game;

class ChatDialog : public QDialog {
  Q_OBJECT

 public:
  enum Control { kReceivers = 1048, kMessage = 1049, kAll = 1050 };
  static constexpr int kMaxChars = 255;

  ChatDialog(const Game& game, QWidget* parent);

  // The text typed, at most kMaxChars characters.
  QString text() const;
  // The players addressed; empty for everybody (the box ticked, or nobody chosen).
  std::vector<int> addressees() const;

  void Send();

 private:
  QListWidget* receivers_ = nullptr;
  QPlainTextEdit* message_ = nullptr;
  QCheckBox* all_ = nullptr;
};

}  // namespace tomtura
