#include "implants/store/CiDataEditing.h"

#include "document/CQuorinDoc.h"
#include "rules/DateSpan.h"
#include "rules/DateText.h"

namespace quorin {

namespace {

void SayNoSelection(CQuorinDoc& doc)
{
    doc.UI().MessageBox(QStringLiteral("Please make a selection!"), UserInterface::Icon::Stop);
}

// The record at the position, or null (nothing selected, or a row of a list since
// refilled).
template <class T>
T* At(std::vector<T>& list, std::optional<std::size_t> position)
{
    return position && *position < list.size() ? &list[*position] : nullptr;
}

// A date the database or the program stores for "no date": 1/1/1900 or 1/1/1901.
bool IsPlaceholderDate(const QString& text)
{
    const std::optional<DateParts> parts = SplitDate(text);
    return parts && parts->month == 1 && parts->day == 1 && (parts->year == 1900 || parts->year == 1901);
}

constexpr float kEmptyScore = -999.0f;

} // namespace

bool IsPreImplant(const CCiSpeech& row)
{
    return row.DataType == kPreImplant;
}

bool AddCiSpeech(CQuorinDoc& doc, bool postImplant, const CiSpeechEditor& editor)
{
    CCiSpeech row;
    row.DataType = postImplant ? kPostImplant : kPreImplant;
    if (!editor(row))
        return false;
    row.DataType = postImplant ? kPostImplant : kPreImplant;
    row.Index = -1;
    if (!postImplant)
        row.TimeIS = 0;
    doc.m_ciSpeechList.push_back(row);
    // Unsaved work: leaving the subject must offer to save it.
    doc.m_subject.Modified = 1;
    return true;
}

bool EditCiSpeech(CQuorinDoc& doc, std::optional<std::size_t> position, const CiSpeechEditor& editor)
{
    if (!position) {
        SayNoSelection(doc);
        return false;
    }
    const CCiSpeech* found = At(doc.m_ciSpeechList, position);
    if (!found)
        return false;
    CCiSpeech edited = *found;
    if (!editor(edited))
        return false;
    CCiSpeech* target = At(doc.m_ciSpeechList, position);
    if (!target)
        return false;
    target->TestName = edited.TestName;
    target->TestType = edited.TestType;
    target->Condition = edited.Condition;
    target->Score = edited.Score;
    target->TimeIS = edited.TimeIS;
    doc.m_subject.Modified = 1;
    return true;
}

bool DeleteCiSpeech(CQuorinDoc& doc, std::optional<std::size_t> position)
{
    if (!position) {
        SayNoSelection(doc);
        return false;
    }
    if (!At(doc.m_ciSpeechList, position))
        return false;
    doc.m_ciSpeechList.erase(doc.m_ciSpeechList.begin() + static_cast<std::ptrdiff_t>(*position));
    doc.m_subject.Modified = 1;
    return true;
}

bool AddCiDevice(CQuorinDoc& doc, const CiDeviceEditor& editor)
{
    CCiDevice device;
    if (!editor(device))
        return false;
    doc.m_ciData.Devices.push_back(device);
    doc.m_subject.Modified = 1;
    return true;
}

bool EditCiDevice(CQuorinDoc& doc, std::optional<std::size_t> position, const CiDeviceEditor& editor)
{
    if (!position) {
        SayNoSelection(doc);
        return false;
    }
    const CCiDevice* found = At(doc.m_ciData.Devices, position);
    if (!found)
        return false;
    CCiDevice edited = *found;
    if (!editor(edited))
        return false;
    CCiDevice* target = At(doc.m_ciData.Devices, position);
    if (!target)
        return false;
    *target = edited;
    doc.m_subject.Modified = 1;
    return true;
}

bool DeleteCiDevice(CQuorinDoc& doc, std::optional<std::size_t> position)
{
    if (!position) {
        SayNoSelection(doc);
        return false;
    }
    if (!At(doc.m_ciData.Devices, position))
        return false;
    doc.m_ciData.Devices.erase(doc.m_ciData.Devices.begin() + static_cast<std::ptrdiff_t>(*position));
    doc.m_subject.Modified = 1;
    return true;
}

QString AgeAtImplantText(int months)
{
    return months < 0 ? QString() : QString::asprintf("%dyr,%dmo", months / 12, months % 12);
}

QString TimeIsText(int months)
{
    return months < 0 ? QString() : QString::asprintf("%dyrs %dmos", months / 12, months % 12);
}

QString CiScoreText(float score)
{
    return score == kEmptyScore ? QString() : QString::asprintf("%.02f", double(score));
}

QStringList CiSpeechRowTexts(const CCiSpeech& row, bool postImplant)
{
    QStringList texts = {row.TestType, QString::asprintf("%d", row.Index), row.TestName, row.Condition,
                         CiScoreText(row.Score)};
    if (postImplant)
        texts << TimeIsText(row.TimeIS);
    return texts;
}

QStringList CiDeviceRowTexts(const CCiDevice& d)
{
    return {d.Ear,      d.Device,   d.Positioner, d.SurgDate, d.StimDate, AgeAtImplantText(d.AgeAtImplant),
            d.Surgeon, d.Hospital, d.Status,     d.ExplantDate};
}

std::optional<int> AgeAtImplantMonths(const CQuorinDoc& doc, const QString& birth, const QString& surgery)
{
    const QString from = birth.trimmed();
    const QString to = surgery.trimmed();
    if (from.isEmpty() || to.isEmpty() || !doc.IsValidDate(from) || !doc.IsValidDate(to))
        return std::nullopt;
    if (IsPlaceholderDate(from) || IsPlaceholderDate(to))
        return std::nullopt;
    if (CQuorinDoc::CompareDates(to, from) < 0)
        return std::nullopt;
    return static_cast<int>(quorin::MonthsBetween(from, to));
}

} // namespace quorin
