#include "PlainText.h"

#include "Cp1252.h"

#include <iconv.h>
#include <locale.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace exchange {

namespace {

// One UTF-8 character's length from its lead byte (1 for a stray byte).
size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC2 && lead < 0xE0)
        return 2;
    return 1;
}

// The C library's transliteration to Windows-1252. It follows the character
// type of the locale in use, and the plain "C" locale knows no plain forms, so
// the converter runs under C.UTF-8 whatever the program's locale is. One per
// thread: an iconv descriptor keeps state between calls.
class Transliterator {
public:
    Transliterator()
        : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{}))
    {
        const Scope scope(m_locale);
        m_iconv = iconv_open("WINDOWS-1252//TRANSLIT", "UTF-8");
    }
    ~Transliterator()
    {
        if (m_iconv != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_iconv);
        if (m_locale)
            freelocale(m_locale);
    }
    Transliterator(const Transliterator&) = delete;
    Transliterator& operator=(const Transliterator&) = delete;

    // The plain form of one character, or "" where there is none.
    std::string plainForm(std::string_view character)
    {
        if (m_iconv == reinterpret_cast<iconv_t>(-1))
            return {};
        const Scope scope(m_locale);
        iconv(m_iconv, nullptr, nullptr, nullptr, nullptr); // a fresh start
        char out[16];
        char* in = const_cast<char*>(character.data());
        size_t inLeft = character.size();
        char* to = out;
        size_t outLeft = sizeof out;
        if (iconv(m_iconv, &in, &inLeft, &to, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return {};
        const std::string form(out, static_cast<size_t>(to - out));
        return form == "?" ? std::string() : form; // "?" is the library's own "none"
    }

private:
    // Uses a locale for this thread while it lives (none kept when it could not be made).
    class Scope {
    public:
        explicit Scope(locale_t locale)
            : m_previous(locale ? uselocale(locale) : locale_t{})
        {
        }
        ~Scope()
        {
            if (m_previous)
                uselocale(m_previous);
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        locale_t m_previous;
    };

    locale_t m_locale;
    iconv_t m_iconv = reinterpret_cast<iconv_t>(-1);
};

} // namespace

std::string toCollectionText(std::string_view utf8, PlainTextCounts& counts)
{
    int replaced = 0;
    std::string direct = db::utf8ToCp1252(utf8, &replaced);
    if (replaced == 0)
        return direct; // the usual case: every character fits the code page
    thread_local Transliterator transliterator;
    std::string out;
    out.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        const size_t length = std::min(sequenceLength(static_cast<unsigned char>(utf8[at])), utf8.size() - at);
        const std::string_view character = utf8.substr(at, length);
        at += length;
        int missing = 0;
        const std::string byte = db::utf8ToCp1252(character, &missing);
        if (missing == 0) {
            out += byte;
            continue;
        }
        const std::string form = transliterator.plainForm(character);
        if (form.empty()) {
            out += '?';
            ++counts.replaced;
        } else {
            out += form;
            ++counts.plainForms;
        }
    }
    return out;
}

} // namespace exchange
