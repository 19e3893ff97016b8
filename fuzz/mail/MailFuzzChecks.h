#pragma once
// What must hold for any input to the mail parsers. Each check returns an empty text
// when all is well, else what broke; the fuzz targets abort on it and the test run
// replays the corpora through the same checks.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorin::mail::fuzz {

// The reply reader fed the same bytes whole and cut at points the input chooses: the
// same replies with the same codes, the same bytes consumed, the same verdict at the
// end, and never more buffered than its limit.
std::string CheckReplyReader(const std::uint8_t* data, std::size_t size);

// AddMultipleRecipients: on success one recipient per ";" plus one, each read from its
// piece; on failure none added.
std::string CheckRecipientList(const std::uint8_t* data, std::size_t size);

// Body preparation: no bare CR or LF, no line of a single "." or longer than SMTP
// allows, and removing the stuffed dots (and decoding quoted-printable) gives the
// CR LF body back.
std::string CheckBodyPreparation(const std::uint8_t* data, std::size_t size);

} // namespace quorin::mail::fuzz
