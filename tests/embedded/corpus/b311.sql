SELECT select FROM subjects
