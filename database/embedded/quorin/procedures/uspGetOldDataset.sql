-- Subjects of a dataset as its feedback records them, with their participation code.
CREATE PROCEDURE uspGetOldDataset
    @Irb varchar(50),
    @Name varchar(100)
AS
SELECT SubjectId, Participate AS participate
FROM participationhistory
WHERE Irb = @Irb AND Dataset = @Name
ORDER BY SubjectId;
