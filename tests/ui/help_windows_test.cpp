// SPDX-License-Identifier: GPL-3.0-or-later
// The help windows (offscreen): the tips and rules of the board file in the framed text window,
// what it shows when the file or its marker is missing, the About box's link to the manual, and
// the program's icon from the data directory.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "headless/headless_front_end.h"
#include "test_suites.h"
#include "ui/about_dialog.h"
#include "ui/control_ids.h"
#include "ui/program_icon.h"
#include "ui/text_window.h"
#include "window_fixture.h"

using namespace tomtura;

class HelpWindowsTest : public QObject {
  Q_OBJECT

 private slots:
  void textWindowShowsTheBlockInItsFrame_data();
  void textWindowShowsTheBlockInItsFrame();
  void helpMenuOpensTheWindowsAsGameDialogs();
  void aboutBoxLinksToTheManual();
  void programIconFromTheDataDirectoryAndSoundAfterTheFirstFrame();
};

// The rules or the tips of the board file, read only, over a default OK; empty when the file or
// its block's marker is missing.
void HelpWindowsTest::textWindowShowsTheBlockInItsFrame_data() {
  QTest::addColumn<QByteArray>("board");  // the board file; empty: the shipped one, "-": none
  QTest::addColumn<bool>("rules");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("opening");
  QTest::newRow("rules") << QByteArray() << true << "Tomtura – regler"
                         << "SPELREGLER FÖR TOMTURA\n\nSpelets mål\n";
  QTest::newRow("tips") << QByteArray() << false << "Tomtura – tips"
                        << "TIPS FÖR TOMTURA\n\nKortkommandon\n S slår";
  QTest::newRow("no file") << QByteArray("-") << true << "Tomtura - Tips" << QString();
  QTest::newRow("no marker") << QByteArray("[TEXTS]\n122=Regler\n123=Tips\n[GATOR]\n1=Gata,100\n")
                             << true << "Regler" << QString();
}

void HelpWindowsTest::textWindowShowsTheBlockInItsFrame() {
  QFETCH(QByteArray, board);
  QFETCH(bool, rules);
  QFETCH(QString, title);
  QFETCH(QString, opening);
  QTemporaryDir dir;
  QString path = dir.filePath("tomtura.lst");
  if (board.isEmpty()) path = TOMTURA_ASSETS_DIR "/tomtura.lst";
  QVERIFY(board.isEmpty() || board == "-" || WriteFile(path, board));
  HeadlessFrontEnd ui;
  Game game(TextCatalogue::Load(path.toStdString()), ui, 1);
  BoardPicture picture;
  TextWindow window(game, &picture, rules ? FreeTextBlock::kRules : FreeTextBlock::kTips, nullptr);
  QCOMPARE(window.windowTitle(), title);

  auto* text = Control<QPlainTextEdit>(&window, TextWindow::kIdText);
  QVERIFY(text->isReadOnly());
  QVERIFY(text->toPlainText().startsWith(opening));
  QVERIFY(opening.isEmpty() == text->toPlainText().isEmpty());
  QVERIFY(!text->toPlainText().contains('\r'));
  QVERIFY(!text->toPlainText().contains(rules ? "TIPS FÖR" : "SPELREGLER"));

  auto* ok = Control<QPushButton>(&window, 1);
  QVERIFY(ok->isDefault());
  QVERIFY(ok->geometry().top() > text->geometry().bottom());
  QVERIFY(QRect(QPoint(), window.size()).contains(ok->geometry()));
  window.setResult(7);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mouseClick(ok, Qt::LeftButton);
  QVERIFY(!window.isVisible());
  QCOMPARE(window.result(), 0);
}

