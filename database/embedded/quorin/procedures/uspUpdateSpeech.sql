-- Rewrites a stored speech test of the subject.
CREATE PROCEDURE uspUpdateSpeech
    @SubjectId int,
    @TestName varchar(100),
    @TestDate datetime,
    @AgeAtTest varchar(30),
    @TestedBy varchar(50),
    @Lab varchar(100),
    @Screening varchar(20),
    @RawScore varchar(20),
    @StandardScore varchar(20),
    @AgeEquivalent int,
    @Percentile varchar(20),
    @SD varchar(20),
    @Other varchar(100),
    @Comments text,
    @TestId int
AS
UPDATE speech SET
    TestName = @TestName, TestDate = @TestDate, AgeAtTest = @AgeAtTest, TestedBy = @TestedBy,
    Lab = @Lab, Screening = @Screening, RawScore = @RawScore, StandardScore = @StandardScore,
    AgeEquivalent = @AgeEquivalent, Percentile = @Percentile, SD = @SD, Other = @Other,
    Comments = @Comments
WHERE TestId = @TestId AND SubjectId = @SubjectId;
