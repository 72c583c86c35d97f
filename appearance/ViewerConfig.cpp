#include "ViewerConfig.h"

#include "Schema.h"
#include <QCoreApplication>

namespace appearance {

int widthFromCell(const QString& cell)
{
    const QString text = cell.trimmed();
    int value = 0;
    for (const QChar c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c.unicode() - '0');
        if (value > 255)
            break; // past the range already: no need to read on (nor to overflow)
    }
    return value < 1 || value > 255 ? 10 : value;
}

std::optional<QString> firstDuplicate(const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i)
        for (int j = i + 1; j < names.size(); ++j)
            if (names[i] == names[j])
                return names[i];
    return std::nullopt;
}

QString duplicateMessage(const QString& name)
{
    return QCoreApplication::translate("appearance", "Two field names have the same name \"%1\".  Please change one.").arg(name);
}

void takeOrder(app::Settings& settings, const QStringList& listedNames, const QStringList& orderRows)
{
    for (int k = 0; k < db::kSchemaFieldCount && k < listedNames.size(); ++k) {
        const int row = static_cast<int>(orderRows.indexOf(listedNames[k]));
        if (row >= 0)
            settings.fields[static_cast<size_t>(k)].order = row + 1;
    }
}

QStringList orderRows(const app::Settings& settings)
{
    QStringList rows;
    for (int r = 0; r < db::kSchemaFieldCount; ++r)
        rows << QString();
    for (const app::FieldSettings& field : settings.fields)
        if (field.order >= 1 && field.order <= db::kSchemaFieldCount)
            rows[field.order - 1] = field.displayName;
    return rows;
}

} // namespace appearance
