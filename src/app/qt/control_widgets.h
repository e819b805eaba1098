#pragma once

#include <QFont>
#include <QString>
#include <QWidget>
#include <string_view>

#include "app/control_push.h"
#include "app/window_layout.h"

namespace vantrel::qt {

QString ToQt(std::string_view text);
QFont FontOf(const ControlLayout& layout);

// The widget of a control as designed: its kind, look and font; not yet placed or filled.
QWidget* MakeWidget(const ControlLayout& layout, QWidget* parent);

// Gives the widget what changed in its model. `window` lends the colours of a greyed caption.
void PushToWidget(QWidget* widget, const ControlChange& change, const QWidget& window);

}  // namespace vantrel::qt
