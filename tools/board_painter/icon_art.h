#pragma once
// The program's icon: a red house on a cream street tile with a green colour band, drawn from
// one design at every size the desktop asks for.
#include <QImage>

namespace tomtura {

// The icon at `size` x `size` pixels on a clear background.
QImage PaintProgramIcon(int size);

}  // namespace tomtura
