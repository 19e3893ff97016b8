-- Stores the subject's implant history (one row per subject).
CREATE PROCEDURE uspWriteCiData
    @SubjectId int,
    @DurationPriorL int,
    @DurationPriorR int,
    @DegreePriorL varchar(50),
    @DegreePriorR varchar(50),
    @NatureL varchar(50),
    @NatureR varchar(50),
    @EtiologyL varchar(50),
    @EtiologyR varchar(50),
    @HaL int,
    @HaR int,
    @HaTimeL int,
    @HaTimeR int,
    @DurationUnaidedL int,
    @DurationUnaidedR int,
    @Processor1 varchar(50),
    @Processor2 varchar(50)
AS
INSERT INTO cidata (SubjectId, DurationPriorL, DurationPriorR, DegreePriorL,
    DegreePriorR, NatureL, NatureR, EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR,
    DurationUnaidedL, DurationUnaidedR, Processor1, Processor2)
VALUES (@SubjectId, @DurationPriorL, @DurationPriorR, @DegreePriorL, @DegreePriorR, @NatureL,
    @NatureR, @EtiologyL, @EtiologyR, @HaL, @HaR, @HaTimeL, @HaTimeR, @DurationUnaidedL,
    @DurationUnaidedR, @Processor1, @Processor2)
-- Updated in place when it is there, so that the change history holds only what changed.
ON CONFLICT (SubjectId) DO UPDATE SET DurationPriorL = excluded.DurationPriorL,
    DurationPriorR = excluded.DurationPriorR, DegreePriorL = excluded.DegreePriorL,
    DegreePriorR = excluded.DegreePriorR, NatureL = excluded.NatureL, NatureR = excluded.NatureR,
    EtiologyL = excluded.EtiologyL, EtiologyR = excluded.EtiologyR, HAL = excluded.HAL, HAR = excluded.HAR,
    HaTimeL = excluded.HaTimeL, HaTimeR = excluded.HaTimeR, DurationUnaidedL = excluded.DurationUnaidedL,
    DurationUnaidedR = excluded.DurationUnaidedR, Processor1 = excluded.Processor1,
    Processor2 = excluded.Processor2;
