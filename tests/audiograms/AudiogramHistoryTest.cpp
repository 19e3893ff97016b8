// The current test written and read back, and the subject's history paged, through the
// real procedures and the Audiogram Manager stand-in.

#include "AudiogramFixture.h"
#include "audiograms/store/AudTestEdit.h"
#include "support/RawRegistry.h"

using quorin::UserInterface;
using quorin::test::AudiogramTest;
using quorin::test::DistinctSubject;
using quorin::test::DocumentTest;
using quorin::test::Point;
using quorin::test::RawRegistry;

namespace {

// Every field of a record as text, the symbols last; with fill, each field first takes a
// value of its own, so that a swapped parameter shows.
QStringList Fields(CAudRecord& r, bool fill = false)
{
    CAudImmittance& i = r.Immittance;
    CAudFindings& f = r.Findings;
    CAudSpeech& s = r.Speech;
    QStringList values;
    int n = 1;
    for (int* field : {&r.Info.Reliability, &r.Info.Method, &i.ReflexL, &i.ReflexR, &i.TympL, &i.TympR, &f.ImpressL,
                       &f.ImpressR, &f.ImpressSF, &f.TinnitusL, &f.TinnitusR, &f.FullnessL, &f.FullnessR, &f.HearingAidsL,
                       &f.HearingAidsR, &f.CochImpL, &f.CochImpR, &f.Dizziness, &f.NoiseExp, &f.HxHearingLoss, &f.Sped,
                       &f.SpchLang, &f.OM, &f.OAEL, &f.OAER, &f.ABRL, &f.ABRR, &s.SRTR, &s.SATR, &s.Lev1R, &s.Lev2R,
                       &s.Lev3R, &s.Lev4R, &s.Lev5R, &s.PC1R, &s.PC2R, &s.PC3R, &s.PC4R, &s.PC5R, &s.SRTL, &s.SATL,
                       &s.Lev1L, &s.Lev2L, &s.Lev3L, &s.Lev4L, &s.Lev5L, &s.PC1L, &s.PC2L, &s.PC3L, &s.PC4L, &s.PC5L,
                       &s.SRTSF, &s.SATSF})
        values << QString::number(fill ? (*field = n++) : *field);
    for (float* field : {&i.PeakPressL, &i.PeakYL, &i.PeakPressR, &i.PeakYR, &i.ETFRelL, &i.ETFRelR, &i.ETFVolL, &i.ETFVolR})
        values << QString::number(fill ? (*field = float(n++) + 0.5f) : *field);
    const char* texts[] = {"05/06/2026", "tester", "comment text", "recheck in a year", "NU-6", "W-22"};
    int k = 0;
    for (QString* field : {&r.Info.TestDate, &r.Info.TestedBy, &r.Info.Comments, &r.Info.Recommend, &s.MatR, &s.MatL})
        values << (fill ? (*field = QString::fromLatin1(texts[k++])) : *field);
    for (const CAudPoint& p : r.Points)
        values << QStringLiteral("%1 %2 %3 %4 %5 %6 %7").arg(p.xy).arg(p.x).arg(p.y).arg(p.symbol).arg(p.mask).arg(p.type).arg(p.recent);
    return values;
}

CAudRecord DistinctAudiogram()
{
    CAudRecord r;
    r.ResetAudRecord(true);
    r.Dirty = 1;
    r.Info.Imported = true;
    Fields(r, true);
    int mask = 70;
    for (const auto& [xy, symbol, recent] : {std::tuple{514, 1, 1}, std::tuple{210, 3, 1}, std::tuple{1026, 5 + 128, 1},
                                             std::tuple{0, 6, 0}, std::tuple{305, 12, 1}})
        r.Points.push_back(Point(xy, symbol, recent, mask++));
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

class AudiogramHistory : public AudiogramTest {
protected:
    // Loads the subject again as a user would, so the current test is the stored one.
    void Load(int subjectId)
    {
        ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
        ui.ClearMessages();
        TakeErrors();
    }
    // A subject of unit 4711 with an old registry test and the current one, loaded.
    int LoadSubjectWithOldTest()
    {
        const int id = StoreSubject("Lee", "4711");
        AddRegistryTest(id, "2020-02-02", "reg old");
        AddRegistryTest(id, "2026-06-01", "current");
        Load(id);
        return id;
    }

    QString Shown() const { return doc->m_audCurrent.Info.TestedBy; }
};

} // namespace

TEST_F(AudiogramHistory, ClinicAndRegistryTestsMergeNewestFirstAndPageBothWays)
{
    const int id = StoreSubject("Lee", "4711");
    AddRegistryTest(id, "2021-03-01", "reg 2021");
    AddRegistryTest(id, "2023-05-05", "reg 2023");
    AddRegistryTest(id, "2019-07-07", "reg 2019 a");
    AddRegistryTest(id, "2019-07-07", "reg 2019 b"); // two registry tests of one day both stay
    AddRegistryTest(id, "2026-06-01", "current");    // the newest stored test is the current one
    AddClinicTest(1, 4711, "2022-01-01", "clinic 2022", {{4, 10, 3}});
    AddClinicTest(2, 4711, "2023-05-05", "clinic twin of reg 2023");
    AddClinicTest(3, 4711, "2026-06-01", "clinic twin of current");
    AddClinicTest(4, 4711, "2018-02-02", "clinic 2018", {{4, 10, 3}});
    AddClinicTest(5, 999, "2024-04-04", "another patient");
    Load(id);
    ASSERT_EQ(Shown(), "current");
    EXPECT_TRUE(doc->IsPagePrevEnabled());
    EXPECT_FALSE(doc->IsPageNextEnabled());

    doc->OnPagePrev();
    EXPECT_TRUE(ui.Messages().empty());
    ASSERT_EQ(doc->m_nHistoryCount, 6);

    // Newest first from position 6 down to 1, each shown with only its own symbols;
    // of one day, the later stored test comes first.
    const char* order[] = {"reg 2023", "clinic 2022", "reg 2021", "reg 2019 b", "reg 2019 a", "clinic 2018"};
    for (int pos = 6; pos >= 1; --pos) {
        if (pos != 6)
            doc->OnPagePrev();
        SCOPED_TRACE(pos);
        EXPECT_EQ(std::tuple(doc->m_nHistoryPos, doc->m_nPageDir, doc->m_audCurrent.Latest), std::tuple(pos, 1, 0));
        EXPECT_EQ(Shown(), order[6 - pos]);
        EXPECT_EQ(doc->IsPagePrevEnabled(), pos != 1);
        EXPECT_TRUE(doc->IsPageNextEnabled());
        EXPECT_EQ(view.hints.back(), CDocumentView::HintShowAudiogram);
    }
    // The oldest, a clinic test, shows "IMPORTED RECORD".
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Points.size(), doc->m_audCurrent.Info.Imported, doc->m_audCurrent.Info.Method),
              std::tuple(size_t(1), true, 0));

    doc->OnPagePrev(); // at the oldest test: nothing more
    EXPECT_EQ(doc->m_nHistoryPos, 1);

    for (int pos = 2; pos <= 7; ++pos) {
        doc->OnPageNext();
        EXPECT_EQ(std::tuple(doc->m_nHistoryPos, doc->m_nPageDir, doc->IsPageNextEnabled()), std::tuple(pos, 2, pos != 7));
        EXPECT_EQ(Shown(), pos < 7 ? order[6 - pos] : "current");
    }
    EXPECT_EQ(doc->m_audCurrent.Latest, 1);

    EXPECT_EQ(ui.WaitCursorShown(), 1) << "the history is read once";
}

