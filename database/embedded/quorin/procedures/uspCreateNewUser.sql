-- Adds a staff member. A user name that exists already (a former member added again)
-- has its row brought up to date instead, since its login has just been created.
CREATE PROCEDURE uspCreateNewUser
    @user varchar(50),
    @last varchar(50),
    @first varchar(50),
    @name varchar(110),
    @citi datetime,
    @nih datetime,
    @status int
AS
INSERT INTO pers (UserName, LastName, FirstName, Name, Citi, Nih, Status)
VALUES (@user, @last, @first, @name, @citi, @nih, @status)
ON CONFLICT (UserName) DO UPDATE SET
    LastName = excluded.LastName, FirstName = excluded.FirstName, Name = excluded.Name,
    Citi = excluded.Citi, Nih = excluded.Nih, Status = excluded.Status;
