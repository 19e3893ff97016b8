-- Stores a new speech, language or literacy test.
CREATE PROCEDURE uspWriteNewSpeech
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
    @Comments text
AS
INSERT INTO speech (SubjectId, TestName, TestDate, AgeAtTest, TestedBy, Lab, Screening,
    RawScore, StandardScore, AgeEquivalent, Percentile, SD, Other, Comments)
VALUES (@SubjectId, @TestName, @TestDate, @AgeAtTest, @TestedBy, @Lab, @Screening,
    @RawScore, @StandardScore, @AgeEquivalent, @Percentile, @SD, @Other, @Comments);
