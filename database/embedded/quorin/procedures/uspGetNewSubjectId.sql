-- Key of the subject just inserted: identical names and unit 0 are allowed, so the
-- highest key among the matches is the new one.
CREATE PROCEDURE uspGetNewSubjectId
    @last varchar(50),
    @first varchar(50),
    @birth datetime,
    @unit int
AS
SELECT SubjectId
FROM subjects
WHERE Lastname = @last AND Firstname = @first AND Unit = @unit AND Birthdate = @birth
ORDER BY SubjectId DESC
LIMIT 1;
