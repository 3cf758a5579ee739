// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/about_dialog.h"

#include <QDir>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kIconSize = 32;
constexpr int kMargin = 14;
constexpr int kSpacing = 8;
constexpr int kMinAddressWidth = 240;
constexpr int kAddressPadding = 16;
constexpr int kButtonWidth = 80;

}  // namespace

AboutDialog::AboutDialog(const QString& dataDirectory, const QString& manualFile,
                         const QIcon& icon, QWidget* parent, LinkOpener opener)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("About Tomtura"));
  setFont(DialogFont());

  auto* picture = new QLabel(this);
  picture->setPixmap(icon.pixmap(kIconSize, kIconSize));
  picture->setFixedSize(kIconSize, kIconSize);
  auto* title = new QLabel(QString::fromLatin1(kProgramTitle), this);
  QFont bold = DialogFont();
  bold.setBold(true);
  title->setFont(bold);
  auto* manual = new QLabel(tr("Manual"), this);
  manual->setAlignment(Qt::AlignCenter);
  licence_ = new QLabel(tr("Tomtura is free software under the GNU General Public License, "
                           "version 3 or later. Its pictures, sounds, music and board texts "
                           "are under CC BY-SA 4.0."),
                        this);
  licence_->setWordWrap(true);
  licence_->setAlignment(Qt::AlignCenter);

  address_ = new QLineEdit(ManualUrl(dataDirectory, manualFile).toString(), this);
  SetControlId(address_, kIdAddress);
  address_->setAlignment(Qt::AlignCenter);
  ok_ = new QPushButton(tr("OK"), this);
  SetControlId(ok_, kIdOk);
  ok_->setDefault(true);
  ok_->setFixedWidth(kButtonWidth);
  connect(ok_, &QPushButton::clicked, this, [this] { done(0); });
  ApplyDialogFont(*this);
  MakeHyperlink(*address_, std::move(opener));
  address_->setMinimumWidth(
      std::max(kMinAddressWidth,
               QFontMetrics(address_->font()).horizontalAdvance(address_->text()) +
                   kAddressPadding));
  licence_->setFixedWidth(address_->minimumWidth());

  auto* heading = new QHBoxLayout;
  heading->addStretch();
  heading->addWidget(picture);
  heading->addSpacing(kSpacing);
  heading->addWidget(title);
  heading->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->setSpacing(kSpacing);
  layout->addLayout(heading);
  layout->addSpacing(kSpacing);
  layout->addWidget(manual);
  layout->addWidget(address_);
  layout->addSpacing(kSpacing);
  layout->addWidget(licence_);
  layout->addSpacing(kSpacing);
  layout->addWidget(ok_, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  ok_->setFocus(Qt::OtherFocusReason);
}

QUrl AboutDialog::ManualUrl(const QString& dataDirectory, const QString& manualFile) {
  return QUrl::fromLocalFile(QDir(dataDirectory).absoluteFilePath(manualFile));
}

}  // namespace tomtura
