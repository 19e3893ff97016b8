// The current test through the real procedures: written with the subject, read back
// field by field, its points replaced whole or not at all.

#include "app/DocumentFixture.h"

using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;

namespace {

// Every field its own value, so a swapped parameter shows.
CAudRecord DistinctAudiogram()
{
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Dirty = 1;
    int n = 1;
    auto next = [&n] { return n++; };
    r.Info.TestDate = "05/06/2026";
    r.Info.TestedBy = "tester";
    r.Info.Comments = "comment text";
    r.Info.Recommend = "recheck in a year";
    r.Info.Reliability = next();
    r.Info.Method = next();
    r.Info.Imported = true;
    CAudImmittance& im = r.Immittance;
    for (float* f : {&im.PeakPressL, &im.PeakYL, &im.PeakPressR, &im.PeakYR, &im.ETFRelL, &im.ETFRelR,
                     &im.ETFVolL, &im.ETFVolR})
        *f = next() + 0.5f;
    for (int* i : {&im.ReflexL, &im.ReflexR, &im.TympL, &im.TympR})
        *i = next();
    CAudFindings& f = r.Findings;
    for (int* i : {&f.ImpressL, &f.ImpressR, &f.ImpressSF, &f.TinnitusL, &f.TinnitusR, &f.FullnessL,
                   &f.FullnessR, &f.HearingAidsL, &f.HearingAidsR, &f.CochImpL, &f.CochImpR, &f.Dizziness,
                   &f.NoiseExp, &f.HxHearingLoss, &f.Sped, &f.SpchLang, &f.OM, &f.OAEL, &f.OAER, &f.ABRL,
                   &f.ABRR})
        *i = next();
    CAudSpeech& s = r.Speech;
    for (int* i : {&s.SRTR, &s.SATR, &s.Lev1R, &s.Lev2R, &s.Lev3R, &s.Lev4R, &s.Lev5R, &s.PC1R, &s.PC2R,
                   &s.PC3R, &s.PC4R, &s.PC5R, &s.SRTL, &s.SATL, &s.Lev1L, &s.Lev2L, &s.Lev3L, &s.Lev4L,
                   &s.Lev5L, &s.PC1L, &s.PC2L, &s.PC3L, &s.PC4L, &s.PC5L, &s.SRTSF, &s.SATSF})
        *i = next();
    s.MatR = "NU-6";
    s.MatL = "W-22";
    const int points[][3] = {{514, 1, 1}, {210, 3, 1}, {1026, 5 + 128, 1}, {0, 6, 0}, {305, 12, 1}};
    for (const auto& p : points) {
        CAudPoint pt;
        pt.xy = p[0];
        pt.SplitXy();
        pt.symbol = p[1];
        pt.type = CAudPoint::TypeOfSymbol(p[1]);
        pt.mask = next();
        pt.recent = p[2];
        r.Points.push_back(pt);
    }
    return r;
}

void ExpectSameAudiogram(const CAudRecord& a, const CAudRecord& b)
{
    EXPECT_EQ(a.Info.TestDate, b.Info.TestDate);
    EXPECT_EQ(a.Info.TestedBy, b.Info.TestedBy);
    EXPECT_EQ(a.Info.Comments, b.Info.Comments);
    EXPECT_EQ(a.Info.Recommend, b.Info.Recommend);
    EXPECT_EQ(a.Info.Reliability, b.Info.Reliability);
    EXPECT_EQ(a.Info.Method, b.Info.Method);
    EXPECT_EQ(a.Info.Imported, b.Info.Imported);
    const CAudImmittance &x = a.Immittance, &y = b.Immittance;
    EXPECT_FLOAT_EQ(x.PeakPressL, y.PeakPressL);
    EXPECT_FLOAT_EQ(x.PeakYL, y.PeakYL);
    EXPECT_FLOAT_EQ(x.PeakPressR, y.PeakPressR);
    EXPECT_FLOAT_EQ(x.PeakYR, y.PeakYR);
    EXPECT_FLOAT_EQ(x.ETFRelL, y.ETFRelL);
    EXPECT_FLOAT_EQ(x.ETFRelR, y.ETFRelR);
    EXPECT_FLOAT_EQ(x.ETFVolL, y.ETFVolL);
    EXPECT_FLOAT_EQ(x.ETFVolR, y.ETFVolR);
    EXPECT_EQ(x.ReflexL, y.ReflexL);
    EXPECT_EQ(x.ReflexR, y.ReflexR);
    EXPECT_EQ(x.TympL, y.TympL);
    EXPECT_EQ(x.TympR, y.TympR);
    const CAudFindings &f = a.Findings, &g = b.Findings;
    const int fa[] = {f.ImpressL, f.ImpressR, f.ImpressSF, f.TinnitusL, f.TinnitusR, f.FullnessL,
                      f.FullnessR, f.HearingAidsL, f.HearingAidsR, f.CochImpL, f.CochImpR, f.Dizziness,
                      f.NoiseExp, f.HxHearingLoss, f.Sped, f.SpchLang, f.OM, f.OAEL, f.OAER, f.ABRL, f.ABRR};
    const int ga[] = {g.ImpressL, g.ImpressR, g.ImpressSF, g.TinnitusL, g.TinnitusR, g.FullnessL,
                      g.FullnessR, g.HearingAidsL, g.HearingAidsR, g.CochImpL, g.CochImpR, g.Dizziness,
                      g.NoiseExp, g.HxHearingLoss, g.Sped, g.SpchLang, g.OM, g.OAEL, g.OAER, g.ABRL, g.ABRR};
    for (size_t i = 0; i < std::size(fa); ++i)
        EXPECT_EQ(fa[i], ga[i]) << "finding " << i;
    const CAudSpeech &s = a.Speech, &t = b.Speech;
    const int sa[] = {s.SRTR, s.SATR, s.Lev1R, s.Lev2R, s.Lev3R, s.Lev4R, s.Lev5R, s.PC1R, s.PC2R,
                      s.PC3R, s.PC4R, s.PC5R, s.SRTL, s.SATL, s.Lev1L, s.Lev2L, s.Lev3L, s.Lev4L,
                      s.Lev5L, s.PC1L, s.PC2L, s.PC3L, s.PC4L, s.PC5L, s.SRTSF, s.SATSF};
    const int ta[] = {t.SRTR, t.SATR, t.Lev1R, t.Lev2R, t.Lev3R, t.Lev4R, t.Lev5R, t.PC1R, t.PC2R,
                      t.PC3R, t.PC4R, t.PC5R, t.SRTL, t.SATL, t.Lev1L, t.Lev2L, t.Lev3L, t.Lev4L,
                      t.Lev5L, t.PC1L, t.PC2L, t.PC3L, t.PC4L, t.PC5L, t.SRTSF, t.SATSF};
    for (size_t i = 0; i < std::size(sa); ++i)
        EXPECT_EQ(sa[i], ta[i]) << "speech " << i;
    EXPECT_EQ(s.MatR, t.MatR);
    EXPECT_EQ(s.MatL, t.MatL);
    ASSERT_EQ(a.Points.size(), b.Points.size());
    for (size_t i = 0; i < a.Points.size(); ++i) {
        const CAudPoint &p = a.Points[i], &q = b.Points[i];
        EXPECT_EQ(p.xy, q.xy) << i;
        EXPECT_EQ(p.x, q.x) << i;
        EXPECT_EQ(p.y, q.y) << i;
        EXPECT_EQ(p.symbol, q.symbol) << i;
        EXPECT_EQ(p.mask, q.mask) << i;
        EXPECT_EQ(p.type, q.type) << i;
        EXPECT_EQ(p.recent, q.recent) << i;
    }
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
    const CAudRecord typed = DistinctAudiogram();
    const int id = SaveWithAudiogram(typed);
    EXPECT_GT(doc->m_audCurrent.TestId, 0);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);

    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ExpectSameAudiogram(typed, doc->m_audCurrent);
    EXPECT_EQ(doc->m_audCurrent.LoadAttempted, 1);
    // The saved copy shows only the test's own symbols.
    EXPECT_EQ(doc->m_audLatest.Points.size(), 4u);

