#pragma once
// A read-only field that works as a link: blue underlined text, the pointing hand over it, and
// a click that opens its address.
#include <QUrl>
#include <functional>

class QLineEdit;

namespace tomtura {

// Opens an address; true when it could be handed on.
using LinkOpener = std::function<bool(const QUrl&)>;

// Makes `field` a link to the address it shows; a left click hands it to `opener` (by default
// the desktop's browser, QDesktopServices::openUrl).
void MakeHyperlink(QLineEdit& field, LinkOpener opener = {});

}  // namespace tomtura
