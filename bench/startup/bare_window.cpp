// The yardstick for the game's start-up: a bare Qt main window with a menu bar and a painted
// client area, built like the game, that ends at its first painted frame.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

namespace {

class Client : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::darkCyan);
    if (!painted_) {
      painted_ = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.menuBar()->addMenu("&Game")->addAction("&Exit");
  window.setCentralWidget(new Client);
  window.resize(869, 780);
  window.show();
  return QApplication::exec();
}
