#include "DbfFormat.h"

#include "DbError.h"
#include "EditText.h"
#include "Padding.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace db {

namespace {

uint32_t le32(const unsigned char* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t le16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

bool knownVersion(uint8_t v)
{
    // dBASE III/IV and their memo variants, FoxPro and Visual FoxPro tables.
    switch (v) {
    case 0x02: case 0x03: case 0x04: case 0x05: case 0x30: case 0x31: case 0x32:
    case 0x43: case 0x63: case 0x83: case 0x8B: case 0x8E: case 0xCB: case 0xE5: case 0xF5: case 0xFB:
        return true;
    default:
        return false;
    }
}

void putDate(std::string& bytes, size_t at)
{
    const CivilDate d = today();
    bytes[at] = static_cast<char>(std::min(255, std::max(0, d.year - 1900)));
    bytes[at + 1] = static_cast<char>(d.month);
    bytes[at + 2] = static_cast<char>(d.day);
}

void putLe32(std::string& bytes, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void putLe16(std::string& bytes, size_t at, uint16_t v)
{
    bytes[at] = static_cast<char>(v & 0xFF);
    bytes[at + 1] = static_cast<char>(v >> 8);
}

} // namespace

DbfHeader readDbfHeader(const File& file, CountCheck countCheck)
{
    const std::string& path = file.path();
    const uint64_t fileSize = file.size();
    if (fileSize < 32)
        throw DbError(path, Message{TRANSLATABLE("db", "Not a dBASE table: the file is too short to hold a header")});

    unsigned char fixed[32];
    file.readAt(0, fixed, sizeof fixed);
    DbfHeader h;
    h.version = fixed[0];
    if (!knownVersion(h.version))
        throw DbError(path, Message{TRANSLATABLE("db", "Not a dBASE table: unknown version byte %1"),
                                    {std::to_string(h.version)}});
    h.recordCount = le32(fixed + 4);
    h.headerLength = le16(fixed + 8);
    h.recordLength = le16(fixed + 10);
    h.productionIndexFlag = fixed[28];
    h.languageDriver = fixed[29];

    if (h.headerLength < 32 + 32 + 1 || h.headerLength > fileSize)
        throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the header length %1 does not fit the file"),
                                    {std::to_string(h.headerLength)}});
    if (h.recordLength < 2)
        throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the record length %1 is too small"),
                                    {std::to_string(h.recordLength)}});

    std::string descriptors(h.headerLength - 32, '\0');
    file.readAt(32, descriptors.data(), descriptors.size());
    const auto* d = reinterpret_cast<const unsigned char*>(descriptors.data());
    size_t at = 0;
    int offset = 1;
    bool terminated = false;
    while (at < descriptors.size()) {
        if (d[at] == 0x0D) {
            terminated = true;
            break;
        }
        if (at + 32 > descriptors.size())
            break;
        FieldDef f;
        size_t nameLength = 0;
        while (nameLength < 11 && d[at + nameLength] != 0)
            ++nameLength;
        f.name.assign(reinterpret_cast<const char*>(d + at), nameLength);
        while (!f.name.empty() && f.name.back() == ' ')
            f.name.pop_back();
        f.type = static_cast<char>(d[at + 11]);
        f.width = d[at + 16];
        f.decimals = d[at + 17];
        // FoxPro and Clipper keep wide character fields' high width byte in "decimals".
        if (f.type == 'C' && h.version != 0x03 && h.version != 0x83 && h.version != 0x8B && h.version != 0x04)
            f.width += f.decimals * 256, f.decimals = 0;
        if (f.name.empty())
            throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: field %1 has no name"),
                                        {std::to_string(h.fields.size() + 1)}});
        if (f.width == 0)
            throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: field %1 has zero width"), {f.name}});
        if (f.type == 'N' || f.type == 'F') {
            if (f.decimals >= f.width && f.decimals != 0)
                f.decimals = 0; // unreadable decimals count: take the digits as they stand
        }
        f.offset = offset;
        offset += f.width;
        h.fields.push_back(f);
        at += 32;
    }
    if (!terminated)
        throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the field list has no header terminator")});
    if (h.fields.empty())
        throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the table has no fields")});
    if (offset > h.recordLength)
        throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the fields need %1 bytes but the record "
                                                       "length is %2"),
                                    {std::to_string(offset), std::to_string(h.recordLength)}});
    h.countedRecords = h.recordCount;
    const uint64_t needed = h.headerLength + static_cast<uint64_t>(h.recordCount) * h.recordLength;
    if (needed > fileSize) {
        const auto whole = static_cast<uint32_t>((fileSize - h.headerLength) / h.recordLength);
        if (countCheck == CountCheck::Strict)
            throw DbError(path, Message{TRANSLATABLE("db", "Damaged dBASE table: the header counts %1 records but the "
                                                           "file ends after %2"),
                                        {std::to_string(h.recordCount), std::to_string(whole)}});
        h.recordCount = whole;
    }
    return h;
}

