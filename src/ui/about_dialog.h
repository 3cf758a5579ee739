// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: the program's title and version, its icon, a link to the game's manual, the
// page beside the board file, and the licences.
#include <QDialog>
#include <QIcon>
#include <QString>
#include <QUrl>

#include "ui/hyperlink.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tomtura {

inline constexpr char kProgramTitle[] = "Tomtura v2.0";
inline constexpr char kManualFile[] = "manual.html";

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdAddress = 1010;
  static constexpr int kIdOk = 1;

  // `dataDirectory` is where the board file and the manual lie; a click on the address hands it
  // to `opener` (the desktop's browser by default).
  AboutDialog(const QString& dataDirectory, const QIcon& icon, QWidget* parent,
              LinkOpener opener = {});

  // The manual's address: a file URL of manual.html in `dataDirectory`.
  static QUrl ManualUrl(const QString& dataDirectory);

  QLineEdit* address() const { return address_; }
  QPushButton* okButton() const { return ok_; }
  QLabel* licence() const { return licence_; }

 private:
  QLineEdit* address_ = nullptr;
  QLabel* licence_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace tomtura
