-- Removes every symbol of a test before its symbols are written again.
CREATE PROCEDURE uspDeleteAudPts
    @TestId int
AS
DELETE FROM audpoints WHERE TestId = @TestId;
