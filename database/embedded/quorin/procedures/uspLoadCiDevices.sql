-- The subject's implanted devices in the order they were stored.
CREATE PROCEDURE uspLoadCiDevices
    @SubjectId int
AS
SELECT Ear, Device, Positioner, convert101(SurgDate, 10) AS surgdate,
    convert101(StimDate, 10) AS StimDate, AgeAtImplant, Surgeon, Hospital, Status,
    convert101(ExplantDate, 10) AS XDate
FROM CiDevice
WHERE SubjectId = @SubjectId
ORDER BY rowid;
