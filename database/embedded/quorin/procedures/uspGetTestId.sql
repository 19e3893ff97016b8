-- The subject's most recently stored audiogram (highest TestId, not the latest test
-- date): the save calls it right after uspWriteNewAud to find the test it wrote.
CREATE PROCEDURE uspGetTestId
    @subjectid int
AS
SELECT TestId
FROM aud
WHERE SubjectId = @subjectid
ORDER BY TestId DESC
LIMIT 1;
