#include "RecordTexts.h"

#include "NumberText.h"
#include "Padding.h"
#include "Record.h"

#include <algorithm>
#include <bit>
#include <cstring>
#ifdef __x86_64__
#include <immintrin.h>
#endif

namespace db {

namespace {

#ifdef __x86_64__
constexpr bool kMasked = true;

// The padding mask of record bytes [from, length), from a multiple of 16 and
// length at least 16: sixteen bytes at a time, the last piece read from the
// record's end backwards so that no read leaves the record.
// With high, the mask of the bytes of 0x80 and above as well (Windows-1252
// text whose letters are not ASCII).
inline __attribute__((always_inline)) void maskPadding16(const char* bytes, size_t from, size_t length, uint16_t* mask,
                                                         uint16_t* high)
{
    for (; from + 16 <= length; from += 16) {
        mask[from / 16] = static_cast<uint16_t>(padding16(bytes + from));
        if (high)
            high[from / 16] = static_cast<uint16_t>(
                _mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + from))));
    }
    if (const size_t rest = length % 16) {
        mask[length / 16] = static_cast<uint16_t>(padding16(bytes + length - 16) >> (16 - rest));
        if (high)
            high[length / 16] = static_cast<uint16_t>(static_cast<unsigned>(_mm_movemask_epi8(
                                                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + length - 16))))
                                                     >> (16 - rest));
    }
}

void maskPadding(const char* bytes, size_t length, uint16_t* mask, uint16_t* high)
{
    maskPadding16(bytes, 0, length, mask, high);
}

// The same thirty-two bytes at a time on processors with AVX2.
__attribute__((target("avx2"))) void maskPaddingWide(const char* bytes, size_t length, uint16_t* mask, uint16_t* high)
{
    size_t from = 0;
    for (; from + 32 <= length; from += 32) {
        const __m256i chunk = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + from));
        const __m256i padding = _mm256_or_si256(_mm256_cmpeq_epi8(chunk, _mm256_set1_epi8(' ')),
                                                _mm256_cmpeq_epi8(chunk, _mm256_setzero_si256()));
        const auto bits = static_cast<uint32_t>(_mm256_movemask_epi8(padding));
        std::memcpy(mask + from / 16, &bits, 4);
        if (high) {
            const auto highBits = static_cast<uint32_t>(_mm256_movemask_epi8(chunk));
            std::memcpy(high + from / 16, &highBits, 4);
        }
    }
    maskPadding16(bytes, from, length, mask, high);
}

bool hasWideMasks()
{
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2");
}
#else
constexpr bool kMasked = false;
#endif

} // namespace

RecordTexts::RecordTexts(const std::vector<FieldDef>& fields, Instructions instructions, Text text)
    : m_fields(fields)
    , m_dateWriter(editTextFormat())
    , m_decimalSeparator(editTextFormat().decimalSeparator)
    , m_dateTexts(fields.size() * ShortDateWriter::kMaxLength)
    , m_scratch(fields.size())
    , m_texts(fields.size())
    , m_stored(text == Text::Stored)
{
    for (const FieldDef& f : m_fields)
        m_length = std::max(m_length, static_cast<size_t>(f.offset + f.width));
    if (!kMasked || m_length < 16) {
        m_reader = &RecordTexts::readGeneral;
        return;
    }
    // Four spare words for the 8-byte reads at the end.
    m_padding.assign((m_length + 15) / 16 + 4, 0);
    // Windows-1252 text with letters beyond ASCII is given out as UTF-8: such bytes are looked for.
    if (!m_stored && std::any_of(m_fields.begin(), m_fields.end(),
                    [](const FieldDef& f) { return f.kind() == FieldKind::Character && f.encoding != TextEncoding::Utf8; }))
        m_high.assign(m_padding.size(), 0);
    for (uint32_t i = 0; i < m_fields.size(); ++i) {
        const FieldDef& f = m_fields[i];
        const auto offset = static_cast<uint32_t>(f.offset);
        const auto width = static_cast<uint32_t>(f.width);
        Place place{i, offset, width, offset / 8, offset % 8,
                    width <= kShortField ? (uint64_t{1} << width) - 1 : ~uint64_t{0}};
        place.wholeNumber = f.type == 'N' && f.decimals == 0;
        switch (f.kind()) {
        case FieldKind::Character:
            if (width <= kShortField) {
                m_shortCharacters.push_back(place);
                break;
            }
            place.firstPiece = static_cast<uint32_t>(m_pieces.size());
            for (uint32_t start = 0; start < width; start += kShortField) {
                const uint32_t at = offset + start;
                const uint32_t n = std::min(kShortField, width - start);
                m_pieces.push_back({at / 8, at % 8, start, (uint64_t{1} << n) - 1});
            }
            place.pieces = static_cast<uint32_t>(m_pieces.size()) - place.firstPiece;
            m_longCharacters.push_back(place);
            break;
        case FieldKind::Number: m_numbers.push_back(place); break;
        case FieldKind::Date: m_dates.push_back(place); break;
        default: m_others.push_back(place); break;
        }
    }
#ifdef __x86_64__
    const bool wide = instructions == Instructions::Best && hasWideMasks();
    m_reader = wide ? &RecordTexts::readWide : &RecordTexts::readBaseline;
#else
    (void)instructions;
#endif
}

