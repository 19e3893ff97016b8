SELECT d.who FROM (SELECT lastname AS who, status FROM subjects) d WHERE d.status = 0 ORDER BY d.who DESC
