// Writing the current audiogram and bringing its stored points to the record's.

#include "document/CQuorinDoc.h"
#include "rules/DateText.h"
#include "document/SessionValues.h"
#include "document/SessionTransaction.h"
#include "audiograms/record/AudFieldRef.h"
#include "document/RowSetChanges.h"

#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The write procedures' parameters after @TestDate and @TestedBy, in their declared
// order; @Imported (0/1 of a bool) is bound between the two tables.
const std::array kBeforeImported{
    AUD_INT("@Reliability", Info.Reliability),
    AUD_INT("@Method", Info.Method),
};

const std::array kAfterImported{
    AUD_INT("@ImpressL", Findings.ImpressL),
    AUD_INT("@ImpressR", Findings.ImpressR),
    AUD_INT("@ImpressSF", Findings.ImpressSF),
    AUD_INT("@TinnitusL", Findings.TinnitusL),
    AUD_INT("@TinnitusR", Findings.TinnitusR),
    AUD_INT("@FullnessL", Findings.FullnessL),
    AUD_INT("@FullnessR", Findings.FullnessR),
    AUD_INT("@HearingAidsL", Findings.HearingAidsL),
    AUD_INT("@HearingAidsR", Findings.HearingAidsR),
    AUD_INT("@Dizziness", Findings.Dizziness),
    AUD_INT("@NoiseExp", Findings.NoiseExp),
    AUD_INT("@HxHearingLoss", Findings.HxHearingLoss),
    AUD_INT("@Sped", Findings.Sped),
    AUD_INT("@SpchLang", Findings.SpchLang),
    AUD_INT("@OM", Findings.OM),
    AUD_INT("@OaeL", Findings.OAEL),
    AUD_INT("@OaeR", Findings.OAER),
    AUD_INT("@AbrL", Findings.ABRL),
    AUD_INT("@AbrR", Findings.ABRR),
    AUD_INT("@TympL", Immittance.TympL),
    AUD_INT("@TympR", Immittance.TympR),
    AUD_REAL("@PeakYL", Immittance.PeakYL),
    AUD_REAL("@PeakYR", Immittance.PeakYR),
    AUD_REAL("@PeakPressL", Immittance.PeakPressL),
    AUD_REAL("@PeakPressR", Immittance.PeakPressR),
    AUD_INT("@ReflexL", Immittance.ReflexL),
    AUD_INT("@ReflexR", Immittance.ReflexR),
    AUD_REAL("@ETFVolL", Immittance.ETFVolL),
    AUD_REAL("@ETFVolR", Immittance.ETFVolR),
    AUD_REAL("@ETFRelL", Immittance.ETFRelL),
    AUD_REAL("@ETFRelR", Immittance.ETFRelR),
    AUD_INT("@SrtR", Speech.SRTR),   AUD_INT("@SatR", Speech.SATR),
    AUD_INT("@Lev1R", Speech.Lev1R), AUD_INT("@Lev2R", Speech.Lev2R),
    AUD_INT("@Lev3R", Speech.Lev3R), AUD_INT("@Lev4R", Speech.Lev4R),
    AUD_INT("@Lev5R", Speech.Lev5R), AUD_INT("@Pc1R", Speech.PC1R),
    AUD_INT("@Pc2R", Speech.PC2R),   AUD_INT("@Pc3R", Speech.PC3R),
    AUD_INT("@Pc4R", Speech.PC4R),   AUD_INT("@Pc5R", Speech.PC5R),
    AUD_TEXT("@MatR", Speech.MatR),
    AUD_INT("@SrtL", Speech.SRTL),   AUD_INT("@SatL", Speech.SATL),
    AUD_INT("@Lev1L", Speech.Lev1L), AUD_INT("@Lev2L", Speech.Lev2L),
    AUD_INT("@Lev3L", Speech.Lev3L), AUD_INT("@Lev4L", Speech.Lev4L),
    AUD_INT("@Lev5L", Speech.Lev5L), AUD_INT("@Pc1L", Speech.PC1L),
    AUD_INT("@Pc2L", Speech.PC2L),   AUD_INT("@Pc3L", Speech.PC3L),
    AUD_INT("@Pc4L", Speech.PC4L),   AUD_INT("@Pc5L", Speech.PC5L),
    AUD_TEXT("@MatL", Speech.MatL),
    AUD_INT("@SrtSF", Speech.SRTSF), AUD_INT("@SatSF", Speech.SATSF),
    AUD_TEXT("@Comments", Info.Comments),
    AUD_TEXT("@Recommend", Info.Recommend),
    AUD_INT("@CochImpL", Findings.CochImpL),
    AUD_INT("@CochImpR", Findings.CochImpR),
};