template <bool kWide>
inline __attribute__((always_inline)) void RecordTexts::readFields(const char* bytes)
{
    uint16_t* const highMask = m_high.empty() ? nullptr : m_high.data();
#ifdef __x86_64__
    if constexpr (kWide)
        maskPaddingWide(bytes, m_length, m_padding.data(), highMask);
    else
        maskPadding(bytes, m_length, m_padding.data(), highMask);
#endif
    const auto* mask = reinterpret_cast<const unsigned char*>(m_padding.data());
    const auto* high = reinterpret_cast<const unsigned char*>(highMask);
    std::string_view* texts = m_texts.data();
    for (const Place& place : m_shortCharacters) {
        uint64_t word;
        std::memcpy(&word, mask + place.maskByte, 8);
        const uint64_t text = ~(word >> place.shift) & place.widthBits;
        texts[place.field] = {bytes + place.offset, static_cast<size_t>(std::bit_width(text))};
        if (high) {
            uint64_t highWord;
            std::memcpy(&highWord, high + place.maskByte, 8);
            if ((highWord >> place.shift) & place.widthBits)
                texts[place.field] = asUtf8(place.field, texts[place.field]);
        }
    }
    // Wider fields piece by piece from their start; the last piece with text
    // ends the text. No early exit: where the text ends is anybody's guess,
    // and a guessed branch that misses costs more than the pieces left.
    for (const Place& place : m_longCharacters) {
        size_t length = 0;
        const Piece* piece = m_pieces.data() + place.firstPiece;
        for (uint32_t k = 0; k < place.pieces; ++k, ++piece) {
            uint64_t word;
            std::memcpy(&word, mask + piece->maskByte, 8);
            const uint64_t text = ~(word >> piece->shift) & piece->widthBits;
            const size_t end = piece->start + static_cast<size_t>(std::bit_width(text));
            length = text != 0 ? end : length;
        }
        texts[place.field] = {bytes + place.offset, length};
        if (high && !isAscii(texts[place.field]))
            texts[place.field] = asUtf8(place.field, texts[place.field]);
    }
    for (const Place& place : m_numbers) {
        std::string_view trimmed;
        if (place.width <= kShortField) {
            uint64_t word;
            std::memcpy(&word, mask + place.maskByte, 8);
            const uint64_t text = ~(word >> place.shift) & place.widthBits;
            const auto start = static_cast<size_t>(std::countr_zero(text));
            if (text != 0)
                trimmed = {bytes + place.offset + start, static_cast<size_t>(std::bit_width(text)) - start};
        } else {
            trimmed = trimBoth({bytes + place.offset, place.width});
        }
        const bool plain = trimmed.empty() || (place.wholeNumber && trimmed.size() <= 15 && plainInteger(trimmed));
        texts[place.field] = plain ? trimmed : numberText(place, trimmed, bytes);
    }
    for (const Place& place : m_dates)
        texts[place.field] = dateText(place, bytes);
    for (const Place& place : m_others)
        texts[place.field] = fallbackText(place.field, bytes);
}

void RecordTexts::readBaseline(const char* bytes)
{
    readFields<false>(bytes);
}

#ifdef __x86_64__
__attribute__((target("avx2,bmi,bmi2")))
#endif
void RecordTexts::readWide(const char* bytes)
{
    readFields<true>(bytes);
}

void RecordTexts::readGeneral(const char* bytes)
{
    for (uint32_t i = 0; i < m_fields.size(); ++i)
        m_texts[i] = fallbackText(i, bytes);
}

std::string_view RecordTexts::numberText(const Place& place, std::string_view trimmed, const char* bytes)
{
    std::string_view plain;
    if (m_decimalSeparator == '.' && plainDecimal(trimmed, plain))
        return plain;
    return fallbackText(place.field, bytes);
}

std::string_view RecordTexts::dateText(const Place& place, const char* bytes)
{
    const auto date = parseStoredDate(std::string_view(bytes + place.offset, place.width).substr(0, 8));
    if (!date)
        return {};
    char* text = m_dateTexts.data() + static_cast<size_t>(place.field) * ShortDateWriter::kMaxLength;
    return {text, m_dateWriter.write(*date, text)};
}

std::string_view RecordTexts::asUtf8(uint32_t field, std::string_view stored)
{
    std::string& out = m_scratch[field];
    out.clear();
    appendFieldTextAsUtf8(out, stored, m_fields[field].encoding);
    return out;
}

std::string_view RecordTexts::fallbackText(uint32_t field, const char* bytes)
{
    const Record record(&m_fields, bytes);
    const FieldDef& f = m_fields[field];
    if (m_stored && f.kind() == FieldKind::Character)
        return trimRight(record.raw(static_cast<int>(field)));
    record.text(static_cast<int>(field), m_scratch[field]);
    return m_scratch[field];
}

} // namespace db
