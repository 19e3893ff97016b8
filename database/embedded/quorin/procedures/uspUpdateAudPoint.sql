-- Changes one symbol of a test in its place: its mask, whether it is this test's, its class.
CREATE PROCEDURE uspUpdateAudPoint
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int,
    @oldsymbol int,
    @oldxy int,
    @oldmask int,
    @oldrecent int,
    @oldtype int
AS
UPDATE audpoints SET symbol = @symbol, xy = @xy, mask = @mask, recent = @recent, type = @type
WHERE TestId = @TestId AND symbol = @oldsymbol AND xy = @oldxy AND mask = @oldmask AND recent = @oldrecent
    AND type = @oldtype;