// The help menu's windows are the game's dialogs; the About box links to the manual of the
// edition played, in its language.
void HelpWindowsTest::helpMenuOpensTheWindowsAsGameDialogs() {
  const std::pair<const char*, const char*> editions[] = {{"tomtura.lst", "manual.html"},
                                                          {"tomtura_en.lst", "manual_en.html"}};
  for (const auto& [board, manualFile] : editions) {
    Harness h({}, 7, QStringLiteral(TOMTURA_ASSETS_DIR "/") + board);
    QStringList opened;
    bool heldTheGame = true;
    h.playDialog = [&](QDialog& dialog) {
      heldTheGame = heldTheGame && h.ui.modalOpen();
      if (auto* text = qobject_cast<TextWindow*>(&dialog)) opened << text->windowTitle();
      if (auto* about = qobject_cast<AboutDialog*>(&dialog)) opened << about->address()->text();
      return 0;
    };
    h.window->OnCommand(kCmdRules);
    h.window->OnCommand(kCmdHelp);
    h.window->OnCommand(kCmdAbout);
    const QString manual = QUrl::fromLocalFile(QDir(h.dir.path()).filePath(manualFile)).toString();
    QCOMPARE(opened, QStringList({h.Text(122), h.Text(123), manual}));
    QVERIFY(heldTheGame);
    QVERIFY(!h.ui.modalOpen());
  }
}

void HelpWindowsTest::aboutBoxLinksToTheManual() {
  QTemporaryDir dir;
  QList<QUrl> opened;
  const auto open = [&opened](const QUrl& url) {
    opened << url;
    return true;
  };
  AboutDialog about(dir.path(), "manual.html", QIcon(), nullptr, open);
  QStringList labels;
  for (const QLabel* label : about.findChildren<QLabel*>()) labels << label->text();
  QVERIFY(labels.contains("Tomtura v2.0"));
  QVERIFY(labels.contains("Manual"));
  // The licences of the program and of its pictures, sounds, music and texts.
  QVERIFY(about.licence()->text().contains("GNU General Public License, version 3 or later"));
  QVERIFY(about.licence()->text().contains("CC BY-SA 4.0"));

  QLineEdit* address = Control<QLineEdit>(&about, AboutDialog::kIdAddress);
  const QUrl manual = QUrl::fromLocalFile(QDir(dir.path()).filePath("manual.html"));
  QVERIFY(address->isReadOnly());

  about.show();
  about.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&about));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(about.okButton()));

  // A left click opens the address once; made a link again, it still opens it once.
  QTest::mouseClick(address, Qt::RightButton);
  QTest::mouseClick(address, Qt::LeftButton);
  QCOMPARE(opened, QList<QUrl>({manual}));
  MakeHyperlink(*address, open);
  QTest::mouseClick(address, Qt::LeftButton);
  QCOMPARE(opened.size(), 2);

  QTest::mouseClick(about.okButton(), Qt::LeftButton);
  QVERIFY(!about.isVisible());
  QCOMPARE(about.result(), 0);
}

void HelpWindowsTest::programIconFromTheDataDirectoryAndSoundAfterTheFirstFrame() {
  QTemporaryDir dir;
  QVERIFY(ProgramIcon(dir.path(), QPixmap()).isNull());  // neither icon files nor a fallback

  // The main window wears the die without icon files, and every size of the icon there when
  // they are, from its first frame on; the sound is set up then too.
  Harness h;
  QVERIFY(h.window->windowIcon().isNull());
  h.window->show();
  QTRY_COMPARE(h.window->windowIcon().availableSizes(), QList<QSize>({QSize(40, 40)}));
  QTRY_VERIFY(h.sound->ready());
  QVERIFY(QDir(h.dir.path()).mkdir("icons"));
  for (const int size : {16, 48}) {
    QVERIFY(QFile::copy(QStringLiteral(TOMTURA_ASSETS_DIR "/") + ProgramIconFile(size),
                        QDir(h.dir.path()).filePath(ProgramIconFile(size))));
  }
  h.window.reset();
  h.window = std::make_unique<MainWindow>(*h.game, h.ui, h.picture, *h.sound, h.dir.path());
  h.window->show();
  QTRY_COMPARE(h.window->windowIcon().availableSizes(),
               QList<QSize>({QSize(16, 16), QSize(48, 48)}));
}

TOMTURA_TEST_SUITE(HelpWindowsTest);
#include "help_windows_test.moc"
