#pragma once

#include "Translatable.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace db {

// A message of the engine kept as its English text, with %1, %2 ... for the
// words put in (a name, a number, the system's reason), so that a window can
// show it in the user's language.
struct Message {
    Message() = default;
    explicit Message(const char* text, std::vector<std::string> args = {})
        : text(text)
        , args(std::move(args))
    {
    }

    const char* text = nullptr; // marked TRANSLATABLE("db", ...)
    std::vector<std::string> args;

    std::string spoken(const Speak& speak = {}) const;
};

// The one of two texts that fits a count, spoken with the count as %1 (and
// second as %2).
inline std::string counted(const Speak& speak, uint64_t n, const char* one, const char* many, const std::string& second = {})
{
    return Message(n == 1 ? one : many, {std::to_string(n), second}).spoken(speak);
}

// Every failure of the table engine is a DbError: a readable message that
// names the file involved, so that the program's general error display can
// show it as it stands (what()) or in the user's language (spoken()).
class DbError : public std::runtime_error {
public:
    DbError(const std::string& file, const std::string& what);
    DbError(const std::string& file, Message message);

    const std::string& file() const { return m_file; }
    std::string spoken(const Speak& speak) const;
    // The message alone, without the file it names (for a line that names its film instead).
    std::string message(const Speak& speak = {}) const { return m_message.text ? m_message.spoken(speak) : m_plain; }

private:
    std::string m_file;
    std::string m_plain; // the message of a failure made from a plain text
    Message m_message;
};

} // namespace db
