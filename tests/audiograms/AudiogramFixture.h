#pragma once
// What the audiogram tests share: a point made from its stored key, and a document test
// that stores subjects, registry tests and Audiogram Manager (clinic) tests.

#include "app/DocumentFixture.h"

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace quorin::test {

inline CAudPoint Point(int xy, int symbol, int recent, int mask = 0)
{
    CAudPoint p;
    p.xy = xy;
    p.SplitXy();
    p.symbol = symbol;
    p.type = CAudPoint::TypeOfSymbol(symbol);
    p.mask = mask;
    p.recent = recent;
    return p;
}

// One symbol as the chart sees it: frequency, level, record symbol, recent.
using Symbol = std::tuple<int, int, int, int>;
// One clinic symbol: frequency, level and the clinic's code.
using ClinicPoint = std::tuple<int, int, int>;

class AudiogramTest : public DocumentTest {
protected:
    // DistinctSubject (born 04/09/1987) stored under its own last name and unit; it stays open.
    int StoreSubject(const QString& last, const QString& unit)
    {
        doc->ClearDocument();
        doc->m_subject = DistinctSubject();
        doc->m_subject.Lastname = last;
        doc->m_subject.Unit = unit;
        EXPECT_EQ(doc->SaveSubject(), 1);
        return doc->m_subject.SubjectID;
    }

    // A registry test of the day (ISO), with one symbol of its own and one carried over.
    void AddRegistryTest(int subjectId, const std::string& day, const std::string& testedBy, bool points = true)
    {
        registry.ExecRaw("Quorin", "insert into aud (SubjectId, TestDate, TestedBy) values (" + std::to_string(subjectId)
                                       + ", '" + day + " 00:00:00.000', '" + testedBy + "');"
                                       + (points ? "insert into audpoints (TestId, symbol, xy, recent, type) select "
                                                   "max(TestId), 1, 514, 1, 1 from aud;insert into audpoints (TestId, "
                                                   "symbol, xy, recent, type) select max(TestId), 3, 210, 0, 0 from aud;"
                                                 : ""));
    }

    // A clinic test of O'Brien, Kate with its information and speech rows (its SRT is
    // index * 5) and one newpoints row per point; when is an ISO day or day and time.
    void AddClinicTest(int index, int unit, std::string when, const std::string& testedBy,
                       const std::vector<ClinicPoint>& points = {}, const std::string& birth = "1987-04-09",
                       bool withOther = true)
    {
        const std::string i = std::to_string(index);
        if (when.size() == 10)
            when += " 00:00:00.000";
        std::string sql = "insert into info (PatientIndex, PatientNum, Date, Birthdate, LastName, FirstName, Testedby, "
                          "Velmar) values (" + i + ", " + std::to_string(unit) + ", '" + when + "', '" + birth
                          + " 00:00:00.000', 'O''Brien', 'Kate', '" + testedBy + "', 'before');"
                          "insert into Speech (Patientindex, srta) values (" + i + ", " + std::to_string(index * 5) + ");";
        if (withOther)
            sql += "insert into Other (PatientIndex, Method, Reliability, Comment) values (" + i + ", 2, 1, 'test " + i + "');";
        for (const auto& [x, y, code] : points)
            sql += "insert into newpoints values (" + i + ", " + std::to_string(x) + ", " + std::to_string(y) + ", "
                   + std::to_string(code) + ", 0);";
        registry.ExecRaw("Aud", sql);
    }

    std::vector<Symbol> Symbols() const // the shown test's, sorted
    {
        std::vector<Symbol> s;
        for (const CAudPoint& p : doc->m_audCurrent.Points)
            s.emplace_back(p.x, p.y, p.symbol, p.recent);
        std::sort(s.begin(), s.end());
        return s;
    }
};

} // namespace quorin::test
