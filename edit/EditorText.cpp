#include "EditorText.h"

#include "EditText.h"

namespace edit {

bool isBlankDate(const QString& text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || t == "/  /" || t == "-  -" || t == ".  .";
}

std::optional<double> normalisedPrice(const QString& text, int currencyFormat, QChar decimal, QChar thousand)
{
    QString t = text.trimmed();
    if (currencyFormat == 1) {
        t.remove(',');
    } else {
        t.remove(thousand);
        const int point = t.indexOf(decimal);
        if (point >= 0)
            t[point] = '.';
    }
    return db::parseDecimalNumber(t.toStdString());
}

QString joinedChoice(const QStringList& linesInOrder, const std::vector<bool>& selected)
{
    QString joined;
    for (int i = 0; i < linesInOrder.size(); ++i)
        if (static_cast<size_t>(i) < selected.size() && selected[static_cast<size_t>(i)])
            joined += linesInOrder[i] + ", ";
    joined.chop(2);
    return joined.left(255);
}

QStringList miscellaneousValues(const QString& text)
{
    QStringList values;
    QString rest = text;
    while (!rest.isEmpty()) {
        const int comma = rest.indexOf(',');
        values << (comma < 0 ? rest : rest.left(comma));
        rest = comma < 0 ? QString() : rest.mid(comma + 1).trimmed();
    }
    return values;
}

} // namespace edit
