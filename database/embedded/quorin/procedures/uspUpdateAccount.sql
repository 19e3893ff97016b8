-- Gives a login the role of its new staff status: 0 active in QuorinUser,
-- 3 administrator in QuorinAdmin; 1 inactive and 2 without password in neither, so an
-- inactivated member loses access at once.
CREATE PROCEDURE uspUpdateAccount
    @user varchar(50),
    @status int
AS
DELETE FROM sys_role_members
WHERE member = @user AND role IN ('QuorinUser', 'QuorinAdmin');
INSERT INTO sys_role_members (role, member)
SELECT CASE WHEN @status = 3 THEN 'QuorinAdmin' ELSE 'QuorinUser' END, @user
WHERE @status IN (0, 3)
  AND EXISTS (SELECT 1 FROM sys_database_principals WHERE name = @user);
UPDATE pers SET Status = @status WHERE UserName = @user;
