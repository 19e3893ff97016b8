SELECT lastname FROM subjects WHERE subjectid = 1 UNION SELECT username FROM pers ORDER BY lastname DESC
