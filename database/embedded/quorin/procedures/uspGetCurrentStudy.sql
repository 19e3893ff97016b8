-- The study the subject is currently released to: the IRB of its latest release.
CREATE PROCEDURE uspGetCurrentStudy
    @SubjectId int
AS
SELECT Irb
FROM release
WHERE SubjectId = @SubjectId
ORDER BY ReleaseDate DESC, ReleaseId DESC
LIMIT 1;
