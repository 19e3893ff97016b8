-- Writes the researcher's feedback for one subject in one dataset and stamps the
-- feedback date; a row that does not exist yet is added. @Done 1 marks the subject's
-- feedback as final.
CREATE PROCEDURE uspUpdateFeedback
    @SubjectId int,
    @Irb varchar(50),
    @Dataset varchar(100),
    @Contact int,
    @ExContact varchar(200),
    @Participated int,
    @ExParticipated varchar(200),
    @Date1 datetime,
    @Date2 datetime,
    @Show int,
    @Appts int,
    @Completed int,
    @Call int,
    @Lab varchar(100),
    @Done int,
    @Sessions int,
    @Comments text
AS
UPDATE participationhistory SET
    Contacted = @Contact, ExContact = @ExContact, Participate = @Participated,
    ExPartic = @ExParticipated, Date1 = @Date1, Date2 = @Date2, Show = @Show, Appts = @Appts,
    Completed = @Completed, CallAgain = @Call, Lab = @Lab, Done = @Done, Sessions = @Sessions,
    Comments = @Comments, FeedbackDate = getdate()
WHERE SubjectId = @SubjectId AND Irb = @Irb AND Dataset = @Dataset;
INSERT INTO participationhistory (SubjectId, Irb, Dataset, Contacted, ExContact, Participate,
    ExPartic, Date1, Date2, Show, Appts, Completed, CallAgain, Lab, Done, Sessions, Comments,
    FeedbackDate)
SELECT @SubjectId, @Irb, @Dataset, @Contact, @ExContact, @Participated, @ExParticipated,
    @Date1, @Date2, @Show, @Appts, @Completed, @Call, @Lab, @Done, @Sessions, @Comments, getdate()
WHERE @Irb <> '' AND NOT EXISTS (SELECT 1 FROM participationhistory
    WHERE SubjectId = @SubjectId AND Irb = @Irb AND Dataset = @Dataset);
