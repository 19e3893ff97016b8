// An audiogram written with the save's parameters reads back unchanged, with its
// symbols in plotting order; the test-id procedures pick the tests the program expects.
#include "database/RegistryFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorin::test {
namespace {

enum class Kind { Int, Float, Text };

struct AudField {
    std::string parameter; // as the save binds it
    std::string column;    // as uspLoadAudiogram names it
    Kind kind;
};

// The write's parameters after @SubjectId, in binding order, with their columns.
std::vector<AudField> audFields()
{
    std::vector<AudField> f = {{"@TestDate", "TestDate", Kind::Text}, {"@TestedBy", "TestedBy", Kind::Text}};
    const auto ints = [&](std::initializer_list<const char*> names) {
        for (const char* n : names) {
            std::string column = n;
            if (column.size() == 4 && (column.rfind("Oae", 0) == 0 || column.rfind("Abr", 0) == 0))
                column = column.substr(0, 3) == "Oae" ? std::string("OAE") + n[3] : std::string("ABR") + n[3];
            f.push_back({std::string("@") + n, column, Kind::Int});
        }
    };
    const auto floats = [&](std::initializer_list<const char*> names) {
        for (const char* n : names)
            f.push_back({std::string("@") + n, n, Kind::Float});
    };
    ints({"Reliability", "Method", "Imported", "ImpressL", "ImpressR", "ImpressSF", "TinnitusL", "TinnitusR",
          "FullnessL", "FullnessR", "HearingAidsL", "HearingAidsR", "Dizziness", "NoiseExp", "HxHearingLoss", "Sped",
          "SpchLang", "OM", "OaeL", "OaeR", "AbrL", "AbrR", "TympL", "TympR"});
    floats({"PeakYL", "PeakYR", "PeakPressL", "PeakPressR"});
    ints({"ReflexL", "ReflexR"});
    floats({"ETFVolL", "ETFVolR", "ETFRelL", "ETFRelR"});
    for (const std::string ear : {"R", "L"}) {
        f.push_back({"@Srt" + ear, "SRT" + ear, Kind::Int});
        f.push_back({"@Sat" + ear, "SAT" + ear, Kind::Int});
        for (int i = 1; i <= 5; ++i)
            f.push_back({"@Lev" + std::to_string(i) + ear, "Lev" + std::to_string(i) + ear, Kind::Int});
        for (int i = 1; i <= 5; ++i)
            f.push_back({"@Pc" + std::to_string(i) + ear, "PC" + std::to_string(i) + ear, Kind::Int});
        f.push_back({"@Mat" + ear, "Mat" + ear, Kind::Text});
    }
    f.push_back({"@SrtSF", "SRTSF", Kind::Int});
    f.push_back({"@SatSF", "SATSF", Kind::Int});
    f.push_back({"@Comments", "Comments", Kind::Text});
    f.push_back({"@Recommend", "Recommend", Kind::Text});
    f.push_back({"@CochImpL", "CochImpL", Kind::Int});
    f.push_back({"@CochImpR", "CochImpR", Kind::Int});
    return f;
}

class AudiogramRoundTrip : public BareRegistryTest {
protected:
    struct Bound {
        std::string parameter, column;
        Kind kind;
        std::string text;
        int number = 0;
        float real = 0;
    };

    // Distinct values for every field so that a swapped column shows.
    std::vector<Bound> values()
    {
        std::vector<Bound> bound;
        int n = 0;
        for (const auto& f : audFields()) {
            Bound b{f.parameter, f.column, f.kind, "", 0, 0};
            ++n;
            if (b.column == "TestDate")
                b.text = "3/7/2009";
            else if (b.kind == Kind::Text)
                b.text = "text " + std::to_string(n);
            else if (b.kind == Kind::Float)
                b.real = b.column == "ETFRelR" ? -999.0f : n + 0.25f;
            else
                b.number = b.column == "Imported" ? 1 : n;
            bound.push_back(b);
        }
        return bound;
    }

    void write(const char* procedure, int subject, int testId, const std::vector<Bound>& bound)
    {
        if (testId > 0)
            m_db.BindIntParam("@id", testId);
        m_db.BindIntParam("@SubjectId", subject);
        for (const auto& b : bound) {
            if (b.kind == Kind::Text)
                m_db.BindStringParam(b.parameter, b.text);
            else if (b.kind == Kind::Float)
                m_db.BindFloatParam(b.parameter, b.real);
            else
                m_db.BindIntParam(b.parameter, b.number);
        }
        ASSERT_EQ(m_db.RunStoredProcedure(procedure), 1) << errorText();
        m_db.RemoveParams();
    }

    int testId(int subject)
    {
        m_db.BindIntParam("@SubjectId", subject);
        int id = -1;
        if (m_db.RunStoredProcedure("uspGetTestId") && !m_db.IsEOF())
            id = m_db.GetIntField("TestId");
        m_db.RemoveParams();
        return id;
    }

