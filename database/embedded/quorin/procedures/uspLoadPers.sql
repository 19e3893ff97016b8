-- Staff members of one status (0 to 3), or all of them for 4.
CREATE PROCEDURE uspLoadPers
    @status int
AS
SELECT UserName, LastName, FirstName, PersId
FROM pers
WHERE @status = 4 OR Status = @status
ORDER BY UserName;
