#pragma once
// Balloon tips: a pale yellow balloon with a tail and a shadow that explains the control under
// the mouse, 600 ms after the mouse has come to rest on it, in a catalogue text chosen by the
// control's id; and the hover state that the flat buttons draw. One balloon serves every
// window; each decorated control reports its mouse and key events to it.
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

class QWidget;

namespace tomtura {

class Game;

inline constexpr int kBalloonDelayMs = 600;

// Decorates every control of `window`: each descendant that is not a window of its own. A
// second call decorates the controls made since and doubles nothing. Texts come from `game`,
// which must outlive the window's controls.
void InstallTooltips(QWidget& window, const Game& game);

// The balloon text of `control` by its control id (empty: no balloon). Some rows depend on
// other controls of the same parent and on captions, so the text is chosen when it is shown.
QString TooltipText(const QWidget& control, const Game& game);

// The control the mouse rests on while no button is down, or null; flat buttons draw their
// hover state from it and are repainted when it changes.
const QWidget* HoverControl();

// The balloon's outline for a window of `size`: a body with rounded corners from y = 10 and
// the tail (0,0), (12,20), (25,15) pointing up-left at the mouse.
QRegion BalloonShape(QSize size);

// Where the balloon's tail points for a text of `textSize` with the mouse at `cursor`: the
// cursor, moved left or up where the balloon would pass the right or bottom edge of `desktop`.
// The balloon stands 15 pixels right of and below that point, 20 pixels larger than the text.
QPoint BalloonPlace(QPoint cursor, QSize textSize, const QRect& desktop);

// The balloon and its shadow windows, and the text the balloon shows, for tests.
QWidget* BalloonWindow();
QWidget* BalloonShadow();
QString BalloonText();

}  // namespace tomtura