// No unit asks nothing of the clinic; a unit that is no whole number is said so and never
// sent. Either way the registry's own tests are paged.
TEST_F(AudiogramHistory, AUnitThatIsNoneOrNoWholeNumberIsNeverSent)
{
    AddClinicTest(1, 0, "2021-01-01", "clinic 0");
    AddClinicTest(2, 12, "2021-01-01", "clinic 12");
    const int id = LoadSubjectWithOldTest();
    for (const char* unit : {"0", "12a"}) {
        SCOPED_TRACE(unit);
        Load(id);
        doc->m_subject.Unit = unit; // as typed on the Subject tab
        const bool none = QLatin1String(unit) == QLatin1String("0");
        // Were the clinic asked for no unit, the wrong password would show its box.
        if (none) {
            doc->m_dbAud = MyADO(); // closed: the load read the clinic for the stored unit
            doc->m_strPassword = "not-the-password";
        }
        doc->OnPagePrev();
        if (none) {
            EXPECT_TRUE(ui.Messages().empty());
            EXPECT_FALSE(doc->m_dbAud.IsConnected());
        } else {
            ASSERT_EQ(ui.Texts(), QStringList{"KV Number must be a whole number."});
            EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        }
        EXPECT_TRUE(TakeErrors().empty()); // no provider box
        EXPECT_EQ(doc->m_nHistoryCount, 1);
        EXPECT_EQ(Shown(), "reg old");
        doc->m_strPassword = QString::fromLatin1(quorin::test::kTestPassword);
        ui.ClearMessages();
    }
}

