SELECT lastname FROM subjects s WHERE EXISTS (SELECT 1 FROM CiDevice c WHERE c.SubjectId = s.subjectid AND AgeAtImplant > 5)
