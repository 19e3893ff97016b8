-- The recruitment methods, sorted.
CREATE PROCEDURE uspLoadRecruitMethods
AS
SELECT method FROM recruitment ORDER BY method;
