-- Removes the subject's implant history before it is written again.
CREATE PROCEDURE uspDeleteCiData
    @SubjectId int
AS
DELETE FROM cidata WHERE SubjectId = @SubjectId;
