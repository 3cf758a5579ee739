#include "ui/text_window.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kTilesX = 8;
constexpr int kTilesY = 6;
constexpr int kTextLeft = 15;  // and as far from the right edge
constexpr int kWindowTextTop = 16;
constexpr int kTextHeight = 222;
constexpr int kCloseButtonHeight = 23;

}  // namespace

TextWindow::TextWindow(Game& game, const BoardPicture* picture, FreeTextBlock block,
                       QWidget* parent)
    : FramedDialog(game, picture, parent,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("Tomtura - Tips"));
  SetTiles(kTilesX, kTilesY);

  text_ = new QPlainTextEdit(this);
  SetControlId(text_, kIdText);
  text_->setReadOnly(true);
  text_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setGeometry(kTextLeft, kWindowTextTop, width() - 2 * kTextLeft, kTextHeight);

  button1_ = MakeButton(kIdButton1, tr("OK"), {});
  button1_->setDefault(true);
  button1_->setGeometry((width() - kButtonWidth) / 2, ButtonTop(kCloseButtonHeight), kButtonWidth,
                        kCloseButtonHeight);
  // Both OK and closing the window end it the same way.
  connect(button1_, &QPushButton::clicked, this, [this] { done(0); });
  ApplyDialogFont(*this);

  const std::optional<std::string> shown = ReadFreeText(game.texts.editionPath(), block);
  if (!shown) return;  // no board file: the window's own caption and no text
  setWindowTitle(
      QString::fromStdString(game.Text(block == FreeTextBlock::kRules ? kTextRules : kTextTips)));
  text_->setPlainText(QString::fromStdString(*shown));
}

}  // namespace tomtura
