-- The subject's hearing history before implantation.
CREATE PROCEDURE uspLoadCiData
    @SubjectId int
AS
SELECT DurationPriorL, DurationPriorR, DegreePriorL, DegreePriorR, NatureL, NatureR,
    EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR, DurationUnaidedL, DurationUnaidedR,
    Processor1, Processor2
FROM cidata
WHERE SubjectId = @SubjectId;