// Paging shows an old test in place of the working one; the work is still unsaved, for
// every question that asks, and saving stores the working test.
TEST_F(AudiogramHistory, AWorkingTestKeptAsideByPagingIsStillUnsavedWork)
{
    const int id = StoreSubject("Lee", "4711");
    AddRegistryTest(id, "2020-02-02", "reg old");
    AddRegistryTest(id, "2024-06-01", "reg newer");
    AddRegistryTest(id, "2026-06-01", "current");
    Load(id);
    EXPECT_FALSE(doc->IsModified());
    const int stored = Count("Quorin", "select count(*) as num from aud");
    doc->m_audCurrent.StartNewAudiogram();
    doc->m_audCurrent.Info.TestedBy = "new test";
    doc->m_subject.AudiogramClean = 0;

    doc->OnPagePrev();
    doc->OnPagePrev();
    doc->OnPageNext();
    ASSERT_EQ(Shown(), "reg newer");
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0) << "the old test shown is not the work";
    EXPECT_TRUE(doc->IsModified());

    ui.AnswerNext(UserInterface::Answer::Cancel);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
    EXPECT_EQ(ui.Messages()[0].buttons, UserInterface::Buttons::YesNoCancel);
    EXPECT_EQ(Shown(), "reg newer") << "Cancel changes nothing";
    EXPECT_EQ(doc->m_audLatest.Info.TestedBy, "new test");

    ui.AnswerNext(UserInterface::Answer::Yes);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud where TestedBy = 'new test'"), 1);
    EXPECT_EQ(Count("Quorin", "select count(*) as num from aud"), stored + 1);
    EXPECT_EQ(doc->m_subject.SubjectID, -1) << "cleared after the save";
    EXPECT_FALSE(doc->IsModified());
}

// What the Data and Comments tabs type marks the shown test, unless it is a paged one.
TEST_F(AudiogramHistory, APagedTestIsOnlyLookedAtAndNeverMarkedAsEdited)
{
    LoadSubjectWithOldTest();
    doc->OnPagePrev();
    ASSERT_EQ(Shown(), "reg old");
    EXPECT_FALSE(quorin::MarkShownTestEdited(*doc));
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Dirty, doc->m_subject.AudiogramClean), std::tuple(0, 1));
    doc->OnPageHome();
    EXPECT_TRUE(quorin::MarkShownTestEdited(*doc));
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Dirty, doc->m_subject.AudiogramClean), std::tuple(1, 0));
}

