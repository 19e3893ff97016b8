-- Brings the implant data of every subject whose unit is exactly one CID patient up to
-- date from CID: history, the two latest processors, devices and speech rows are
-- replaced and the subject is marked as having an implant. Subjects not in CID are left
-- alone, and so are those whose unit several CID patients share: which of them is the
-- subject cannot be told. The one row returned counts the subjects updated and those
-- left for a shared unit.
-- Each statement reads every CID patient once and finds its subject through the unit
-- index (CROSS JOIN keeps that order): the work grows with CID, not with the registry.
CREATE PROCEDURE uspUpdateQuorinCI
AS
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
DELETE FROM cidata WHERE SubjectId IN (SELECT SubjectId FROM m);
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
INSERT INTO cidata (SubjectId, DurationPriorL, DurationPriorR, DegreePriorL, DegreePriorR,
    NatureL, NatureR, EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR, DurationUnaidedL,
    DurationUnaidedR, Processor1, Processor2)
SELECT m.SubjectId, p.DurationLeft, p.DurationRight, p.DegreePriorLeft, p.DegreePriorRight,
    p.NatureOnsetLeft, p.NatureOnsetRight, p.EtiologyLeft, p.EtiologyRight, p.HaLeft, p.HaRight,
    p.HaTimeLeft, p.HaTimeRight, p.UnaidedLeft, p.UnaidedRight,
    coalesce((SELECT e.Processor FROM CID.external e WHERE e.PatientId = p.PatientId
              ORDER BY e.DateFit DESC LIMIT 1), ''),
    coalesce((SELECT e.Processor FROM CID.external e WHERE e.PatientId = p.PatientId
              ORDER BY e.DateFit DESC LIMIT 1 OFFSET 1), '')
FROM m JOIN CID.patient p ON p.PatientId = m.PatientId;
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
DELETE FROM CiDevice WHERE SubjectId IN (SELECT SubjectId FROM m);
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
INSERT INTO CiDevice (SubjectId, Ear, Device, Positioner, SurgDate, StimDate, AgeAtImplant,
    Surgeon, Hospital, Status, ExplantDate)
SELECT m.SubjectId, i.Ear, i.Device, i.Positioner, i.SurgeryDate, i.StimDate, i.AgeAtImplant,
    i.Surgeon, i.Hospital, i.Status, i.DateOfExplant
FROM m JOIN CID."Internal" i ON i.PatientId = m.PatientId
ORDER BY m.SubjectId, i.SurgeryDate DESC;
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
DELETE FROM cispeech WHERE SubjectId IN (SELECT SubjectId FROM m);
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
INSERT INTO cispeech (SubjectId, DataType, TestType, TestName, Score, TimeIS, Condition)
SELECT m.SubjectId, CASE WHEN c.testtype = 1 THEN 'Pre Implant' ELSE 'Post Implant' END,
    c.type, c.name, c.score, c.time, c.Ear
FROM m JOIN CID.speech c ON c.patientid = m.PatientId
ORDER BY m.SubjectId, c.SpeechId;
WITH m AS (
    SELECT s.SubjectId, min(p.PatientId) AS PatientId
    FROM CID.patient p CROSS JOIN subjects s
    WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
    GROUP BY s.SubjectId HAVING count(*) = 1)
UPDATE subjects SET CochlearImplant = 'Yes' WHERE SubjectId IN (SELECT SubjectId FROM m);
SELECT count(CASE WHEN n = 1 THEN 1 END) AS Updated, count(CASE WHEN n > 1 THEN 1 END) AS SharedUnit
FROM (SELECT s.SubjectId, count(*) AS n
      FROM CID.patient p CROSS JOIN subjects s
      WHERE s.Unit = CAST(p.Unit AS INTEGER) AND p.Unit = CAST(s.Unit AS TEXT) AND s.Unit <> 0
      GROUP BY s.SubjectId) k;
