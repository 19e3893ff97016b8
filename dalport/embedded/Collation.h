#pragma once
// SQL Server's default collation for the engine: case-insensitive and accent-sensitive
// over all of Unicode (ICU's root collation at secondary strength), trailing blanks
// ignored, and the case mappings UPPER and LOWER use.

#include <cstdint>
#include <string>
#include <string_view>

namespace dalport::embedded {

// The version of the text order below, kept in each database file's application id:
// "QC" and 2 (ICU root collation at secondary strength, trailing blanks ignored). A file
// with another value has its indexes rebuilt when the engine opens it.
inline constexpr int kCollationVersion = 0x51430002;

// <0, 0, >0 as a sorts before, equal to or after b.
int compareTsql(std::string_view a, std::string_view b);

// Compares two single characters (code points) by the collation, for LIKE's ranges.
int compareCharacters(std::int32_t a, std::int32_t b);

// The case-folded form of one code point: what LIKE compares.
std::int32_t foldCase(std::int32_t c);

// UPPER and LOWER: simple (one-to-one) case mapping of every code point, as SQL Server
// maps them ('ß' stays 'ß'). Invalid UTF-8 is kept byte for byte.
std::string upperText(std::string_view utf8);
std::string lowerText(std::string_view utf8);

} // namespace dalport::embedded
