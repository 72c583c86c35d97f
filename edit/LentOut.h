#pragma once

// What is lent out: the videos whose Checked Out box is ticked, with who has
// them and since when, oldest loan first; a loan past the number of days the
// user allows is overdue. Returned clears a loan as the record editor does.

#include <cstdint>
#include <string>
#include <vector>

namespace db {
class Table;
}

namespace edit {

struct Loan {
    uint32_t record = 0;
    std::string title;     // UTF-8
    std::string mediaNumber;
    std::string person;
    std::string since;     // the check-out date in the short date format, "" when none was given
    long daysOut = -1;     // -1 when no date was given
    bool overdue = false;
};

// The loans among the records the table shows; today is a day number (db::dayNumberFromCivil).
std::vector<Loan> lentOut(db::Table& table, double today, int overdueAfterDays);

// Ticks the loan off: Checked Out "No", the date and the person cleared. False when
// the record is gone (another copy deleted it).
bool markReturned(db::Table& table, uint32_t record);

} // namespace edit
