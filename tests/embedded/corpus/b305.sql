SELECT lastname AS who, subjectid * 10 AS rank FROM subjects ORDER BY rank DESC
