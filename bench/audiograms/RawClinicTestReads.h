#pragma once
// The raw-SQLite baseline of reading one Audiogram Manager test: its date and tester with
// the Other row, the immittance row, the impressions with the special history, and the
// speech row; the statements the procedures run, prepared once and reused.

#include "bench/subjects/RawProcedures.h"

#include <string>

namespace quorin::bench {

inline void ReadClinicTestRaw(RawProcedures& aud, const std::string& patientIndex)
{
    aud.Run("SELECT convert101(info.Date, 10) AS date, info.Testedby, Other.Reliability, Other.Method, "
            "Other.Comment, Other.Recomm FROM info JOIN Other ON info.PatientIndex = Other.PatientIndex "
            "WHERE info.PatientIndex = ?", {patientIndex});
    aud.Run("SELECT TympNormR, TympNormL, TympPeakYL, TympPeakYR, TympAnormLVal, TympAnormRVal, TestedL, "
            "TestedR, DecayL, DecayR, EFTVolL, EFTVolR, EFTRelL, EFTRelR FROM Immit WHERE PatientIndex = ?",
            {patientIndex});
    aud.Run("SELECT Impress.normal_r, Impress.normal_l, Impress.conductive_r, Impress.conductive_l, "
            "Impress.sensorineural_r, Impress.sensorineural_l, Impress.sensorineural_sf, Impress.mixed_r, "
            "Impress.mixed_l, Impress.mixed_sf, Impress.undetermined_r, Impress.undetermined_l, "
            "Impress.undetermined_sf, Special.tinnitus_r, Special.tinnitus_l, Special.fullness_r, "
            "Special.fullness_l, Special.hearing_aids_r, Special.hearing_aids_l, Special.dizziness, "
            "Special.hx_of_om, Special.hx_of_noise_exp, Special.enrolled_sped, Special.enrolled_speech, "
            "Special.famhx, Impress.conductive_sf, Impress.normal_sf FROM Impress JOIN Special ON "
            "Impress.PatientIndex = Special.PatientIndex WHERE Impress.PatientIndex = ?", {patientIndex});
    aud.Run("SELECT sata, srta, lev1a, lev2a, pc1a, pc2a, mata, satb, srtb, lev1b, lev2b, pc1b, pc2b, matb, "
            "satc, srtc, matc FROM Speech WHERE Patientindex = ?", {patientIndex});
}

} // namespace quorin::bench
