#pragma once
// Every control of the game's dialogs carries the number the game knows it by, as the
// property "controlId": tooltips, tests and the replay of a remote press find controls by it.
#include <QVariant>
#include <QWidget>

namespace tomtura {

inline constexpr char kControlIdProperty[] = "controlId";

inline void SetControlId(QWidget* control, int id) {
  control->setProperty(kControlIdProperty, id);
}

inline int ControlId(const QWidget* control) {
  return control->property(kControlIdProperty).toInt();
}

// The first descendant of `window` (depth first) that carries control id `id` and is a T, or
// nullptr.
template <typename T = QWidget>
T* FindControl(const QWidget* window, int id) {
  for (T* control : window->findChildren<T*>()) {
    if (ControlId(control) == id) return control;
  }
  return nullptr;
}

}  // namespace tomtura
