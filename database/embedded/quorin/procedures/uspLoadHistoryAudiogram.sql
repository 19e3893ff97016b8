-- An older audiogram test, as shown while paging the history.
CREATE PROCEDURE uspLoadHistoryAudiogram
    @testid int
AS
SELECT convert101(TestDate, 10) AS TestDate, TestedBy, Recommend, Method, Reliability, Comments,
    Imported, TympL, TympR, PeakYL, PeakYR, PeakPressL, PeakPressR, ReflexL, ReflexR,
    ETFVolL, ETFVolR, ETFRelL, ETFRelR, ImpressL, ImpressR, ImpressSF, ABRL, ABRR, Dizziness,
    FullnessL, FullnessR, HearingAidsL, HearingAidsR, HxHearingLoss, NoiseExp, OAEL, OAER, OM,
    SpchLang, Sped, TinnitusL, TinnitusR,
    SRTR, SATR, Lev1R, Lev2R, Lev3R, Lev4R, Lev5R, PC1R, PC2R, PC3R, PC4R, PC5R, MatR,
    SRTL, SATL, Lev1L, Lev2L, Lev3L, Lev4L, Lev5L, PC1L, PC2L, PC3L, PC4L, PC5L, MatL,
    SRTSF, SATSF
FROM aud
WHERE TestId = @testid;
