SELECT SubjectId + 1 FROM subjects
