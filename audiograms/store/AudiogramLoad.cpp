// Reading the subject's current audiogram and a history test with their points.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "audiograms/record/AudFieldRef.h"

#include <array>

using quorin::HasRow;

namespace {

// The columns before Imported, in the order the loads read them.
const std::array kHeadColumns{
    AUD_TEXT("TestDate", Info.TestDate),
    AUD_TEXT("TestedBy", Info.TestedBy),
    AUD_TEXT("Recommend", Info.Recommend),
    AUD_INT("Method", Info.Method),
    AUD_INT("Reliability", Info.Reliability),
    AUD_TEXT("Comments", Info.Comments),
};

// From TympL to TinnitusR.
const std::array kBodyColumns{
    AUD_INT("TympL", Immittance.TympL),
    AUD_INT("TympR", Immittance.TympR),
    AUD_REAL("PeakYL", Immittance.PeakYL),
    AUD_REAL("PeakYR", Immittance.PeakYR),
    AUD_REAL("PeakPressL", Immittance.PeakPressL),
    AUD_REAL("PeakPressR", Immittance.PeakPressR),
    AUD_INT("ReflexL", Immittance.ReflexL),
    AUD_INT("ReflexR", Immittance.ReflexR),
    AUD_REAL("ETFVolL", Immittance.ETFVolL),
    AUD_REAL("ETFVolR", Immittance.ETFVolR),
    AUD_REAL("ETFRelL", Immittance.ETFRelL),
    AUD_REAL("ETFRelR", Immittance.ETFRelR),
    AUD_INT("ImpressL", Findings.ImpressL),
    AUD_INT("ImpressR", Findings.ImpressR),
    AUD_INT("ImpressSF", Findings.ImpressSF),
    AUD_INT("ABRL", Findings.ABRL),
    AUD_INT("ABRR", Findings.ABRR),
    AUD_INT("Dizziness", Findings.Dizziness),
    AUD_INT("FullnessL", Findings.FullnessL),
    AUD_INT("FullnessR", Findings.FullnessR),
    AUD_INT("HearingAidsL", Findings.HearingAidsL),
    AUD_INT("HearingAidsR", Findings.HearingAidsR),
    AUD_INT("HxHearingLoss", Findings.HxHearingLoss),
    AUD_INT("NoiseExp", Findings.NoiseExp),
    AUD_INT("OAEL", Findings.OAEL),
    AUD_INT("OAER", Findings.OAER),
    AUD_INT("OM", Findings.OM),
    AUD_INT("SpchLang", Findings.SpchLang),
    AUD_INT("Sped", Findings.Sped),
    AUD_INT("TinnitusL", Findings.TinnitusL),
    AUD_INT("TinnitusR", Findings.TinnitusR),
};

// Only the current test carries these.
const std::array kCochImpColumns{
    AUD_INT("CochImpL", Findings.CochImpL),
    AUD_INT("CochImpR", Findings.CochImpR),
};

const std::array kSpeechColumns{
    AUD_INT("SRTR", Speech.SRTR),   AUD_INT("SATR", Speech.SATR),
    AUD_INT("Lev1R", Speech.Lev1R), AUD_INT("Lev2R", Speech.Lev2R),
    AUD_INT("Lev3R", Speech.Lev3R), AUD_INT("Lev4R", Speech.Lev4R),
    AUD_INT("Lev5R", Speech.Lev5R), AUD_INT("PC1R", Speech.PC1R),
    AUD_INT("PC2R", Speech.PC2R),   AUD_INT("PC3R", Speech.PC3R),
    AUD_INT("PC4R", Speech.PC4R),   AUD_INT("PC5R", Speech.PC5R),
    AUD_TEXT("MatR", Speech.MatR),
    AUD_INT("SRTL", Speech.SRTL),   AUD_INT("SATL", Speech.SATL),
    AUD_INT("Lev1L", Speech.Lev1L), AUD_INT("Lev2L", Speech.Lev2L),
    AUD_INT("Lev3L", Speech.Lev3L), AUD_INT("Lev4L", Speech.Lev4L),
    AUD_INT("Lev5L", Speech.Lev5L), AUD_INT("PC1L", Speech.PC1L),
    AUD_INT("PC2L", Speech.PC2L),   AUD_INT("PC3L", Speech.PC3L),
    AUD_INT("PC4L", Speech.PC4L),   AUD_INT("PC5L", Speech.PC5L),
    AUD_TEXT("MatL", Speech.MatL),
    AUD_INT("SRTSF", Speech.SRTSF), AUD_INT("SATSF", Speech.SATSF),
};

template <typename Columns>
void ReadColumns(MyADO& db, CAudRecord& record, const Columns& columns)
{
    for (const AudFieldRef& c : columns) {
        if (auto text = std::get_if<AudFieldRef::TextRef>(&c.field))
            *(*text)(record) = quorin::StringField(db, c.name);
        else if (auto integer = std::get_if<AudFieldRef::IntRef>(&c.field))
            *(*integer)(record) = db.GetIntField(c.name);
        else
            *std::get<AudFieldRef::RealRef>(c.field)(record) = db.GetFloatField(c.name);
    }
}

} // namespace

