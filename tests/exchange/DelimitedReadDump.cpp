// Reads delimited text files as the import does and prints, for each file,
// one JSON line: the first line's result, the field names, the records with
// their values, and the counts of cut values and line breaks. The csv oracle
// (csv_oracle.py) compares these with what Python's csv module reads.

#include "Cp1252.h"
#include "DelimitedText.h"
#include "FileIO.h"
#include "Import.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <exception>
#include <memory>

namespace {

QString text(const std::string& value, bool utf8)
{
    return QString::fromStdString(utf8 ? value : db::cp1252ToUtf8(value));
}

QJsonObject readFile(const std::string& path)
{
    QJsonObject out;
    out["file"] = QString::fromStdString(path);
    exchange::ImportSource source;
    const int result = exchange::openDelimitedSource(path, source);
    out["result"] = result;
    if (result != exchange::flOk)
        return out;
    QJsonArray names;
    for (const std::string& name : source.fieldNames)
        names.append(QString::fromStdString(name));
    out["names"] = names;
    db::File file;
    file.open(path, db::File::Mode::ReadOnly);
    auto offset = std::make_shared<uint64_t>(0);
    exchange::DelimitedReader reader(
        [&file, offset](char* into, size_t n) {
            const size_t got = file.readSomeAt(*offset, into, n);
            *offset += got;
            return got;
        },
        source.utf8, 4096); // a small buffer: values run across its ends
    const int fieldCount = static_cast<int>(source.fieldNames.size());
    std::vector<std::string> values;
    int present = 0;
    reader.readRecord(fieldCount, values, present); // the names
    QJsonArray records;
    while (true) {
        const auto line = reader.readRecord(fieldCount, values, present);
        if (line == exchange::DelimitedReader::Line::End)
            break;
        if (line == exchange::DelimitedReader::Line::Blank)
            continue;
        QJsonArray record;
        for (int i = 0; i < present; ++i)
            record.append(text(values[static_cast<size_t>(i)], source.utf8));
        records.append(record);
    }
    out["records"] = records;
    out["cut"] = static_cast<qint64>(reader.cutValues());
    out["lineBreaks"] = static_cast<qint64>(reader.lineBreaks());
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        try {
            const QByteArray line = QJsonDocument(readFile(argv[i])).toJson(QJsonDocument::Compact);
            std::fwrite(line.data(), 1, static_cast<size_t>(line.size()), stdout);
            std::fputc('\n', stdout);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", argv[i], e.what());
            return 2;
        }
    }
    return 0;
}
