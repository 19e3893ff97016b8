SELECT TOP 1 Lastname + Firstname AS v FROM subjects
