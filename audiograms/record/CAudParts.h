#pragma once
// The parts of an audiogram record. Empty values: -1 for integer codes, -999.0 for
// measured reals, "" for texts; check boxes are 0.

#include <QString>

class CAudTestInfo {
public:
    QString TestDate;    // MM/DD/YYYY
    QString TestedBy;
    QString Comments;
    QString Recommend;
    int Reliability = -1;
    int Method = -1;
    bool Imported = false;
    bool Composite = false;
};

class CAudImmittance {
public:
    float PeakPressL = -999.0f;
    float PeakYL = -999.0f;
    float PeakPressR = -999.0f;
    float PeakYR = -999.0f;
    int ReflexL = -1;
    int ReflexR = -1;
    float ETFRelL = -999.0f;
    float ETFRelR = -999.0f;
    int TympL = -1;
    int TympR = -1;
    float ETFVolL = -999.0f;
    float ETFVolR = -999.0f;
};

class CAudFindings {
public:
    int ImpressL = -1;
    int ImpressR = -1;
    int ImpressSF = -1;
    int TinnitusL = 0;
    int TinnitusR = 0;
    int FullnessL = 0;
    int FullnessR = 0;
    int HearingAidsL = 0;
    int HearingAidsR = 0;
    int CochImpL = 0;
    int CochImpR = 0;
    int Dizziness = 0;
    int NoiseExp = 0;
    int HxHearingLoss = 0;
    int Sped = 0;
    int SpchLang = 0;
    int OM = 0;
    int OAEL = -1;
    int OAER = -1;
    int ABRL = -1;
    int ABRR = -1;
};

class CAudSpeech {
public:
    int SRTR = -1, SATR = -1;
    int Lev1R = -1, Lev2R = -1, Lev3R = -1, Lev4R = -1, Lev5R = -1;
    int PC1R = -1, PC2R = -1, PC3R = -1, PC4R = -1, PC5R = -1;
    QString MatR;
    int SRTL = -1, SATL = -1;
    int Lev1L = -1, Lev2L = -1, Lev3L = -1, Lev4L = -1, Lev5L = -1;
    int PC1L = -1, PC2L = -1, PC3L = -1, PC4L = -1, PC5L = -1;
    QString MatL;
    int SRTSF = -1, SATSF = -1;
};
