-- Subjects whose names match both LIKE patterns, sorted by name; age carries the
-- birth date as text.
CREATE PROCEDURE uspLookup
    @last varchar(51),
    @first varchar(51)
AS
SELECT Firstname, Lastname, Unit, convert101(Birthdate, 10) AS age, SubjectId
FROM subjects
WHERE Lastname LIKE @last AND Firstname LIKE @first
ORDER BY Lastname, Firstname, SubjectId;
