SELECT CASE status WHEN 0 THEN 'open' ELSE 'closed' END + '!' FROM subjects
