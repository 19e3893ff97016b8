-- Subjects with a unit and at least one audiogram, with the date of their latest test,
-- for the bulk update from the Audiogram Manager.
CREATE PROCEDURE uspGetSubjectandDate
AS
SELECT s.SubjectId, convert101(max(a.TestDate), 10) AS TestDate, s.Unit
FROM subjects s
JOIN aud a ON a.SubjectId = s.SubjectId
WHERE s.Unit <> 0
GROUP BY s.SubjectId, s.Unit
ORDER BY s.SubjectId;