    std::vector<int> points(const char* procedure, int test)
    {
        m_db.BindIntParam("TestId", test);
        std::vector<int> xy;
        if (m_db.RunStoredProcedure(procedure))
            for (; !m_db.IsEOF(); m_db.MoveNext())
                xy.push_back(m_db.GetIntField("xy") * 10 + m_db.GetIntField("recent"));
        m_db.RemoveParams();
        return xy;
    }
};

TEST_F(AudiogramRoundTrip, ParameterAndColumnListsAgree)
{
    const auto bound = values();
    ASSERT_EQ(bound.size(), 68u); // 69 with @SubjectId, 70 with @id for the update
    EXPECT_EQ(bound[20].column, "OAEL");
    EXPECT_EQ(bound[36].parameter, "@SrtR");
    EXPECT_EQ(bound[36].column, "SRTR");
    EXPECT_EQ(bound[48].parameter, "@MatR");
    EXPECT_EQ(bound[60].column, "PC5L");
    EXPECT_EQ(bound[61].parameter, "@MatL");
    EXPECT_EQ(bound[67].parameter, "@CochImpR");
}

TEST_F(AudiogramRoundTrip, EveryFieldReadsBack)
{
    const auto bound = values();
    write("uspWriteNewAud", 7, -1, bound);
    const int id = testId(7);
    ASSERT_GT(id, 0);
    m_db.BindIntParam("@testid", id);
    ASSERT_EQ(m_db.RunStoredProcedure("uspLoadAudiogram"), 1);
    ASSERT_FALSE(m_db.IsEOF());
    for (const auto& b : bound) {
        if (b.kind == Kind::Text)
            EXPECT_EQ(m_db.GetStringField(b.column.c_str()), b.column == "TestDate" ? "03/07/2009" : b.text) << b.column;
        else if (b.kind == Kind::Float)
            EXPECT_FLOAT_EQ(m_db.GetFloatField(b.column.c_str()), b.real) << b.column;
        else
            EXPECT_EQ(m_db.GetIntField(b.column.c_str()), b.number) << b.column;
    }
    m_db.RemoveParams();
    EXPECT_TRUE(errors().empty()) << errorText();
}

TEST_F(AudiogramRoundTrip, UpdateRewritesTheTest)
{
    auto bound = values();
    write("uspWriteNewAud", 7, -1, bound);
    const int id = testId(7);
    bound[1].text = "retested";
    bound[0].text = "";
    write("uspUpdateAud", 7, id, bound);
    m_db.BindIntParam("@testid", id);
    ASSERT_EQ(m_db.RunStoredProcedure("uspLoadHistoryAudiogram"), 1);
    EXPECT_EQ(m_db.GetStringField("TestedBy"), "retested");
    EXPECT_EQ(m_db.GetStringField("TestDate"), "");
    m_db.RemoveParams();
    EXPECT_EQ(queryInt("select count(*) as num from aud"), 1);
}

TEST_F(AudiogramRoundTrip, TestIdIsTheLastStoredNotTheLatestDate)
{
    auto bound = values();
    write("uspWriteNewAud", 7, -1, bound);
    const int first = testId(7);
    bound[0].text = "1/2/1999"; // an older test entered afterwards
    write("uspWriteNewAud", 7, -1, bound);
    const int second = testId(7);
    EXPECT_GT(second, first);

    m_db.BindIntParam("@subjectid", 7);
    ASSERT_EQ(m_db.RunStoredProcedure("uspGetAudHistoryTestIds"), 1);
    std::vector<int> history;
    for (; !m_db.IsEOF(); m_db.MoveNext())
        history.push_back(m_db.GetIntField("TestId"));
    m_db.RemoveParams();
    EXPECT_EQ(history, std::vector<int>{first}); // the current test is not repeated
}

TEST_F(AudiogramRoundTrip, PointsKeepPlottingOrderAndHistoryShowsOnlyItsOwn)
{
    write("uspWriteNewAud", 7, -1, values());
    const int id = testId(7);
    const int rows[][5] = {{1, 514, 25, 1, 1}, {3, 102, -1, 0, 0}, {133, 1026, 10, 1, 4}};
    for (const auto& r : rows) {
        m_db.BindIntParam("@TestId", id);
        m_db.BindIntParam("@symbol", r[0]);
        m_db.BindIntParam("@xy", r[1]);
        m_db.BindIntParam("@mask", r[2]);
        m_db.BindIntParam("@recent", r[3]);
        m_db.BindIntParam("@type", r[4]);
        ASSERT_EQ(m_db.RunStoredProcedure("uspWriteAudPts"), 1) << errorText();
        m_db.RemoveParams();
    }
    EXPECT_EQ(points("uspLoadAudPts", id), (std::vector<int>{5141, 1020, 10261}));
    EXPECT_EQ(points("uspLoadAudHistoryPts", id), (std::vector<int>{5141, 10261}));

    m_db.BindIntParam("@TestId", id);
    ASSERT_EQ(m_db.RunStoredProcedure("uspDeleteAudPts"), 1);
    m_db.RemoveParams();
    EXPECT_TRUE(points("uspLoadAudPts", id).empty());
}

} // namespace
} // namespace quorin::test
