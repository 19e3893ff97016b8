#pragma once
// The items of the Subject tab's lists, in resource order. The form's template shows
// them and the demo generator draws its values from them, so both read this one source.
// Plain C++ (no Qt), as the generator has none.

#include <array>
#include <string_view>

namespace res::lists {

using namespace std::string_view_literals;

inline constexpr std::array kGenders{"Male"sv, "Female"sv};
inline constexpr std::array kEthnicities{"Hispanic or Latino"sv, "Not Hispanic or Latino"sv, "Not Reported"sv};
inline constexpr std::array kRaces{
    "American Indian or Alaskan Native"sv, "Asian"sv, "Black or African American"sv,
    "Native Hawaiian or Other Pacific Islander"sv, "White"sv, "More Than One"sv, "Not Reported"sv};
inline constexpr std::array kPhoneTypes{"Home"sv, "Work"sv, "Cell"sv, "Pager"sv};
inline constexpr std::array kContacts{
    "Phone"sv, "Home Phone"sv, "Work Phone"sv, "Cell Phone"sv, "Email"sv, "U.S. Mail"sv, ""sv};
// "Home Schooled", then the districts of the institute's region.
inline constexpr std::array kSchools{
    "Home Schooled"sv, "Madison Metropolitan"sv, "Middleton-Cross Plains"sv, "Verona Area"sv,
    "Sun Prairie Area"sv, "Monona Grove"sv, "Oregon"sv, "Stoughton Area"sv, "McFarland"sv,
    "DeForest Area"sv, "Waunakee Community"sv, "Mount Horeb Area"sv, "Sauk Prairie"sv};
inline constexpr std::array kLanguages{
    "English"sv, "Spanish"sv, "Chinese"sv, "Mong"sv, "French"sv, "German"sv, "Italian"sv,
    "Swahili"sv, "Japanese"sv, "Korean"sv, "Other"sv};
inline constexpr std::array kBilingual{"Yes"sv, "No"sv, "Unknown"sv};
// Hearing Status and Screening Impression.
inline constexpr std::array kImpressions{"Normal Hearing"sv, "Hearing Impaired"sv};
inline constexpr std::array kLossTypes{"Unilateral"sv, "Bilateral"sv, "Unknown"sv, ""sv};
inline constexpr std::array kCochlearImplant{"Yes"sv, "No"sv};
// "None " carries its trailing blank, as stored.
inline constexpr std::array kBilateral{"None "sv, "Sequential"sv, "Simultaneous"sv, "Unknown"sv};
inline constexpr std::array kStatus{"Active"sv, "Withdrawn"sv, "Inactive"sv, "Not Available"sv};

} // namespace res::lists
