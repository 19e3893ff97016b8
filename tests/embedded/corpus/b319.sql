SELECT (SELECT max(subjectid) FROM subjects) + 1 AS v
