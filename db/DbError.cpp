#include "DbError.h"

namespace db {

namespace {
std::string withFile(const Speak& speak, const std::string& file, const std::string& what)
{
    if (file.empty())
        return what;
    return Message{TRANSLATABLE("db", "%1 (file \"%2\")"), {what, file}}.spoken(speak);
}
} // namespace

std::string Message::spoken(const Speak& speak) const
{
    const std::string form = db::spoken(speak, text ? text : "");
    // One pass, so that a word put in that holds "%2" stays as it is.
    std::string out;
    out.reserve(form.size());
    for (size_t i = 0; i < form.size(); ++i) {
        const size_t n = i + 1 < form.size() && form[i] == '%' && form[i + 1] >= '1' && form[i + 1] <= '9'
                             ? static_cast<size_t>(form[i + 1] - '1')
                             : args.size();
        if (n < args.size()) {
            out += args[n];
            ++i;
        } else {
            out += form[i];
        }
    }
    return out;
}

DbError::DbError(const std::string& file, const std::string& what)
    : std::runtime_error(withFile({}, file, what))
    , m_file(file)
    , m_plain(what)
{
}

DbError::DbError(const std::string& file, Message message)
    : std::runtime_error(withFile({}, file, message.spoken()))
    , m_file(file)
    , m_message(std::move(message))
{
}

std::string DbError::spoken(const Speak& speak) const
{
    return withFile(speak, m_file, m_message.text ? m_message.spoken(speak) : m_plain);
}

} // namespace db
