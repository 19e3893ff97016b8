SELECT count(*) FROM subjects WHERE subjectid IN (SELECT subjectid FROM CiDevice) AND lastname NOT BETWEEN 'a' AND 'm' AND birthdate IS NOT NULL
