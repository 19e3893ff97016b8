-- Removes one symbol of a test (a save writes only the symbols that changed).
CREATE PROCEDURE uspDeleteAudPoint
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int
AS
DELETE FROM audpoints
WHERE TestId = @TestId AND symbol = @symbol AND xy = @xy AND mask = @mask AND recent = @recent AND type = @type;
