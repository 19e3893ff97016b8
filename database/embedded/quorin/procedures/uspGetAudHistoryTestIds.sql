-- The subject's earlier tests, newest first. The current test (the one uspGetTestId
-- gives) is left out so that it is not shown twice.
CREATE PROCEDURE uspGetAudHistoryTestIds
    @subjectid int
AS
SELECT TestId
FROM aud
WHERE SubjectId = @subjectid
  AND TestId <> (SELECT max(TestId) FROM aud WHERE SubjectId = @subjectid)
ORDER BY TestDate DESC, TestId DESC;
