-- Releases a subject of a closed dataset again; a dataset is open while it has
-- release rows. A subject already released is not released twice.
CREATE PROCEDURE uspReOpenDataset
    @SubjectId int,
    @Irb varchar(50),
    @Title varchar(100)
AS
INSERT INTO release (Title, Irb, SubjectId, ReleaseDate)
SELECT @Title, @Irb, @SubjectId, getdate()
WHERE NOT EXISTS (SELECT 1 FROM release
    WHERE Title = @Title AND Irb = @Irb AND SubjectId = @SubjectId);
