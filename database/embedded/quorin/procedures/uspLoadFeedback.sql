-- Participation rows of a subject: all of them for IRB and dataset "none", else the
-- one row of that IRB and dataset. Newest first.
CREATE PROCEDURE uspLoadFeedback
    @SubjectId int,
    @Irb varchar(50),
    @Dataset varchar(100)
AS
SELECT p.Irb, p.Contacted, p.Participate, convert101(p.Date1, 10) AS Date1,
    convert101(p.Date2, 10) AS Date2, p.Appts, p.Show, p.Completed, p.CallAgain, p.Lab, p.Dataset,
    convert101(p.FeedbackDate, 10) AS FDate, coalesce(d.ProjectTitle, '') AS ProjectTitle,
    coalesce(d.GrantNo, '') AS GrantNo, p.ExContact, p.ExPartic, p.Sessions, p.Comments
FROM participationhistory p
LEFT JOIN dataset d ON d.Dataset = p.Dataset AND d.Irb = p.Irb
WHERE p.SubjectId = @SubjectId
  AND ((@Irb = 'none' AND @Dataset = 'none') OR (p.Irb = @Irb AND p.Dataset = @Dataset))
ORDER BY p.Date1 DESC, p.ParticId DESC;
