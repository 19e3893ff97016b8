SELECT LEFT(lastname, 3), RIGHT(lastname, 2) FROM subjects s LEFT JOIN CiDevice c ON c.SubjectId = s.subjectid
