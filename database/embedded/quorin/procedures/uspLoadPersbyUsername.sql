-- One staff member by login name.
CREATE PROCEDURE uspLoadPersbyUsername
    @user varchar(50)
AS
SELECT PersId, LastName AS Lastname, FirstName AS Firstname, Status,
    convert101(Citi, 10) AS Citi, convert101(Nih, 10) AS Nih
FROM pers
WHERE UserName = @user;
