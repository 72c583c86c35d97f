#include "LentOut.h"

#include "Cp1252.h"
#include "EditText.h"
#include "Table.h"

#include <algorithm>
#include <cmath>

namespace edit {

std::vector<Loan> lentOut(db::Table& table, double today, int overdueAfterDays)
{
    const int checkOut = table.fieldIndex("CheckOut"), date = table.fieldIndex("CheckDate"),
              person = table.fieldIndex("CheckName"), media = table.fieldIndex("MediaNum");
    std::vector<Loan> loans;
    if (checkOut < 0)
        return loans;
    std::vector<double> days;
    {
        const db::Table::ReadHold hold(table); // one state of the collection
        const db::Table::Bookmark kept = table.bookmark();
        for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
            const db::Record record = table.current();
            const std::string ticked = record.text(checkOut);
            if (ticked.empty() || (ticked[0] != 'Y' && ticked[0] != 'y'))
                continue;
            Loan loan;
            loan.record = table.recNo();
            loan.title = record.text(0);
            loan.mediaNumber = media >= 0 ? record.text(media) : std::string();
            loan.person = person >= 0 ? record.text(person) : std::string();
            const double since = date >= 0 && !record.isEmpty(date) ? record.date(date) : 0;
            if (since > 0) {
                loan.since = record.text(date);
                loan.daysOut = static_cast<long>(std::floor(today - since));
                loan.overdue = loan.daysOut > overdueAfterDays;
            }
            loans.push_back(std::move(loan));
            days.push_back(since);
        }
        table.gotoBookmark(kept);
    }
    // Oldest loan first; loans without a date after them, by title.
    std::vector<size_t> order(loans.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        const bool aDated = days[a] > 0, bDated = days[b] > 0;
        if (aDated != bDated)
            return aDated;
        return aDated ? days[a] < days[b] : loans[a].title < loans[b].title;
    });
    std::vector<Loan> sorted;
    for (const size_t i : order)
        sorted.push_back(std::move(loans[i]));
    return sorted;
}

bool markReturned(db::Table& table, uint32_t record)
{
    if (!table.gotoBookmark(db::Table::Bookmark{record, {}}) || table.recNo() != record)
        return false;
    table.edit(); // the record as it stands now, whatever another copy did to it
    table.setText(table.requireField("CheckOut"), "No");
    table.clearField(table.requireField("CheckDate"));
    table.setText(table.requireField("CheckName"), "");
    table.post();
    return true;
}

} // namespace edit
