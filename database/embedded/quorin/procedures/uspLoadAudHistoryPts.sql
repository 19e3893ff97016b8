-- The symbols of an older test: only its own (recent) ones, since symbols carried over
-- from earlier tests belong to those tests.
CREATE PROCEDURE uspLoadAudHistoryPts
    @TestId int
AS
SELECT xy, symbol, mask, recent, type
FROM audpoints
WHERE TestId = @TestId AND recent = 1
ORDER BY rowid;
