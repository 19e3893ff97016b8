-- Stores one symbol of a test.
CREATE PROCEDURE uspWriteAudPts
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int
AS
INSERT INTO audpoints (TestId, symbol, xy, mask, recent, type)
VALUES (@TestId, @symbol, @xy, @mask, @recent, @type);
