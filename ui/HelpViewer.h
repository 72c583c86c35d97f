#pragma once

#include <QString>

class QWidget;

namespace app {

// The help window: the program's HTML help opened at its contents or at the
// section a window's help keyword names.
void showHelp(QWidget* owner, const QString& keyword = "Contents");

} // namespace app
