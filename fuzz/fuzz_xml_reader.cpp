// libFuzzer target: the catalogues' XML reader on arbitrary bytes: no crash,
// no hang, every fault a Damage with a line within the document; and where
// Qt's reader also finds the document well formed, the same elements,
// attributes and texts.
#include "XmlPullReader.h"

#include <QXmlStreamReader>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void addText(std::vector<std::string>& tokens, const std::string& text)
{
    if (!tokens.empty() && tokens.back().rfind("#", 0) == 0)
        tokens.back() += text;
    else
        tokens.push_back("#" + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> ours;
    bool ourWellFormed = true;
    try {
        std::string converted;
        const std::string_view document = exchange::utf8Document(bytes, converted);
        exchange::XmlPullReader xml(document);
        for (auto token = xml.next(); token != exchange::XmlPullReader::Token::End; token = xml.next()) {
            if (token == exchange::XmlPullReader::Token::StartElement)
                ours.push_back("<" + std::string(xml.name()) + " " + std::string(xml.attribute("a")));
            else if (token == exchange::XmlPullReader::Token::EndElement)
                ours.push_back(">" + std::string(xml.name()));
            else
                addText(ours, std::string(xml.text()));
        }
    } catch (const exchange::XmlPullReader::Damage& damage) {
        ourWellFormed = false;
        check(damage.line >= 1 && damage.line <= 1 + static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')));
    }
    if (!ourWellFormed)
        return 0;
    QXmlStreamReader xml(QByteArray::fromStdString(bytes));
    xml.setNamespaceProcessing(false);
    std::vector<std::string> theirs;
    while (!xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            theirs.push_back("<" + xml.qualifiedName().toString().toStdString() + " "
                             + xml.attributes().value("a").toString().toStdString());
            break;
        case QXmlStreamReader::EndElement: theirs.push_back(">" + xml.qualifiedName().toString().toStdString()); break;
        case QXmlStreamReader::Characters: addText(theirs, xml.text().toString().toStdString()); break;
        default: break;
        }
    }
    if (!xml.hasError())
        check(ours == theirs);
    return 0;
}
