#include "subjects/ui/ParticipationCodes.h"

#include <array>

namespace quorin {

namespace {

// Fields that only tell "first choice" from "any later one": the word for 0, the word
// for any positive code; a negative code shows nothing.
struct TwoWay {
    ParticipationField field;
    const char* zero;
    const char* positive;
};

constexpr std::array kTwoWay{
    TwoWay{ParticipationField::Participated, "Yes", "No"},
    TwoWay{ParticipationField::Completed, "Yes", "No"},
    TwoWay{ParticipationField::Show, "On Time", "Late"},
    TwoWay{ParticipationField::CallAgain, "Yes", "No"},
};

constexpr std::array kContacted{"Yes", "CNC", "DNC", "CKD"};
constexpr std::array kAppts{"All", "Most", "Some", "None"};

template <std::size_t N>
QString Lookup(const std::array<const char*, N>& words, int code, const char* otherwise)
{
    if (code >= 0 && code < static_cast<int>(N))
        return QString::fromLatin1(words[static_cast<std::size_t>(code)]);
    return QString::fromLatin1(otherwise);
}

} // namespace

QString ParticipationCodeText(ParticipationField field, int code)
{
    switch (field) {
    case ParticipationField::Contacted: return Lookup(kContacted, code, "CKD");
    case ParticipationField::Appts: return Lookup(kAppts, code, "");
    default: break;
    }
    for (const TwoWay& entry : kTwoWay) {
        if (entry.field == field) {
            if (code < 0)
                return {};
            return QString::fromLatin1(code == 0 ? entry.zero : entry.positive);
        }
    }
    return {};
}

} // namespace quorin
