#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace edit {

// A date box left blank: its separators and blanks only ("  /  /    "
// trimmed is "/  /"), with any of the three separators.
bool isBlankDate(const QString& text);

// A price as typed: blanks trimmed; under the U.S. currency setting every ","
// removed, under the regional one every thousands character removed and the
// first decimal character made "."; then read with "." as decimal point.
// nullopt when the text is not a number.
std::optional<double> normalisedPrice(const QString& text, int currencyFormat, QChar decimal, QChar thousand);

// The award picker's choice: the selected lines in list order joined by ", ",
// cut at 255 characters.
QString joinedChoice(const QStringList& linesInOrder, const std::vector<bool>& selected);

// The values of a Miscellaneous text: split at "," with blanks trimmed.
QStringList miscellaneousValues(const QString& text);

} // namespace edit
