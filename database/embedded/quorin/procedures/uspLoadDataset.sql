-- The parameters a dataset was drawn with.
CREATE PROCEDURE uspLoadDataset
    @Irb varchar(50),
    @Name varchar(100)
AS
SELECT Query FROM dataset WHERE Irb = @Irb AND Dataset = @Name;
