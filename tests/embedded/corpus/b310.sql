SELECT [select] FROM subjects