TEST_F(AudiogramHistory, AnUnsavedSubjectCannotPage)
{
    doc->m_subject = DistinctSubject();
    for (auto move : {&CQuorinDoc::OnPagePrev, &CQuorinDoc::OnPageNext}) {
        (doc.get()->*move)();
        EXPECT_EQ(ui.Texts(), QStringList{"Please Save New Patients before paging through their audiograms!"});
        EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
        ui.ClearMessages();
    }
    EXPECT_EQ(doc->m_bHistoryLoaded, 0);
}

TEST_F(AudiogramStorage, AnAudiogramWithEveryFieldAndSeveralSymbolsLoadsBackEqual)
{
    CAudRecord typed = DistinctAudiogram();
    const int id = SaveWithAudiogram(typed);
    EXPECT_EQ(doc->m_audCurrent.Dirty, 0);

    ASSERT_NE(doc->LoadSubjectById(id), 0);
    CAudRecord& loaded = doc->m_audCurrent;
    EXPECT_EQ(Fields(loaded), Fields(typed));
    EXPECT_EQ(std::tuple(loaded.Info.Imported, loaded.LoadAttempted), std::tuple(true, 1));
    // The saved copy shows only the test's own symbols.
    EXPECT_EQ(doc->m_audLatest.Points.size(), 4u);

    // The history read leaves out the implant check boxes and the carried-over symbols.
    CAudRecord history;
    history.ResetAudRecord(true);
    ASSERT_NE(doc->LoadHistoryAudiogram(loaded.TestId, history), 0);
    EXPECT_EQ(std::tuple(history.Info.TestDate, history.Findings.CochImpL, history.Points.size()),
              std::tuple(typed.Info.TestDate, 0, size_t(4)));
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
    EXPECT_EQ(std::tuple(doc->m_audCurrent.Dirty, doc->m_subject.Modified, doc->m_audCurrent.Points.size()),
              std::tuple(1, 1, size_t(6)));
}

// A redrawn chart's save writes only the symbols that changed, so the change history
// shows just those: one symbol's mask changed in place, one removed, one added at the end.
TEST_F(AudiogramStorage, ARedrawnChartWritesOnlyTheSymbolsThatChanged)
{
    const int id = SaveWithAudiogram(DistinctAudiogram());
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    const std::vector<CAudPoint> before = doc->m_audCurrent.Points;
    ASSERT_GE(before.size(), 3u);
    const RawRegistry log(registry.Folder());
    const std::int64_t logged = log.number("select max(ChangeId) from changelog");
    auto& points = doc->m_audCurrent.Points;
    points[0].mask = points[0].mask == 1 ? 0 : 1;
    points.erase(points.begin() + 1);
    points.push_back(Point(707, 2, 1));
    doc->m_audCurrent.Dirty = 1;
    doc->m_subject.AudiogramClean = 0;
    doc->m_subject.Modified = 1;
    ASSERT_EQ(doc->SaveSubject(), 1);

    const std::string since = " and ChangeId > " + std::to_string(logged);
    EXPECT_EQ(log.dump("select ChangeKind, ColumnName, OldValue, NewValue from changelog where TableName = "
                       "'audpoints' and ChangeKind <> 'delete'" + since + " order by ChangeId"),
              "update|mask|" + std::to_string(before[0].mask) + "|" + std::to_string(points[0].mask)
                  + "|\ninsert|<null>|<null>|<null>|\n");
    EXPECT_EQ(log.number("select count(distinct RowKey) from changelog where ChangeKind = 'delete'" + since), 1);
    // What is stored reads back in the record's order.
    ASSERT_NE(doc->LoadSubjectById(id), 0);
    ASSERT_EQ(doc->m_audCurrent.Points.size(), points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_EQ(std::tuple(doc->m_audCurrent.Points[i].xy, doc->m_audCurrent.Points[i].mask),
                  std::tuple(points[i].xy, points[i].mask));
}
