-- The subject's implanted devices in the order they were stored.
CREATE PROCEDURE uspLoadCiDevices
    @SubjectId int
AS
SELECT Ear, Device, Positioner, convert101(SurgDate) AS surgdate,
    convert101(StimDate) AS StimDate, AgeAtImplant, Surgeon, Hospital, Status,
    convert101(ExplantDate) AS XDate
FROM CiDevice
WHERE SubjectId = @SubjectId
ORDER BY rowid;
