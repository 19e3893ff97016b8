-- The symbols of a test in plotting order.
CREATE PROCEDURE uspLoadAudPts
    @TestId int
AS
SELECT xy, symbol, mask, recent, type
FROM audpoints
WHERE TestId = @TestId
ORDER BY rowid;
