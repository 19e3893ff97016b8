BEGIN TRAN
UPDATE subjects SET status = 1 WHERE subjectid = 1