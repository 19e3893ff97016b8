-- Removes a recruitment method; subjects keep the text they store.
CREATE PROCEDURE uspDeleteRecruitMethod
    @method varchar(100)
AS
DELETE FROM recruitment WHERE method = @method;
