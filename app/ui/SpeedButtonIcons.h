#pragma once

#include <QIcon>
#include <QString>

class QStyle;

namespace app {

// The picture of a speed button: the system's icon theme where it has one
// that says what the command does, else one of Qt's standard pictures or
// one drawn here (the colors and the sort order have none).
QIcon speedButtonIcon(const QString& command, const QStyle* style);

} // namespace app
