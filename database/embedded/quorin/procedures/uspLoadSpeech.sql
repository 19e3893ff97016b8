-- The subject's speech, language and literacy tests in the order stored.
CREATE PROCEDURE uspLoadSpeech
    @SubjectId int
AS
SELECT TestId, TestName, convert101(TestDate, 10) AS TDate, AgeAtTest, TestedBy, Lab, Screening,
    RawScore, StandardScore, AgeEquivalent, Percentile, SD, Other, Comments
FROM speech
WHERE SubjectId = @SubjectId
ORDER BY TestId;
