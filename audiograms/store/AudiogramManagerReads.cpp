// Reading one Audiogram Manager test (one patientindex) into an audiogram record, on
// the document's Aud session. A read without a row leaves the record as it was.

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "audiograms/record/AmCodes.h"

#include <utility>

using quorin::HasRow;
using quorin::RunText;
using quorin::StringField;

namespace am = quorin::am;

int CQuorinDoc::ReadAmTestInfo(int patientIndex, CAudRecord& record)
{
    const int ran = RunText(m_dbAud, QString::asprintf(
        "SELECT CONVERT(char, Info.[Date], 101) AS date, Info.Testedby, Other.Reliability, "
        "Other.Method, Other.Comment, Other.Recomm FROM Info INNER JOIN Other ON "
        "Info.PatientIndex = Other.PatientIndex WHERE (Info.PatientIndex = %d)", patientIndex));
    if (!HasRow(m_dbAud, ran))
        return ran;
    CAudTestInfo& info = record.Info;
    info.Imported = true;
    info.Comments = StringField(m_dbAud, "comment");
    info.Method = am::Method(m_dbAud.GetIntField("method"));
    info.Reliability = m_dbAud.GetIntField("reliability");
    info.Recommend = StringField(m_dbAud, "recomm");
    // CONVERT to char pads the date with blanks; the record holds MM/DD/YYYY.
    info.TestDate = StringField(m_dbAud, "date").trimmed();
    info.TestedBy = StringField(m_dbAud, "testedby");
    return ran;
}

int CQuorinDoc::ReadAmImmittance(int patientIndex, CAudRecord& record)
{
    const int ran = RunText(m_dbAud, QString::asprintf(
        "SELECT     TympNormR AS tympr, TympNormL AS tympl, TympPeakYL AS peakyl, TympPeakYR AS "
        "peakyr, TympAnormLVal AS peakpressl, TympAnormRVal AS peakpressr, TestedL AS reflexl, "
        "TestedR AS reflexr, DecayL as reflexal, DecayR as reflexar, EFTVolL AS etfvoll, EFTVolR "
        "AS etfvolr, EFTRelL AS etfrell, EFTRelR AS etfrelr FROM Immit WHERE (PatientIndex = %d)",
        patientIndex));
    if (!HasRow(m_dbAud, ran))
        return ran;
    CAudImmittance& im = record.Immittance;
    im.TympL = am::Tymp(m_dbAud.GetIntField("tympl"));
    im.TympR = am::Tymp(m_dbAud.GetIntField("tympr"));
    im.ReflexL = m_dbAud.GetIntField("reflexl");
    im.ReflexR = m_dbAud.GetIntField("reflexr");
    im.PeakPressL = m_dbAud.GetFloatField("peakpressl");
    im.PeakPressR = m_dbAud.GetFloatField("peakpressr");
    im.PeakYL = m_dbAud.GetFloatField("peakyl");
    im.PeakYR = m_dbAud.GetFloatField("peakyr");
    im.ETFRelL = am::EtfRelease(m_dbAud.GetFloatField("etfrell"));
    im.ETFRelR = am::EtfRelease(m_dbAud.GetFloatField("etfrelr"));
    im.ETFVolL = m_dbAud.GetFloatField("etfvoll");
    im.ETFVolR = m_dbAud.GetFloatField("etfvolr");
    return ran;
}