void CQuorinDoc::ReadAudiogramRow(CAudRecord& record, bool withCochImp)
{
    ReadColumns(m_db, record, kHeadColumns);
    if (m_db.GetIntField("Imported") > 0)
        record.Info.Imported = true;
    ReadColumns(m_db, record, kBodyColumns);
    if (withCochImp)
        ReadColumns(m_db, record, kCochImpColumns);
    ReadColumns(m_db, record, kSpeechColumns);
}

int CQuorinDoc::LoadCurrentAudiogram(int subjectId)
{
    m_audCurrent.LoadAttempted = 1;
    if (subjectId == -1)
        return 0;
    m_bAudDataFilled = 0;
    m_bAudOtherFilled = 0;

    m_db.BindIntParam("@subjectid", subjectId);
    const int found = m_db.RunStoredProcedure("uspGetTestId");
    if (!found) {
        m_db.RemoveParams();
        return 0;
    }
    if (!m_db.IsEOF())
        m_audCurrent.TestId = m_db.GetIntField("TestId");
    m_db.RemoveParams();

    m_db.BindIntParam("@testid", m_audCurrent.TestId);
    const int result = m_db.RunStoredProcedure("uspLoadAudiogram");
    if (!result) {
        m_db.RemoveParams();
        return 0;
    }
    if (!m_db.IsEOF())
        ReadAudiogramRow(m_audCurrent, true);
    else
        m_subject.AudiogramClean = 1;
    m_db.RemoveParams();
    LoadAudPoints(m_audCurrent, false);
    return result;
}

bool CQuorinDoc::LoadAudPoints(CAudRecord& record, bool history)
{
    m_db.BindIntParam("TestId", record.TestId);
    const int ran = m_db.RunStoredProcedure(history ? "uspLoadAudHistoryPts" : "uspLoadAudPts");
    if (ran) {
        for (; !m_db.IsEOF(); m_db.MoveNext()) {
            CAudPoint p;
            p.xy = m_db.GetIntField("xy");
            p.symbol = m_db.GetIntField("symbol");
            p.mask = m_db.GetIntField("mask");
            p.recent = m_db.GetIntField("recent");
            p.type = m_db.GetIntField("type");
            p.SplitXy();
            record.Points.push_back(p);
        }
    }
    // A failed call leaves nothing bound for the next statement either.
    m_db.RemoveParams();
    return ran != 0;
}

int CQuorinDoc::LoadHistoryAudiogram(int testId, CAudRecord& record)
{
    record.TestId = testId;
    m_db.BindIntParam("@testid", testId);
    const int result = m_db.RunStoredProcedure("uspLoadHistoryAudiogram");
    if (!result) {
        m_db.RemoveParams();
        return 0;
    }
    if (!m_db.IsEOF())
        ReadAudiogramRow(record, false);
    m_db.RemoveParams();
    LoadAudPoints(record, true);
    return result;
}
