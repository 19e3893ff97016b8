-- Adds a recruitment method; one that exists already (in any case) is kept once.
CREATE PROCEDURE uspWriteRecruitMethod
    @method varchar(100)
AS
INSERT OR IGNORE INTO recruitment (method)
SELECT @method WHERE trim(@method) <> '';
