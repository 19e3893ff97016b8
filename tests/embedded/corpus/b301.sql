SELECT subjectid FROM subjects s JOIN CiDevice c ON c.SubjectId = s.subjectid
