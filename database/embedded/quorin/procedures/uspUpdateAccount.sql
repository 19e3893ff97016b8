-- Gives a login the role of its new staff status in Quorin, Aud and CID alike: 0 active
-- in QuorinUser, 3 administrator in QuorinAdmin; 1 inactive and 2 without password in
-- neither, so an inactivated member loses access to every database at once. A login
-- without a user in Aud or CID gets one there. Changing users and roles needs the
-- caller's ALTER ANY USER and ALTER ANY ROLE in each database (QuorinAdmin has them).
CREATE PROCEDURE uspUpdateAccount
    @user varchar(50),
    @status int
AS
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
UPDATE pers SET Status = @status WHERE UserName = @user;
