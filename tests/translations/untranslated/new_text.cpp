// A source with a text that no translation file has: the translation check must refuse it.
#include <QCoreApplication>

QString NewText() {
  return QCoreApplication::translate("tomtura::MainWindow", "A text nobody has translated");
}
