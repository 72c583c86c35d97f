#pragma once

#include <stdexcept>
#include <string>

namespace db {

// Every failure of the table engine is a DbError: a readable message that
// names the file involved, so that the program's general error display can
// show it as it stands.
class DbError : public std::runtime_error {
public:
    DbError(const std::string& file, const std::string& what);

    const std::string& file() const { return m_file; }

private:
    std::string m_file;
};

} // namespace db
