#include "audiograms/record/AmCodes.h"

#include "audiograms/record/CAudPoint.h"

#include <array>
#include <iterator>

namespace quorin::am {
namespace {

const std::array<int, 4> kMethod{3, 1, 0, 2};          // by clinic code 0..3
const std::array<int, 5> kTymp{0, 1, 3, 4, 2};          // by clinic code 1..5

const char* const kMaterials[] = {
    "",        "NU-CHIPS", "WIPI", "NU-6",   "PBK-50",    "CCT", "MTS",
    "HAVE",    "w-22",     "SERT", "GASP",   "OTHER",     "DNT", "CNT",
    "NU-6(S)", "NU-6(1/2)", "SIN", "A/B Words",
};

struct SymbolMap {
    int clinic;
    int symbol;
    int type;
};

const SymbolMap kSymbols[] = {
    {1, 1, 1},       {2, 3, 0},       {3, 2, 1},       {4, 4, 0},       {5, 5, 4},
    {6, 7, 2},       {7, 6, 5},       {8, 11, 3},      {9, 10, 3},      {10, 8, 3},
    {11, 9, 3},      {12, 12, 3},     {129, 129, 1},   {130, 131, 0},   {131, 130, 1},
    {132, 132, 0},   {133, 133, 4},   {134, 135, 2},   {135, 134, 5},   {136, 11, 3},
    {137, 138, 3},
};

} // namespace

int Method(int code)
{
    return code >= 0 && code < int(kMethod.size()) ? kMethod[code] : -1;
}

int Tymp(int code)
{
    return code >= 1 && code <= int(kTymp.size()) ? kTymp[code - 1] : -1;
}

float EtfRelease(float value)
{
    return value == -1.0f ? -999.0f : value;
}

int TypeOfLoss(int normal, int conductive, int sensorineural, int mixed, int undetermined)
{
    const int flags[] = {normal, conductive, sensorineural, mixed, undetermined};
    for (int i = 0; i < int(std::size(flags)); ++i)
        if (flags[i] != 0)
            return i;
    return -1;
}

int SoundFieldLoss(int normal, int conductive, int sensorineural, int mixed, int undetermined)
{
    if (normal != 0)
        return 0;
    if (conductive != 0 || sensorineural != 0 || mixed != 0 || undetermined != 0)
        return 1;
    return -1;
}

QString Materials(int code)
{
    if (code < 0 || code >= int(std::size(kMaterials)))
        return QString();
    return QString::fromLatin1(kMaterials[code]);
}

int SpeechLevel(int level)
{
    return level > 0 ? level & ~(0x100 | 0x1000) : level;
}

} // namespace quorin::am

void MapAmSymbol(CAudPoint& point)
{
    int symbol = 0;
    int type = 3;
    for (const auto& m : quorin::am::kSymbols) {
        if (m.clinic == point.symbol) {
            symbol = m.symbol;
            type = m.type;
            break;
        }
    }
    point.symbol = symbol;
    point.type = type;
    point.xy = point.x * 100 + point.y;
}
