#include "implants/store/SpeechTestEditing.h"

#include "document/CQuorinDoc.h"
#include "rules/DateSpan.h"

#include <algorithm>
#include <cmath>

namespace quorin {

namespace {

void SayNoSelection(CQuorinDoc& doc)
{
    doc.UI().MessageBox(QStringLiteral("Please make a selection!"), UserInterface::Icon::Stop);
}

} // namespace

int TemporarySpeechTestId(const std::vector<CSpeechTest>& list)
{
    const auto taken = [&list](int id) {
        return std::any_of(list.begin(), list.end(), [id](const CSpeechTest& t) { return t.TestId == id; });
    };
    const int counted = static_cast<int>(list.size()) - 100;
    if (counted < 1 && !taken(counted))
        return counted;
    // A delete leaves a gap that the count would fill again, and past 100 tests the
    // count reaches stored ids: go below everything in use instead.
    int lowest = 1;
    for (const CSpeechTest& t : list)
        lowest = std::min(lowest, t.TestId);
    return lowest - 1;
}

CSpeechTest* FindSpeechTest(CQuorinDoc& doc, int testId)
{
    for (CSpeechTest& t : doc.m_speechTestList) {
        if (t.TestId == testId)
            return &t;
    }
    return nullptr;
}

bool AddSpeechTest(CQuorinDoc& doc, const SpeechTestEditor& editor)
{
    CSpeechTest test;
    if (!editor(test))
        return false;
    test.TestId = TemporarySpeechTestId(doc.m_speechTestList);
    doc.m_speechTestList.push_back(test);
    // Unsaved work: leaving the subject must offer to save it.
    doc.m_subject.Modified = 1;
    return true;
}

bool EditSpeechTest(CQuorinDoc& doc, std::optional<int> selectedTestId, const SpeechTestEditor& editor)
{
    if (!selectedTestId) {
        SayNoSelection(doc);
        return false;
    }
    CSpeechTest* found = FindSpeechTest(doc, *selectedTestId);
    if (!found)
        return false;
    CSpeechTest edited = *found;
    if (!editor(edited))
        return false;
    // The dialog may not change which test this is; the list may have changed while it
    // was open, so look the test up again.
    edited.TestId = *selectedTestId;
    found = FindSpeechTest(doc, *selectedTestId);
    if (!found)
        return false;
    *found = edited;
    doc.m_subject.Modified = 1;
    return true;
}

bool DeleteSpeechTest(CQuorinDoc& doc, std::optional<int> selectedTestId)
{
    if (!selectedTestId) {
        SayNoSelection(doc);
        return false;
    }
    const int id = *selectedTestId;
    if (!FindSpeechTest(doc, id))
        return false;
    // A test that was never stored has nothing in the database to delete.
    if (id >= 1 && !doc.m_db.RunTextQuery(QString::asprintf("Delete from speech where TestId = %d", id)
                                              .toUtf8()
                                              .constData()))
        return false;
    std::erase_if(doc.m_speechTestList, [id](const CSpeechTest& t) { return t.TestId == id; });
    return true;
}

QString AgeEquivalentText(int months)
{
    return QString::asprintf("%d,%d", months / 12, months % 12);
}

QStringList SpeechTestRowTexts(const CSpeechTest& t)
{
    return {t.TestName,
            QString::asprintf("%d", t.TestId),
            t.TestDate,
            t.AgeAtTest,
            t.TestedBy,
            t.Lab,
            t.Screening,
            t.RawScore,
            t.StandardScore,
            AgeEquivalentText(t.AgeEquivalent),
            t.Percentile,
            t.SD,
            t.Other};
}

QString AgeAtTestText(const CQuorinDoc& doc, const QString& birth, const QString& testDate)
{
    const QString from = birth.trimmed();
    const QString to = testDate.trimmed();
    if (from.isEmpty() || to.isEmpty() || !doc.IsValidDate(from) || !doc.IsValidDate(to))
        return {};
    // A test before the birth is a typing error; an age counted round the century
    // would look like a real one.
    if (CQuorinDoc::CompareDates(to, from) < 0)
        return {};
    const int months = static_cast<int>(std::floor(quorin::MonthsBetween(from, to)));
    return QString::asprintf("%dyrs %dmos", months / 12, months % 12);
}

QStringList SpeechTesters(const std::vector<CSpeechTest>& list)
{
    QStringList names;
    for (const CSpeechTest& t : list) {
        const QString name = t.TestedBy.trimmed();
        if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
            names.push_back(name);
    }
    names.sort(Qt::CaseInsensitive);
    return names;
}

} // namespace quorin
