-- Subjects whose names match both LIKE patterns, sorted by name; age carries the
-- birth date as text. The last name's text before its first wildcard also bounds an
-- index range (the TSQL collation compares bytes after lower-casing, so no name with
-- that beginning sorts at or above it followed by byte FF): the lookup reads only the
-- names that can match instead of every subject.
CREATE PROCEDURE uspLookup
    @last varchar(51),
    @first varchar(51)
AS
SELECT Firstname, Lastname, Unit, convert101(Birthdate, 10) AS age, SubjectId
FROM subjects
WHERE Lastname LIKE @last AND Firstname LIKE @first
  AND Lastname >= substr(@last, 1, min(instr(@last || '%', '%'), instr(@last || '_', '_'),
                                      instr(@last || '[', '[')) - 1)
  AND Lastname < substr(@last, 1, min(instr(@last || '%', '%'), instr(@last || '_', '_'),
                                     instr(@last || '[', '[')) - 1) || CAST(x'FF' AS TEXT)
ORDER BY Lastname, Firstname, SubjectId;