int CQuorinDoc::ReadAmFindings(int patientIndex, CAudRecord& record)
{
    const int ran = RunText(m_dbAud, QString::asprintf(
        "SELECT Impress.normal_r AS NormalR, Impress.normal_l AS NormalL, Impress.conductive_r AS "
        "ConductR, Impress.conductive_l AS ConductL, Impress.sensorineural_r AS SensR, "
        "Impress.sensorineural_l AS SensL, Impress.sensorineural_sf AS SensSF, Impress.mixed_r AS "
        "MixedR, Impress.mixed_l AS MixedL, Impress.mixed_sf AS MixedSF, Impress.undetermined_r AS "
        "UndetR, Impress.undetermined_l AS UndetL, Impress.undetermined_sf AS UndetSF, "
        "Special.tinnitus_r AS TinnitusR, Special.tinnitus_l AS TinnitusL, Special.fullness_r AS "
        "FullnessR, Special.fullness_l AS FullnessL, Special.hearing_aids_r AS HaR, "
        "Special.hearing_aids_l AS HaL, Special.dizziness AS Dizziness, Special.hx_of_om AS OM, "
        "Special.hx_of_noise_exp AS NoiseExp, Special.enrolled_sped AS Sped, "
        "Special.enrolled_speech AS SpchLang, Special.famhx AS HxHearingLoss, "
        "Impress.conductive_sf AS ConductSF, Impress.normal_sf AS NormalSF FROM Impress INNER JOIN "
        "Special ON Impress.PatientIndex = Special.PatientIndex Where Impress.PatientIndex = %d",
        patientIndex));
    if (!HasRow(m_dbAud, ran))
        return ran;
    MyADO& db = m_dbAud;
    CAudFindings& f = record.Findings;
    f.ImpressR = am::TypeOfLoss(db.GetIntField("NormalR"), db.GetIntField("ConductR"),
                                db.GetIntField("SensR"), db.GetIntField("MixedR"), db.GetIntField("UndetR"));
    f.ImpressL = am::TypeOfLoss(db.GetIntField("NormalL"), db.GetIntField("ConductL"),
                                db.GetIntField("SensL"), db.GetIntField("MixedL"), db.GetIntField("UndetL"));
    f.ImpressSF = am::SoundFieldLoss(db.GetIntField("NormalSF"), db.GetIntField("ConductSF"),
                                     db.GetIntField("SensSF"), db.GetIntField("MixedSF"),
                                     db.GetIntField("UndetSF"));
    f.TinnitusL = db.GetIntField("TinnitusL");
    f.TinnitusR = db.GetIntField("TinnitusR");
    f.FullnessL = db.GetIntField("FullnessL");
    f.FullnessR = db.GetIntField("FullnessR");
    f.HearingAidsL = db.GetIntField("HaL");
    f.HearingAidsR = db.GetIntField("HaR");
    // These history boxes are only ever ticked by an import, never cleared.
    const std::pair<const char*, int*> boxes[] = {
        {"HxHearingLoss", &f.HxHearingLoss}, {"NoiseExp", &f.NoiseExp}, {"Dizziness", &f.Dizziness},
        {"SpchLang", &f.SpchLang},           {"Sped", &f.Sped},         {"OM", &f.OM},
    };
    for (const auto& [column, field] : boxes)
        if (db.GetIntField(column) == 1)
            *field = 1;
    return ran;
}

int CQuorinDoc::ReadAmSpeech(int patientIndex, CAudRecord& record)
{
    const int ran = RunText(m_dbAud, QString::asprintf(
        "SELECT sata AS SatR, srta AS SrtR, lev1a AS Lev1R, lev2a AS Lev2R, pc1a AS Pc1R, pc2a AS "
        "Pc2R, mata AS MatR, satb AS SatL, srtb AS SrtL, lev1b AS Lev1L, lev2b AS Lev2L, pc1b AS "
        "Pc1L, pc2b AS Pc2L, matb AS MatL, satc AS SatSF, srtc AS SrtSF, matc AS MatSF FROM Speech "
        "Where Patientindex = %d", patientIndex));
    if (!HasRow(m_dbAud, ran))
        return ran;
    MyADO& db = m_dbAud;
    CAudSpeech& s = record.Speech;
    s.SRTR = db.GetIntField("SrtR");
    s.SATR = db.GetIntField("SatR");
    s.Lev1R = am::SpeechLevel(db.GetIntField("Lev1R"));
    s.Lev2R = am::SpeechLevel(db.GetIntField("Lev2R"));
    s.PC1R = db.GetIntField("Pc1R");
    s.PC2R = db.GetIntField("Pc2R");
    s.MatR = am::Materials(db.GetIntField("MatR"));
    s.SRTL = db.GetIntField("SrtL");
    s.SATL = db.GetIntField("SatL");
    s.Lev1L = am::SpeechLevel(db.GetIntField("Lev1L"));
    s.Lev2L = am::SpeechLevel(db.GetIntField("Lev2L"));
    s.PC1L = db.GetIntField("Pc1L");
    s.PC2L = db.GetIntField("Pc2L");
    s.MatL = am::Materials(db.GetIntField("MatL"));
    s.SRTSF = db.GetIntField("SrtSF");
    s.SATSF = db.GetIntField("SatSF");
    return ran;
}

int CQuorinDoc::ReadAmPoints(int patientIndex, CAudRecord& record)
{
    const int ran = RunText(m_dbAud, QString::asprintf(
        "select x,y,symbol,mask from newpoints where patientindex = %d order by symbol,x", patientIndex));
    if (!ran)
        return ran;
    for (; !m_dbAud.IsEOF(); m_dbAud.MoveNext()) {
        CAudPoint p;
        p.x = m_dbAud.GetIntField("x");
        p.y = m_dbAud.GetIntField("y");
        p.symbol = m_dbAud.GetIntField("symbol");
        p.mask = m_dbAud.GetIntField("mask");
        p.recent = 1;
        MapAmSymbol(p);
        record.Points.push_back(p);
    }
    return ran;
}
