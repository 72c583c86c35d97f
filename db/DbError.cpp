#include "DbError.h"

namespace db {

namespace {
std::string compose(const std::string& file, const std::string& what)
{
    if (file.empty())
        return what;
    return what + " (file \"" + file + "\")";
}
} // namespace

DbError::DbError(const std::string& file, const std::string& what)
    : std::runtime_error(compose(file, what))
    , m_file(file)
{
}

} // namespace db
