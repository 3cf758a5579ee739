// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The About box: the program's title and version, its icon, a link to the edition's manual, the
// page in its language beside the board file, and the licences.
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

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kIdAddress = 1010;
  static constexpr int kIdOk = 1;

  // `manualFile` is the edition's manual in `dataDirectory`, where the board file lies; a click
  // on its address hands it to `opener` (the desktop's browser by default).
  AboutDialog(const QString& dataDirectory, const QString& manualFile, const QIcon& icon,
              QWidget* parent, LinkOpener opener = {});

  // The manual's address: a file URL of `manualFile` in `dataDirectory`.
  static QUrl ManualUrl(const QString& dataDirectory, const QString& manualFile);

  QLineEdit* address() const { return address_; }
  QPushButton* okButton() const { return ok_; }
  QLabel* licence() const { return licence_; }

 private:
  QLineEdit* address_ = nullptr;
  QLabel* licence_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace tomtura
