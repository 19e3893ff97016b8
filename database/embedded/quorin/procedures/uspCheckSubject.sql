-- Finds a stored subject that a subject being entered may be: the same unit (when one
-- is given), or the same last name, first initial and birth date.
CREATE PROCEDURE uspCheckSubject
    @unit int,
    @lastname varchar(50),
    @firstname varchar(50),
    @birth datetime
AS
SELECT Unit AS unit, Lastname AS lastname, Firstname AS firstname,
    convert101(Birthdate, 10) AS birth
FROM subjects
WHERE (@unit <> 0 AND Unit = @unit)
   OR (Lastname = @lastname AND Firstname LIKE @firstname || '%' AND Birthdate = @birth)
ORDER BY SubjectId
LIMIT 1;
