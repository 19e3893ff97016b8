// The composite of a clinic patient's recent tests: the newest test's symbols in
// colour, the symbols of earlier tests that the newest one lacks in grey.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "audiograms/record/AmCodes.h"
#include "audiograms/store/AmImport.h"
#include "rules/DateSpan.h"

#include <algorithm>
#include <vector>

using quorin::RunText;
using quorin::StringField;

namespace {

// A point with the test it came from: 0 for the oldest test read, -1 for a symbol the
// record held before (the previous test's grey symbols). Kept apart from `recent`,
// which is 0 both for the first test and for the carried-over symbols.
struct TestPoint {
    CAudPoint point;
    int test = -1;
};

} // namespace

int CQuorinDoc::ReadAmCompositePoints(int patientIndex, CAudRecord& record)
{
    int ran = RunText(m_dbAud, QString::asprintf(
        "Select patientnum, Convert(char,birthdate,101)as birth, Convert(char,[date],101)as testdate "
        "from info where patientindex = %d", patientIndex));
    if (!ran || m_dbAud.IsEOF())
        return ran;
    const int patientNum = m_dbAud.GetIntField("patientnum");
    const QString birth = StringField(m_dbAud, "birth").trimmed();
    const std::optional<QDate> testDay = quorin::am::ReadRealDay(StringField(m_dbAud, "testdate"));

    // Children's hearing changes quickly: a child's composite reaches back two calendar
    // years from the newest test, an adult's five.
    const int age = birth.isEmpty() ? 0 : int(quorin::AgeInYears(birth, Today()));
    QString sql = QString::asprintf("Select patientindex from info where patientnum = %d", patientNum);
    if (testDay)
        sql += QStringLiteral(" and datediff(yy, [date], '%1') %2")
                   .arg(testDay->toString(QStringLiteral("MM/dd/yyyy")),
                        age <= 10 ? QStringLiteral("<= 2") : QStringLiteral("< 6"));
    sql += QStringLiteral(" order by date desc, patientindex desc");
    ran = RunText(m_dbAud, sql);
    if (!ran)
        return ran;
    std::vector<int> tests; // newest first, from the given test on
    for (; !m_dbAud.IsEOF(); m_dbAud.MoveNext())
        tests.push_back(m_dbAud.GetIntField("patientindex"));
    // Tests newer than the given one are not part of its composite.
    if (auto given = std::find(tests.begin(), tests.end(), patientIndex); given != tests.end())
        tests.erase(tests.begin(), given);
    if (int(tests.size()) > quorin::am::kMaxCompositeTests)
        tests.resize(quorin::am::kMaxCompositeTests);
    if (tests.empty())
        return ran;

    std::vector<TestPoint> points;
    points.reserve(record.Points.size());
    for (const CAudPoint& p : record.Points)
        points.push_back({p, -1});

    const int newest = int(tests.size()) - 1;
    for (int number = 0; number <= newest; ++number) {
        const int index = tests[std::size_t(newest - number)];
        ran = RunText(m_dbAud, QString::asprintf(
            "select x,y,symbol,mask from newpoints where patientindex = %d order by symbol,x", index));
        if (!ran)
            return ran; // the record is left as it was
        for (; !m_dbAud.IsEOF(); m_dbAud.MoveNext()) {
            TestPoint t;
            t.point.x = m_dbAud.GetIntField("x");
            t.point.y = m_dbAud.GetIntField("y");
            t.point.symbol = m_dbAud.GetIntField("symbol");
            t.point.mask = m_dbAud.GetIntField("mask");
            t.point.recent = 1;
            t.test = number;
            MapAmSymbol(t.point);
            // A newer symbol replaces older ones of its kind at its frequency; the
            // symbols of one test never replace each other (a right and a left NR arrow
            // at one frequency share a type).
            std::erase_if(points, [&](const TestPoint& old) {
                return old.test < number && old.point.x == t.point.x && old.point.type == t.point.type;
            });
            points.push_back(t);
        }
    }

    record.Points.clear();
    for (TestPoint& t : points) {
        t.point.recent = t.test == newest ? 1 : 0;
        // Old sound-field, single-response and vibrotactile symbols are not carried on.
        if (t.point.recent == 0 && t.point.type == 3)
            continue;
        record.Points.push_back(t.point);
    }
    if (tests.size() > 1)
        record.Info.Composite = true;
    return ran;
}