DbfHeader makeDbfHeader(std::vector<FieldDef> fields, TextEncoding encoding)
{
    if (fields.empty())
        throw DbError("", Message{TRANSLATABLE("db", "A table needs at least one field")});
    if (fields.size() > 255)
        throw DbError("", Message{TRANSLATABLE("db", "A dBASE table holds at most 255 fields")});
    DbfHeader h;
    int offset = 1;
    for (FieldDef& f : fields) {
        if (f.name.empty() || f.name.size() > 10)
            throw DbError("", Message(TRANSLATABLE("db", "Field name \"%1\" must have 1 to 10 characters"), {f.name}));
        switch (f.type) {
        case 'C':
            if (f.width < 1 || f.width > 254)
                throw DbError("", Message(TRANSLATABLE("db", "Character field %1 must be 1 to 254 characters wide"), {f.name}));
            f.decimals = 0;
            break;
        case 'N': case 'F':
            if (f.width < 1 || f.width > 20 || f.decimals < 0 || (f.decimals > 0 && f.decimals > f.width - 2))
                throw DbError("", Message(TRANSLATABLE("db", "Numeric field %1 has an impossible width or decimals"), {f.name}));
            break;
        case 'D': f.width = 8; f.decimals = 0; break;
        case 'L': f.width = 1; f.decimals = 0; break;
        default:
            throw DbError("", Message(TRANSLATABLE("db", "Field type %1 cannot be created"), {std::string(1, f.type)}));
        }
        f.offset = offset;
        f.encoding = encoding;
        offset += f.width;
    }
    if (offset > 65535)
        throw DbError("", Message{TRANSLATABLE("db", "The fields are too wide for one dBASE record")});
    h.fields = std::move(fields);
    h.languageDriver = languageDriverOf(encoding);
    h.recordLength = static_cast<uint16_t>(offset);
    h.headerLength = static_cast<uint16_t>(32 + 32 * h.fields.size() + 1);
    return h;
}

std::string serializeDbfHeader(const DbfHeader& h)
{
    std::string bytes(h.headerLength, '\0');
    bytes[0] = static_cast<char>(h.version);
    putDate(bytes, 1);
    putLe32(bytes, 4, h.recordCount);
    putLe16(bytes, 8, h.headerLength);
    putLe16(bytes, 10, h.recordLength);
    bytes[28] = static_cast<char>(h.productionIndexFlag);
    bytes[29] = static_cast<char>(h.languageDriver);
    size_t at = 32;
    for (const FieldDef& f : h.fields) {
        std::memcpy(&bytes[at], f.name.data(), std::min<size_t>(f.name.size(), 10));
        bytes[at + 11] = f.type;
        bytes[at + 16] = static_cast<char>(f.width & 0xFF);
        bytes[at + 17] = static_cast<char>(f.decimals);
        at += 32;
    }
    bytes[at] = 0x0D;
    return bytes;
}

std::string headerCountBytes(uint32_t recordCount)
{
    std::string bytes(7, '\0');
    std::string dated(4, '\0');
    putDate(dated, 0);
    bytes[0] = dated[0];
    bytes[1] = dated[1];
    bytes[2] = dated[2];
    putLe32(bytes, 3, recordCount);
    return bytes;
}

std::string_view trimRight(std::string_view raw)
{
    // Eight bytes of padding at a time first: a field is mostly padding, and
    // every search and filter trims every field of every record.
    constexpr uint64_t kBlanks = 0x2020202020202020u;
    while (raw.size() >= 8) {
        uint64_t tail;
        std::memcpy(&tail, raw.data() + raw.size() - 8, 8);
        if (tail != kBlanks && tail != 0)
            break;
        raw.remove_suffix(8);
    }
    while (!raw.empty() && (raw.back() == ' ' || raw.back() == '\0'))
        raw.remove_suffix(1);
    return raw;
}

std::string_view trimBoth(std::string_view raw)
{
#ifdef __SSE2__
    if (raw.size() >= 16 && raw.size() <= 64) {
        // Numbers stand right-aligned in wide fields: find both ends at once.
        const uint64_t text = notPadding(raw.data(), raw.size());
        if (text == 0)
            return {};
        const auto start = static_cast<size_t>(__builtin_ctzll(text));
        return raw.substr(start, bitLength(text) - start);
    }
#endif
    raw = trimRight(raw);
    while (!raw.empty() && (raw.front() == ' ' || raw.front() == '\0'))
        raw.remove_prefix(1);
    return raw;
}

std::optional<double> storedNumber(std::string_view raw)
{
    raw = trimBoth(raw);
    if (raw.empty())
        return std::nullopt;
    // Some writers use "," as the decimal point of a stored number.
    char buffer[32];
    if (raw.size() >= sizeof buffer)
        return std::nullopt;
    for (size_t i = 0; i < raw.size(); ++i)
        buffer[i] = raw[i] == ',' ? '.' : raw[i];
    return parseDecimalNumber(std::string_view(buffer, raw.size()));
}

bool formatFixed(double value, int width, int decimals, char* out)
{
    if (!std::isfinite(value) || width < 1 || width > 64)
        return false;
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return false;
    size_t n = static_cast<size_t>(end - buffer);
    if (n == 2 && buffer[0] == '-' && buffer[1] == '0')
        buffer[0] = '0', n = 1; // no negative zero
    if (n > static_cast<size_t>(width))
        return false;
    const size_t pad = static_cast<size_t>(width) - n;
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, buffer, n);
    return true;
}

std::optional<std::string> numberFieldText(double value, int width, int decimals)
{
    std::string text(static_cast<size_t>(std::max(width, 0)), ' ');
    if (!formatFixed(value, width, decimals, text.data()))
        return std::nullopt;
    return text;
}

} // namespace db
