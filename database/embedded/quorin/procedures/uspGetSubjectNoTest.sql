-- Subjects with a unit and no audiogram: any Audiogram Manager test is new for them.
CREATE PROCEDURE uspGetSubjectNoTest
AS
SELECT s.SubjectId, s.Unit
FROM subjects s
WHERE s.Unit <> 0
  AND NOT EXISTS (SELECT 1 FROM aud a WHERE a.SubjectId = s.SubjectId)
ORDER BY s.SubjectId;
