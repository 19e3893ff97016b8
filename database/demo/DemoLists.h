#pragma once
// The values the demo draws from: every entry the forms' lists offer, plus believable
// names, places and studies.

#include "subjects/record/SubjectFormLists.h"

#include <array>
#include <string_view>

namespace quorin::demo::lists {

using namespace std::string_view_literals;

inline constexpr std::array kLastNames{
    "SMITH"sv, "JOHNSON"sv, "WILLIAMS"sv, "BROWN"sv, "JONES"sv, "MILLER"sv, "DAVIS"sv, "GARCIA"sv,
    "RODRIGUEZ"sv, "WILSON"sv, "MARTINEZ"sv, "ANDERSON"sv, "TAYLOR"sv, "THOMAS"sv, "HERNANDEZ"sv,
    "MOORE"sv, "MARTIN"sv, "JACKSON"sv, "THOMPSON"sv, "WHITE"sv, "LOPEZ"sv, "LEE"sv, "GONZALEZ"sv,
    "HARRIS"sv, "CLARK"sv, "LEWIS"sv, "ROBINSON"sv, "WALKER"sv, "PEREZ"sv, "HALL"sv, "YOUNG"sv,
    "ALLEN"sv, "SANCHEZ"sv, "WRIGHT"sv, "KING"sv, "SCOTT"sv, "GREEN"sv, "BAKER"sv, "ADAMS"sv,
    "NELSON"sv, "HILL"sv, "RAMIREZ"sv, "CAMPBELL"sv, "MITCHELL"sv, "ROBERTS"sv, "CARTER"sv,
    "PHILLIPS"sv, "EVANS"sv, "TURNER"sv, "TORRES"sv, "O'BRIEN"sv, "O'CONNOR"sv, "NGUYEN"sv,
    "XIONG"sv, "VANG"sv, "SCHMIDT"sv, "MUELLER"sv, "OLSON"sv, "LARSON"sv, "HANSON"sv};

inline constexpr std::array kMaleNames{
    "JAMES"sv, "JOHN"sv, "ROBERT"sv, "MICHAEL"sv, "WILLIAM"sv, "DAVID"sv, "RICHARD"sv, "JOSEPH"sv,
    "THOMAS"sv, "CHARLES"sv, "DANIEL"sv, "MATTHEW"sv, "ANTHONY"sv, "MARK"sv, "PAUL"sv, "STEVEN"sv,
    "ANDREW"sv, "JOSHUA"sv, "KEVIN"sv, "BRIAN"sv, "ETHAN"sv, "NOAH"sv, "LIAM"sv, "MASON"sv,
    "LUCAS"sv, "OWEN"sv, "CARLOS"sv, "LUIS"sv, "PAO"sv, "TOU"sv};

inline constexpr std::array kFemaleNames{
    "MARY"sv, "PATRICIA"sv, "JENNIFER"sv, "LINDA"sv, "ELIZABETH"sv, "BARBARA"sv, "SUSAN"sv,
    "JESSICA"sv, "SARAH"sv, "KAREN"sv, "NANCY"sv, "LISA"sv, "BETTY"sv, "MARGARET"sv, "SANDRA"sv,
    "ASHLEY"sv, "EMILY"sv, "EMMA"sv, "OLIVIA"sv, "AVA"sv, "SOPHIA"sv, "ISABELLA"sv, "MIA"sv,
    "CHLOE"sv, "GRACE"sv, "MARIA"sv, "ANA"sv, "MAI"sv, "KIA"sv, "NORA"sv};

// What the Subject tab offers comes from the form's own lists.
using res::lists::kBilateral;
using res::lists::kContacts;
using res::lists::kEthnicities;
using res::lists::kImpressions;
using res::lists::kLanguages;
using res::lists::kLossTypes;
using res::lists::kPhoneTypes;
using res::lists::kRaces;
using res::lists::kSchools;
inline constexpr const auto& kYesNoUnknown = res::lists::kBilingual;
// The Gender list and the value stored when it is left empty.
inline constexpr std::array kSexes{res::lists::kGenders[0], res::lists::kGenders[1], "Not Reported"sv};
inline constexpr std::array kRecruitment{
    "Audiology Clinic Referral"sv, "Physician Referral"sv, "Newspaper Ad"sv, "Flyer"sv,
    "Institute Website"sv, "Word of Mouth"sv, "School Screening"sv, "Community Health Fair"sv};
inline constexpr std::array kStreets{
    "Main St"sv, "Oak Ave"sv, "University Ave"sv, "Park St"sv, "Elm Dr"sv, "Lake Rd"sv,
    "Mineral Point Rd"sv, "Monroe St"sv, "Johnson St"sv, "Regent St"sv, "Williamson St"sv};
inline constexpr std::array kCities{
    "Madison"sv, "Middleton"sv, "Verona"sv, "Sun Prairie"sv, "Fitchburg"sv, "Monona"sv,
    "Stoughton"sv, "Waunakee"sv, "Oregon"sv, "McFarland"sv};
inline constexpr std::array kStates{"WI"sv, "WI"sv, "WI"sv, "WI"sv, "IL"sv, "MN"sv, "IA"sv};
inline constexpr std::array kLabs{
    "Hearing Aid Research Lab"sv, "Psychoacoustics Lab"sv, "Clinical Sensory Physiology Lab"sv,
    "Physical Acoustics"sv, "Speech Physiology"sv, "CCD"sv, "Cochlear Implant Research Lab"sv,
    "Auditory Physiology"sv, "Genetics, Usher Syndrome"sv, "Infant Development Lab"sv,
    "Balance Disorders"sv};
inline constexpr std::array kSpeechTests{
    "Test of Auditory Comprehension"sv, "MLU"sv, "PSL-4"sv, "Rosetti"sv, "CASL"sv, "CELF"sv,
    "Oral Written Language Scales"sv, "Digit Span screen"sv, "Speech Intelligibility Measure"sv,
    "Preschool Language Assessment Instrument"sv, "Test of Problem Solving"sv,
    "MacArthur Communication Development Inventory"sv, "PPVT-III"sv,
    "Expressive One Word Vocab Test"sv, "GFTA"sv, "GFTA-II"sv, "BBQSPS"sv};
inline constexpr std::array kScreening{"No"sv, "Pass"sv, "Fail"sv};
inline constexpr std::array kSpeechMaterials{
    "NU-CHIPS"sv, "WIPI"sv, "NU-6"sv, "PBK-50"sv, "CCT"sv, "MTS"sv, "HAVE"sv, "w-22"sv, "SERT"sv,
    "GASP"sv, "OTHER"sv, "DNT"sv, "CNT"sv, "NU-6(S)"sv, "NU-6(1/2)"sv, "SIN"sv, "A/B Words"sv};

// Cochlear-implant lists of the CI Data tab and its dialogs.
inline constexpr std::array kDegrees{"Moderate-Profound"sv, "Severe"sv, "Severe-Profound"sv, "Profound"sv, ""sv};
inline constexpr std::array kOnsets{
    "Progressive"sv, "Sudden from NH"sv, "Sudden from established SNHL"sv, "Congenital"sv, ""sv};
inline constexpr std::array kEtiologies{
    "Auditory Neuropathy"sv, "Autoimmune disease"sv, "BOR"sv, "CHARGE"sv, "CMV"sv, "Connexin 26"sv,
    "EVA"sv, "Genetic-unspecified"sv, "Menieres"sv, "Meningitis"sv, "Mondini"sv, "Otosclerosis"sv,
    "Ototoxicity"sv, "Rubella"sv, "T-bone fx"sv, "Trauma-other"sv, "Unknown"sv, "Ushers"sv};
inline constexpr std::array kProcessors{
    "Clarion 1.0"sv, "Clarion 1.2"sv, "Clarion Auria"sv, "Clarion CII BTE"sv,
    "Clarion Platinum BTE"sv, "Clarion PSP"sv, "Clarion S-series"sv, "Med-El CIS-Pro+"sv,
    "Med-El Tempo+"sv, "Nucleus 22 3G"sv, "Nucleus 24 3G"sv, "Nucleus Esprit 22"sv,
    "Nucleus Esprit 24"sv, "Nucleus MSP"sv, "Nucleus Spectra"sv, "Nucleus SPrint"sv, "Nucleus WSP"sv};
inline constexpr std::array kDevices{
    "Clarion 1.0 RBP"sv, "Clarion 1.2 EBP (S-series)"sv, "Clarion 1.2 Hi-Focus"sv,
    "Clarion 1.2 RBP"sv, "Clarion 90k"sv, "Clarion CII"sv, "Ineraid"sv, "Med-El Combi 40"sv,
    "Med-El Combi 40+"sv, "Nucleus 22"sv, "Nucleus 24k"sv, "Nucleus 24M"sv, "Nucleus 24R(CS)"sv};
inline constexpr std::array kEars{"Left"sv, "Right"sv};
inline constexpr std::array kYesNo{"Yes"sv, "No"sv};
inline constexpr std::array kDeviceStatus{"In Use"sv, "In Situ/Non-Use"sv, "Explanted"sv};
inline constexpr std::array kSurgeons{"Dr. Hartley"sv, "Dr. Osei"sv, "Dr. Lindqvist"sv, "Dr. Moreno"sv};
inline constexpr std::array kHospitals{"University Hospital"sv, "Children's Hospital"sv, "St. Mary's Hospital"sv};
inline constexpr std::array kConditions{"Monaural Left"sv, "Monaural right"sv, "Binaural CI"sv, "CI + HA"sv, ""sv};
inline constexpr std::array kCiTestTypes{
    "Discrimination"sv, "Parent Inventory"sv, "Phoneme Recognition"sv, "Sentence Recognition"sv,
    "Word Identification"sv, "Word Recognition"sv};
inline constexpr std::array kCiTestNames{
    "CID Sentences"sv, "BKB-SIN"sv, "CNC phonemes"sv, "CNC words"sv, "CUNY, Noise"sv, "CUNY, Quiet"sv,
    "ESP"sv, "GASP"sv, "HINT-C"sv, "HINT, Noise"sv, "HINT, Quiet"sv, "PBK"sv, "WIPI"sv, "CNC"sv,
    "CUNY"sv, "HINT"sv, "NU-6"sv, "W-22"sv, "Not Specified"sv, "Could Not Test"sv, "Did Not Test"sv};

// Studies.
inline constexpr std::array kStudyTopics{
    "Speech in Noise"sv, "Hearing Aid Fitting"sv, "Temporal Processing"sv, "Pediatric Language"sv,
    "Binaural Hearing"sv, "Tinnitus Survey"sv, "Vestibular Function"sv, "CI Music Perception"sv,
    "Otoacoustic Emissions"sv, "Usher Genetics"sv, "Infant Word Learning"sv, "Aging Auditory"sv};

} // namespace quorin::demo::lists
