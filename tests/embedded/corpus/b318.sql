SELECT lastname COLLATE Latin1_General_CS_AS FROM subjects ORDER BY 1
