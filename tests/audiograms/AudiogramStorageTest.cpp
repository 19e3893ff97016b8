// The current test through the real procedures: written with the subject, read back
// field by field, its points replaced whole or not at all.

#include "AudiogramFixture.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::Point;

namespace {

// Every field of a record by kind, so that a test fills and compares them all.
std::vector<int*> Ints(CAudRecord& r)
{
    CAudImmittance& i = r.Immittance;
    CAudFindings& f = r.Findings;
    CAudSpeech& s = r.Speech;
    return {&r.Info.Reliability, &r.Info.Method, &i.ReflexL, &i.ReflexR, &i.TympL, &i.TympR, &f.ImpressL,
            &f.ImpressR, &f.ImpressSF, &f.TinnitusL, &f.TinnitusR, &f.FullnessL, &f.FullnessR, &f.HearingAidsL,
            &f.HearingAidsR, &f.CochImpL, &f.CochImpR, &f.Dizziness, &f.NoiseExp, &f.HxHearingLoss, &f.Sped,
            &f.SpchLang, &f.OM, &f.OAEL, &f.OAER, &f.ABRL, &f.ABRR, &s.SRTR, &s.SATR, &s.Lev1R, &s.Lev2R,
            &s.Lev3R, &s.Lev4R, &s.Lev5R, &s.PC1R, &s.PC2R, &s.PC3R, &s.PC4R, &s.PC5R, &s.SRTL, &s.SATL,
            &s.Lev1L, &s.Lev2L, &s.Lev3L, &s.Lev4L, &s.Lev5L, &s.PC1L, &s.PC2L, &s.PC3L, &s.PC4L, &s.PC5L,
            &s.SRTSF, &s.SATSF};
}
std::vector<float*> Reals(CAudRecord& r)
{
    CAudImmittance& i = r.Immittance;
    return {&i.PeakPressL, &i.PeakYL, &i.PeakPressR, &i.PeakYR, &i.ETFRelL, &i.ETFRelR, &i.ETFVolL, &i.ETFVolR};
}
std::vector<QString*> Texts(CAudRecord& r)
{
    return {&r.Info.TestDate, &r.Info.TestedBy, &r.Info.Comments, &r.Info.Recommend, &r.Speech.MatR, &r.Speech.MatL};
}
template <typename T>
std::vector<T> Values(const std::vector<T*>& fields)
{
    std::vector<T> values;
    for (T* f : fields)
        values.push_back(*f);
    return values;
}
std::vector<std::tuple<int, int, int, int, int, int, int>> Points(const CAudRecord& r)
{
    std::vector<std::tuple<int, int, int, int, int, int, int>> points;
    for (const CAudPoint& p : r.Points)
        points.emplace_back(p.xy, p.x, p.y, p.symbol, p.mask, p.type, p.recent);
    return points;
}

// Every field its own value, so a swapped parameter shows.
CAudRecord DistinctAudiogram()
{
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Dirty = 1;
    r.Info.Imported = true;
    int n = 1;
    for (int* field : Ints(r))
        *field = n++;
    for (float* field : Reals(r))
        *field = float(n++) + 0.5f;
    const char* texts[] = {"05/06/2026", "tester", "comment text", "recheck in a year", "NU-6", "W-22"};
    const std::vector<QString*> fields = Texts(r);
    for (size_t k = 0; k < fields.size(); ++k)
        *fields[k] = QString::fromLatin1(texts[k]);
    for (const auto& [xy, symbol, recent] : {std::tuple{514, 1, 1}, std::tuple{210, 3, 1}, std::tuple{1026, 5 + 128, 1},
                                             std::tuple{0, 6, 0}, std::tuple{305, 12, 1}})
        r.Points.push_back(Point(xy, symbol, recent, n++));
    return r;
}

class AudiogramStorage : public DocumentTest {
protected:
    // A stored subject whose typed audiogram is saved with it.
    int SaveWithAudiogram(const CAudRecord& audiogram)
    {
        doc->m_subject = DistinctSubject();
        doc->m_audCurrent = audiogram;
        doc->m_subject.AudiogramClean = 0;
        EXPECT_EQ(doc->SaveSubject(), 1);
        return doc->m_subject.SubjectID;
    }
};

} // namespace

TEST_F(AudiogramStorage, AnAudiogramWithEveryFieldAndSeveralSymbolsLoadsBackEqual)
{
    CAudRecord typed = DistinctAudiogram();
    const int id = SaveWithAudiogram(typed);
    EXPECT_GT(doc->m_audCurrent.TestId, 0);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);

    ASSERT_NE(doc->LoadSubjectById(id), 0);
    CAudRecord& loaded = doc->m_audCurrent;
    EXPECT_EQ(Values(Ints(loaded)), Values(Ints(typed)));
    EXPECT_EQ(Values(Reals(loaded)), Values(Reals(typed)));
    EXPECT_EQ(Values(Texts(loaded)), Values(Texts(typed)));
    EXPECT_TRUE(loaded.Info.Imported);
    EXPECT_EQ(Points(loaded), Points(typed));
    EXPECT_EQ(loaded.LoadAttempted, 1);
    // The saved copy shows only the test's own symbols.
    EXPECT_EQ(doc->m_audLatest.Points.size(), 4u);

    // The history read leaves out the implant check boxes and the carried-over symbols.
    CAudRecord history;
    history.ResetAudRecord(true);
    ASSERT_NE(doc->LoadHistoryAudiogram(loaded.TestId, history), 0);
    EXPECT_EQ(history.Info.TestDate, typed.Info.TestDate);
    EXPECT_EQ(history.Findings.CochImpL, 0);
    EXPECT_EQ(history.Findings.TinnitusR, typed.Findings.TinnitusR);
    EXPECT_EQ(history.Points.size(), 4u);
}

TEST_F(AudiogramStorage, ATestSavedWithoutADateIsStoredWith1901)
{
    CAudRecord a = DistinctAudiogram();
    a.Info.TestDate = "";
    ASSERT_NE(doc->LoadSubjectById(SaveWithAudiogram(a)), 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "01/01/1901");
}

TEST_F(AudiogramStorage, AFailedPointWriteLeavesTheStoredPointsAsTheyWere)
{
    const int id = SaveWithAudiogram(DistinctAudiogram());
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    registry.ExecRaw("Quorin", "create trigger refuse_point before insert on audpoints when new.xy = 999 "
                               "begin select raise(abort, 'refused'); end");
    doc->m_audCurrent.Dirty = 1;
    doc->m_subject.AudiogramClean = 0;
    doc->m_subject.Modified = 1;
    doc->m_audCurrent.Points.insert(doc->m_audCurrent.Points.begin() + 1, Point(999, 1, 1));

    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(Count("Quorin", "select count(*) as num from audpoints"), 5);
    // Nothing typed is lost: the flags stay set for the next save.
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 6u);
}
