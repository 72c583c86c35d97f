#pragma once

// What the main window's source files share and nobody else uses.

#include <QCoreApplication>
#include <QString>

#include <string>

namespace app::main_window {

inline QString databaseFilter()
{
    return QCoreApplication::translate("app::TMain", "Database Files (*.DBF *.dbf)");
}
inline QString exclusiveUse()
{
    return QCoreApplication::translate("app::TMain", "Make sure that the DBase File is not in use by another program  or "
                                                     "that no other users are running the software or that no other "
                                                     "copies of the software are in use.");
}

inline std::string local(const QString& text)
{
    return text.toStdString();
}

inline QString fromLocal(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace app::main_window