    // The history read leaves out the implant check boxes.
    CAudRecord history;
    history.ResetAudRecord(true);
    ASSERT_NE(doc->LoadHistoryAudiogram(doc->m_audCurrent.TestId, history), 0);
    EXPECT_EQ(history.Info.TestDate, typed.Info.TestDate);
    EXPECT_EQ(history.Findings.CochImpL, 0);
    EXPECT_EQ(history.Findings.TinnitusR, typed.Findings.TinnitusR);
    EXPECT_EQ(history.Points.size(), 4u); // a history test shows only its own symbols
}

TEST_F(AudiogramStorage, AnUpdatedAudiogramReplacesItsPoints)
{
    const int id = SaveWithAudiogram(DistinctAudiogram());
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    const int testId = doc->m_audCurrent.TestId;
    doc->m_audCurrent.Dirty = 1;
    doc->m_subject.AudiogramClean = 0;
    doc->m_audCurrent.Info.TestedBy = "second tester";
    doc->m_audCurrent.Points.resize(2);
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(doc->m_audCurrent.TestId, testId);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestedBy, "second tester");
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 2u);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), 1);
}

TEST_F(AudiogramStorage, ASubjectWithoutATestLoadsCleanAndSavesNoAudiogram)
{
    doc->m_subject = DistinctSubject();
    ASSERT_EQ(doc->SaveSubject(), 1);
    const int id = doc->m_subject.SubjectID;
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_subject.AudiogramClean, 1);
    EXPECT_EQ(doc->m_audCurrent.TestId, -1);
    EXPECT_TRUE(doc->m_audCurrent.Points.empty());
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), 0);
}

TEST_F(AudiogramStorage, ATestSavedWithoutADateIsStoredWith1901)
{
    CAudRecord a = DistinctAudiogram();
    a.Info.TestDate = "";
    const int id = SaveWithAudiogram(a);
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    EXPECT_EQ(doc->m_audCurrent.Info.TestDate, "01/01/1901");
}

TEST_F(AudiogramStorage, SavingWhileAHistoryTestIsShownSavesTheCurrentTest)
{
    const int id = SaveWithAudiogram(DistinctAudiogram());
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    CAudRecord old = doc->m_audCurrent;
    old.Latest = 0;
    old.Info.TestedBy = "shown history test";
    doc->m_audCurrent = old;
    doc->m_subject.Modified = 1;
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(doc->m_audCurrent.Latest, 1);
    EXPECT_EQ(Scalar("Quorin", "select testedby from aud", "testedby"), "tester");
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
    CAudPoint bad;
    bad.xy = 999;
    bad.SplitXy();
    bad.symbol = 1;
    bad.recent = 1;
    doc->m_audCurrent.Points.insert(doc->m_audCurrent.Points.begin() + 1, bad);

    EXPECT_EQ(doc->SaveSubject(), 0);
    EXPECT_FALSE(TakeErrors().empty());
    EXPECT_EQ(Count("Quorin", "select count(*) as num from audpoints"), 5);
    // Nothing typed is lost: the flags stay set for the next save.
    EXPECT_EQ(doc->m_audCurrent.Dirty, 1);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    EXPECT_EQ(doc->m_audCurrent.Points.size(), 6u);
}
