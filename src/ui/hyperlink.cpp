#include "ui/hyperlink.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPalette>

namespace tomtura {
namespace {

const QColor kLinkColour(0, 0, 255);

class LinkClick : public QObject {
 public:
  LinkClick(QLineEdit& field, LinkOpener opener)
      : QObject(&field), field_(field), opener_(std::move(opener)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      const QUrl address = QUrl::fromUserInput(field_.text().trimmed());
      if (address.isValid()) opener_(address);
    }
    return false;
  }

 private:
  QLineEdit& field_;
  LinkOpener opener_;
};

}  // namespace

void MakeHyperlink(QLineEdit& field, LinkOpener opener) {
  if (!opener) opener = [](const QUrl& address) { return QDesktopServices::openUrl(address); };
  field.setReadOnly(true);
  QFont font = field.font();
  font.setUnderline(true);
  field.setFont(font);
  QPalette palette = field.palette();
  palette.setColor(QPalette::Text, kLinkColour);
  field.setPalette(palette);
  field.setCursor(Qt::PointingHandCursor);
  // Made a link again, the field opens its address once, with the newest opener.
  const QObjectList children = field.children();
  for (QObject* child : children) {
    if (dynamic_cast<LinkClick*>(child) != nullptr) delete child;
  }
  field.installEventFilter(new LinkClick(field, std::move(opener)));
}

}  // namespace tomtura
