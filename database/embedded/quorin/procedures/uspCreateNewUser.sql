-- Adds a staff member. A user name that has a row already is refused, changing nothing:
-- adding must never take over another member's row, login or role (a former member is
-- made active again by uspUpdatePers). The login gets a user in Aud and CID (the program
-- has just made the one in Quorin) and the role of the status in all three databases, as
-- uspUpdateAccount gives it.
CREATE PROCEDURE uspCreateNewUser
    @user varchar(50),
    @last varchar(50),
    @first varchar(50),
    @name varchar(110),
    @citi datetime,
    @nih datetime,
    @status int
AS
SELECT tsql_raiserror('A user named ' || @user || ' already exists.')
WHERE EXISTS (SELECT 1 FROM pers WHERE UserName = @user);
INSERT INTO pers (UserName, LastName, FirstName, Name, Citi, Nih, Status)
VALUES (@user, @last, @first, @name, @citi, @nih, @status);
INSERT INTO Aud..sys_database_principals (name, type)
SELECT @user, 'S'
WHERE EXISTS (SELECT 1 FROM master.sys_server_principals WHERE name = @user)
  AND NOT EXISTS (SELECT 1 FROM Aud..sys_database_principals WHERE name = @user);
INSERT INTO CID..sys_database_principals (name, type)
SELECT @user, 'S'
WHERE EXISTS (SELECT 1 FROM master.sys_server_principals WHERE name = @user)
  AND NOT EXISTS (SELECT 1 FROM CID..sys_database_principals WHERE name = @user);
DELETE FROM sys_role_members
WHERE member = @user AND role IN ('QuorinUser', 'QuorinAdmin');
DELETE FROM Aud..sys_role_members
WHERE member = @user AND role IN ('QuorinUser', 'QuorinAdmin');
DELETE FROM CID..sys_role_members
WHERE member = @user AND role IN ('QuorinUser', 'QuorinAdmin');
INSERT INTO sys_role_members (role, member)
SELECT CASE WHEN @status = 3 THEN 'QuorinAdmin' ELSE 'QuorinUser' END, @user
WHERE @status IN (0, 3)
  AND EXISTS (SELECT 1 FROM sys_database_principals WHERE name = @user AND type = 'S');
INSERT INTO Aud..sys_role_members (role, member)
SELECT CASE WHEN @status = 3 THEN 'QuorinAdmin' ELSE 'QuorinUser' END, @user
WHERE @status IN (0, 3)
  AND EXISTS (SELECT 1 FROM Aud..sys_database_principals WHERE name = @user AND type = 'S');
INSERT INTO CID..sys_role_members (role, member)
SELECT CASE WHEN @status = 3 THEN 'QuorinAdmin' ELSE 'QuorinUser' END, @user
WHERE @status IN (0, 3)
  AND EXISTS (SELECT 1 FROM CID..sys_database_principals WHERE name = @user AND type = 'S');
