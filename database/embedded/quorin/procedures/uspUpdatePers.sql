-- Rewrites a staff member's row.
CREATE PROCEDURE uspUpdatePers
    @PersId int,
    @last varchar(50),
    @first varchar(50),
    @name varchar(110),
    @user varchar(50),
    @citi datetime,
    @nih datetime,
    @status int,
    @other varchar(100),
    @Review varchar(100)
AS
UPDATE pers SET
    LastName = @last, FirstName = @first, Name = @name, UserName = @user, Citi = @citi,
    Nih = @nih, Status = @status, Other = @other, Review = @Review
WHERE PersId = @PersId;