template <typename Params>
void BindParams(MyADO& db, CAudRecord& record, const Params& params)
{
    for (const AudFieldRef& p : params) {
        if (auto text = std::get_if<AudFieldRef::TextRef>(&p.field))
            quorin::BindString(db, p.name, *(*text)(record));
        else if (auto integer = std::get_if<AudFieldRef::IntRef>(&p.field))
            db.BindIntParam(p.name, *(*integer)(record));
        else
            db.BindFloatParam(p.name, *std::get<AudFieldRef::RealRef>(p.field)(record));
    }
}

// Binds a point's values under `prefix` ("@" or "@old").
void BindPoint(MyADO& db, const char* prefix, const CAudPoint& p)
{
    const std::string at(prefix);
    db.BindIntParam(at + "symbol", p.symbol);
    db.BindIntParam(at + "xy", p.xy);
    db.BindIntParam(at + "mask", p.mask);
    db.BindIntParam(at + "recent", p.recent);
    db.BindIntParam(at + "type", p.type);
}

// Runs a point procedure with the test and the points bound; false when it failed.
bool RunPointProcedure(MyADO& db, const char* procedure, int testId, const CAudPoint& p,
                       const CAudPoint* old = nullptr)
{
    db.BindIntParam("@TestId", testId);
    BindPoint(db, "@", p);
    if (old)
        BindPoint(db, "@old", *old);
    const int ok = db.RunStoredProcedure(procedure);
    db.RemoveParams();
    return ok != 0;
}

bool SamePoint(const CAudPoint& a, const CAudPoint& b)
{
    return std::tie(a.symbol, a.xy, a.mask, a.recent, a.type) == std::tie(b.symbol, b.xy, b.mask, b.recent, b.type);
}

// A symbol that stays where it was is updated in place.
bool SamePlace(const CAudPoint& a, const CAudPoint& b) { return a.symbol == b.symbol && a.xy == b.xy; }

bool WriteChanges(MyADO& db, int testId, const quorin::RowSetChanges<CAudPoint>& changes)
{
    for (const CAudPoint& p : changes.deleted)
        if (!RunPointProcedure(db, "uspDeleteAudPoint", testId, p))
            return false;
    for (const auto& [old, now] : changes.updated)
        if (!RunPointProcedure(db, "uspUpdateAudPoint", testId, now, &old))
            return false;
    for (const CAudPoint& p : changes.added)
        if (!RunPointProcedure(db, "uspWriteAudPts", testId, p))
            return false;
    return true;
}

bool ReplacePoints(MyADO& db, int testId, const std::vector<CAudPoint>& points)
{
    db.BindIntParam("@TestId", testId);
    const int deleted = db.RunStoredProcedure("uspDeleteAudPts");
    db.RemoveParams();
    if (!deleted)
        return false;
    for (const CAudPoint& p : points)
        if (!RunPointProcedure(db, "uspWriteAudPts", testId, p))
            return false;
    return true;
}

} // namespace

int CQuorinDoc::WriteAudiogram(CAudRecord& record)
{
    if (record.Dirty == 0)
        return 1;
    if (record.TestId != -1)
        m_db.BindIntParam("@id", record.TestId);
    m_db.BindIntParam("@SubjectId", m_subject.SubjectID);
    if (record.Info.TestDate.isEmpty())
        record.Info.TestDate = QStringLiteral("01/01/1901");
    quorin::BindString(m_db, "@TestDate", quorin::DbDate(record.Info.TestDate));
    quorin::BindString(m_db, "@TestedBy", record.Info.TestedBy);
    BindParams(m_db, record, kBeforeImported);
    m_db.BindIntParam("@Imported", record.Info.Imported ? 1 : 0);
    BindParams(m_db, record, kAfterImported);
    const int result = m_db.RunStoredProcedure(record.TestId == -1 ? "uspWriteNewAud" : "uspUpdateAud");
    m_db.RemoveParams();
    return result;
}

int CQuorinDoc::WriteAudPoints(CAudRecord& record)
{
    if (record.Dirty == 0)
        return 1;
    // The stored points become the record's as a whole or stay as they were. Only the
    // points that differ are written, so that the change history shows just those.
    quorin::SessionTransaction transaction(m_db);
    if (!transaction.Started())
        return 0;
    CAudRecord stored;
    stored.TestId = record.TestId;
    if (!LoadAudPoints(stored, false))
        return 0;
    const auto changes = quorin::ChangesBetween(stored.Points, record.Points, SamePoint, SamePlace);
    const bool written = changes ? WriteChanges(m_db, record.TestId, *changes)
                                 : ReplacePoints(m_db, record.TestId, record.Points);
    return written && transaction.Commit() ? 1 : 0;
}
