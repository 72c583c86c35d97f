#pragma once

// Titles in the scripts collectors have, for tests of text: each with its
// capitals, and a word of it typed as a user searching would type it.

#include <string>
#include <vector>

namespace testing_support {

inline std::string u8s(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct ScriptTitle {
    const char* script;
    std::string title;   // as the user has it (the combining one in normal form D)
    std::string stored;  // as a Unicode collection keeps it (normal form C)
    std::string typed;   // a part of it in other letter case or without accents, that a search finds
};

inline const std::vector<ScriptTitle>& scriptTitles()
{
    static const std::vector<ScriptTitle> titles = {
        {"Japanese", u8s(u8"千と千尋の神隠し"), u8s(u8"千と千尋の神隠し"), u8s(u8"千尋")},
        {"Chinese", u8s(u8"卧虎藏龙"), u8s(u8"卧虎藏龙"), u8s(u8"藏龙")},
        {"Korean", u8s(u8"기생충"), u8s(u8"기생충"), u8s(u8"생충")},
        {"Polish", u8s(u8"Człowiek z marmuru — Łódź"), u8s(u8"Człowiek z marmuru — Łódź"), u8s(u8"łódź")},
        {"Czech", u8s(u8"Ostře sledované vlaky"), u8s(u8"Ostře sledované vlaky"), u8s(u8"OSTŘE")},
        {"Greek", u8s(u8"Ο Θίασος"), u8s(u8"Ο Θίασος"), u8s(u8"θίασος")},
        {"Russian", u8s(u8"Летят журавли"), u8s(u8"Летят журавли"), u8s(u8"ЖУРАВЛИ")},
        {"Arabic", u8s(u8"باب الحديد"), u8s(u8"باب الحديد"), u8s(u8"الحديد")},
        {"Hebrew", u8s(u8"ואלס עם באשיר"), u8s(u8"ואלס עם באשיר"), u8s(u8"באשיר")},
        {"Emoji", u8s(u8"Inside Out 🎬😀"), u8s(u8"Inside Out 🎬😀"), u8s(u8"🎬")},
        {"Combining", u8s(u8"Ame\u0301lie"), u8s(u8"Amélie"), u8s(u8"AMÉLIE")},
    };
    return titles;
}

} // namespace testing_support
