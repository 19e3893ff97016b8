-- Run against a SQL Server 2005 or later instance as a sysadmin.
USE Quorin;
GO

-- The registry's stored procedures; the same contract as the embedded engine's
-- procedures (database/embedded/quorin/procedures), one per name.

IF OBJECT_ID('dbo.uspCheckSubject', 'P') IS NOT NULL DROP PROCEDURE dbo.uspCheckSubject;
GO
-- Finds a stored subject that a subject being entered may be: the same unit (when one
-- is given), or the same last name, first initial and birth date.
CREATE PROCEDURE dbo.uspCheckSubject
    @unit int,
    @lastname varchar(50),
    @firstname varchar(50),
    @birth datetime
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TOP 1 Unit AS unit, Lastname AS lastname, Firstname AS firstname,
        CONVERT(char(10), Birthdate, 101) AS birth
    FROM subjects
    WHERE (@unit <> 0 AND Unit = @unit)
       OR (Lastname = @lastname AND Firstname LIKE @firstname + '%' AND Birthdate = @birth)
    ORDER BY SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspCreateNewUser', 'P') IS NOT NULL DROP PROCEDURE dbo.uspCreateNewUser;
GO
-- Adds a staff member. A user name that has a row already is refused, changing nothing:
-- adding must never take over another member's row, login or role (a former member is
-- made active again by uspUpdatePers). The login gets a user in Aud and CID and the role
-- of the status in all three databases.
CREATE PROCEDURE dbo.uspCreateNewUser
    @user varchar(50),
    @last varchar(50),
    @first varchar(50),
    @name varchar(110),
    @citi datetime,
    @nih datetime,
    @status int
AS
BEGIN
    SET NOCOUNT ON;
    -- All or nothing: a failure part-way rolls back every statement, and the
    -- caller's open transaction with it.
    SET XACT_ABORT ON;
    IF EXISTS (SELECT 1 FROM pers WHERE UserName = @user)
    BEGIN
        RAISERROR('A user named %s already exists.', 16, 1, @user);
        RETURN;
    END;
    BEGIN TRANSACTION;
    INSERT INTO pers (UserName, LastName, FirstName, Name, Citi, Nih, Status)
    VALUES (@user, @last, @first, @name, @citi, @nih, @status);
    -- The login's user and the role of the status in each of the three databases: a
    -- user in Aud and CID is created (or re-mapped to a login made again) as needed;
    -- status 0 gives QuorinUser, 3 QuorinAdmin, 1 and 2 neither. Runs with the
    -- caller's rights: QuorinAdmin holds ALTER ANY USER and ALTER ANY ROLE in all three.
    DECLARE @roles nvarchar(max);
    SET @roles = N'
        DECLARE @ddl nvarchar(400);
        SET @ddl = NULL;
        IF SUSER_ID(@u) IS NOT NULL AND DATABASE_PRINCIPAL_ID(@u) IS NULL
            SET @ddl = N''CREATE USER '' + QUOTENAME(@u) + N'' FOR LOGIN '' + QUOTENAME(@u)
        ELSE IF SUSER_ID(@u) IS NOT NULL
             AND (SELECT sid FROM sys.database_principals WHERE name = @u) <> SUSER_SID(@u)
            SET @ddl = N''ALTER USER '' + QUOTENAME(@u) + N'' WITH LOGIN = '' + QUOTENAME(@u);
        IF @ddl IS NOT NULL EXEC (@ddl);
        IF EXISTS (SELECT 1 FROM sys.database_role_members rm
                   JOIN sys.database_principals r ON r.principal_id = rm.role_principal_id
                   JOIN sys.database_principals m ON m.principal_id = rm.member_principal_id
                   WHERE r.name = N''QuorinUser'' AND m.name = @u)
            EXEC sp_droprolemember N''QuorinUser'', @u;
        IF EXISTS (SELECT 1 FROM sys.database_role_members rm
                   JOIN sys.database_principals r ON r.principal_id = rm.role_principal_id
                   JOIN sys.database_principals m ON m.principal_id = rm.member_principal_id
                   WHERE r.name = N''QuorinAdmin'' AND m.name = @u)
            EXEC sp_droprolemember N''QuorinAdmin'', @u;
        IF DATABASE_PRINCIPAL_ID(@u) IS NOT NULL
        BEGIN
            IF @s = 0 EXEC sp_addrolemember N''QuorinUser'', @u;
            IF @s = 3 EXEC sp_addrolemember N''QuorinAdmin'', @u;
        END;';
    EXEC Quorin.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    EXEC Aud.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    EXEC CID.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    COMMIT TRANSACTION;
END;
GO

IF OBJECT_ID('dbo.uspDeleteAudPts', 'P') IS NOT NULL DROP PROCEDURE dbo.uspDeleteAudPts;
GO
-- Removes every symbol of a test before its symbols are written again.
CREATE PROCEDURE dbo.uspDeleteAudPts
    @TestId int
AS
BEGIN
    SET NOCOUNT ON;
    DELETE FROM audpoints WHERE TestId = @TestId;
END;
GO

IF OBJECT_ID('dbo.uspDeleteCiData', 'P') IS NOT NULL DROP PROCEDURE dbo.uspDeleteCiData;
GO
-- Removes the subject's implant history before it is written again.
CREATE PROCEDURE dbo.uspDeleteCiData
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    DELETE FROM cidata WHERE SubjectId = @SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspDeleteRecruitMethod', 'P') IS NOT NULL DROP PROCEDURE dbo.uspDeleteRecruitMethod;
GO
-- Removes a recruitment method; subjects keep the text they store.
CREATE PROCEDURE dbo.uspDeleteRecruitMethod
    @method varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    DELETE FROM recruitment WHERE method = @method;
END;
GO

IF OBJECT_ID('dbo.uspGetAudHistoryTestIds', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetAudHistoryTestIds;
GO
-- The subject's earlier tests, newest first. The current test (the one uspGetTestId
-- gives) is left out so that it is not shown twice.
CREATE PROCEDURE dbo.uspGetAudHistoryTestIds
    @subjectid int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TestId
    FROM aud
    WHERE SubjectId = @subjectid
      AND TestId <> (SELECT max(TestId) FROM aud WHERE SubjectId = @subjectid)
    ORDER BY TestDate DESC, TestId DESC;
END;
GO

IF OBJECT_ID('dbo.uspGetCurrentStudy', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetCurrentStudy;
GO
-- The study the subject is currently released to: the IRB of its latest release.
CREATE PROCEDURE dbo.uspGetCurrentStudy
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TOP 1 Irb
    FROM release
    WHERE SubjectId = @SubjectId
    ORDER BY ReleaseDate DESC, ReleaseId DESC;
END;
GO

IF OBJECT_ID('dbo.uspGetNewSubjectId', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetNewSubjectId;
GO
-- Key of the subject just inserted: identical names and unit 0 are allowed, so the
-- highest key among the matches is the new one.
CREATE PROCEDURE dbo.uspGetNewSubjectId
    @last varchar(50),
    @first varchar(50),
    @birth datetime,
    @unit int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TOP 1 SubjectId
    FROM subjects
    WHERE Lastname = @last AND Firstname = @first AND Unit = @unit AND Birthdate = @birth
    ORDER BY SubjectId DESC;
END;
GO

IF OBJECT_ID('dbo.uspGetOldDataset', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetOldDataset;
GO
-- Subjects of a dataset as its feedback records them, with their participation code.
CREATE PROCEDURE dbo.uspGetOldDataset
    @Irb varchar(50),
    @Name varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT SubjectId, Participate AS participate
    FROM participationhistory
    WHERE Irb = @Irb AND Dataset = @Name
    ORDER BY SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspGetParticDate', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetParticDate;
GO
-- Date of the subject's last study participation (participate code 0).
CREATE PROCEDURE dbo.uspGetParticDate
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TOP 1 CONVERT(char(10), Date1, 101) AS aDate
    FROM participationhistory
    WHERE SubjectId = @SubjectId AND Participate = 0
    ORDER BY Date1 DESC, ParticId DESC;
END;
GO

IF OBJECT_ID('dbo.uspGetSubjectNoTest', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetSubjectNoTest;
GO
-- Subjects with a unit and no audiogram: any Audiogram Manager test is new for them.
CREATE PROCEDURE dbo.uspGetSubjectNoTest
AS
BEGIN
    SET NOCOUNT ON;
    SELECT s.SubjectId, s.Unit
    FROM subjects s
    WHERE s.Unit <> 0
      AND NOT EXISTS (SELECT 1 FROM aud a WHERE a.SubjectId = s.SubjectId)
    ORDER BY s.SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspGetSubjectandDate', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetSubjectandDate;
GO
-- Subjects with a unit and at least one audiogram, with the date of their latest test,
-- for the bulk update from the Audiogram Manager.
CREATE PROCEDURE dbo.uspGetSubjectandDate
AS
BEGIN
    SET NOCOUNT ON;
    SELECT s.SubjectId, CONVERT(char(10), max(a.TestDate), 101) AS TestDate, s.Unit
    FROM subjects s
    JOIN aud a ON a.SubjectId = s.SubjectId
    WHERE s.Unit <> 0
    GROUP BY s.SubjectId, s.Unit
    ORDER BY s.SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspGetTestId', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetTestId;
GO
-- The subject's most recently stored audiogram (highest TestId, not the latest test
-- date): the save calls it right after uspWriteNewAud to find the test it wrote.
CREATE PROCEDURE dbo.uspGetTestId
    @subjectid int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TOP 1 TestId
    FROM aud
    WHERE SubjectId = @subjectid
    ORDER BY TestId DESC;
END;
GO

IF OBJECT_ID('dbo.uspGetZone', 'P') IS NOT NULL DROP PROCEDURE dbo.uspGetZone;
GO
-- Distance zone of a zip code; no row for a zip the table does not know.
CREATE PROCEDURE dbo.uspGetZone
    @zip int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT DZone FROM zones WHERE Zip = @zip;
END;
GO

IF OBJECT_ID('dbo.uspLoadAudHistoryPts', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadAudHistoryPts;
GO
-- The symbols of an older test: only its own (recent) ones, since symbols carried over
-- from earlier tests belong to those tests.
CREATE PROCEDURE dbo.uspLoadAudHistoryPts
    @TestId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT xy, symbol, mask, recent, type
    FROM audpoints
    WHERE TestId = @TestId AND recent = 1
    ORDER BY PointId;
END;
GO

IF OBJECT_ID('dbo.uspLoadAudPts', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadAudPts;
GO
-- The symbols of a test in plotting order.
CREATE PROCEDURE dbo.uspLoadAudPts
    @TestId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT xy, symbol, mask, recent, type
    FROM audpoints
    WHERE TestId = @TestId
    ORDER BY PointId;
END;
GO

IF OBJECT_ID('dbo.uspLoadAudiogram', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadAudiogram;
GO
-- One audiogram test with every field the chart and data forms show.
CREATE PROCEDURE dbo.uspLoadAudiogram
    @testid int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT CONVERT(char(10), TestDate, 101) AS TestDate, TestedBy, Recommend, Method, Reliability, Comments,
        Imported, TympL, TympR, PeakYL, PeakYR, PeakPressL, PeakPressR, ReflexL, ReflexR,
        ETFVolL, ETFVolR, ETFRelL, ETFRelR, ImpressL, ImpressR, ImpressSF, ABRL, ABRR, Dizziness,
        FullnessL, FullnessR, HearingAidsL, HearingAidsR, HxHearingLoss, NoiseExp, OAEL, OAER, OM,
        SpchLang, Sped, TinnitusL, TinnitusR,
        CochImpL, CochImpR,
        SRTR, SATR, Lev1R, Lev2R, Lev3R, Lev4R, Lev5R, PC1R, PC2R, PC3R, PC4R, PC5R, MatR,
        SRTL, SATL, Lev1L, Lev2L, Lev3L, Lev4L, Lev5L, PC1L, PC2L, PC3L, PC4L, PC5L, MatL,
        SRTSF, SATSF
    FROM aud
    WHERE TestId = @testid;
END;
GO

IF OBJECT_ID('dbo.uspLoadCiData', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadCiData;
GO
-- The subject's hearing history before implantation.
CREATE PROCEDURE dbo.uspLoadCiData
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT DurationPriorL, DurationPriorR, DegreePriorL, DegreePriorR, NatureL, NatureR,
        EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR, DurationUnaidedL, DurationUnaidedR,
        Processor1, Processor2
    FROM cidata
    WHERE SubjectId = @SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspLoadCiDevices', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadCiDevices;
GO
-- The subject's implanted devices in the order they were stored.
CREATE PROCEDURE dbo.uspLoadCiDevices
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT Ear, Device, Positioner, CONVERT(char(10), SurgDate, 101) AS surgdate,
        CONVERT(char(10), StimDate, 101) AS StimDate, AgeAtImplant, Surgeon, Hospital, Status,
        CONVERT(char(10), ExplantDate, 101) AS XDate
    FROM CiDevice
    WHERE SubjectId = @SubjectId
    ORDER BY RowId;
END;
GO

IF OBJECT_ID('dbo.uspLoadDataset', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadDataset;
GO
-- The parameters a dataset was drawn with.
CREATE PROCEDURE dbo.uspLoadDataset
    @Irb varchar(50),
    @Name varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT Query FROM dataset WHERE Irb = @Irb AND Dataset = @Name;
END;
GO

IF OBJECT_ID('dbo.uspLoadFeedback', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadFeedback;
GO
-- Participation rows of a subject: all of them for IRB and dataset "none", else the
-- one row of that IRB and dataset. Newest first.
CREATE PROCEDURE dbo.uspLoadFeedback
    @SubjectId int,
    @Irb varchar(50),
    @Dataset varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT p.Irb, p.Contacted, p.Participate, CONVERT(char(10), p.Date1, 101) AS Date1,
        CONVERT(char(10), p.Date2, 101) AS Date2, p.Appts, p.Show, p.Completed, p.CallAgain, p.Lab, p.Dataset,
        CONVERT(char(10), p.FeedbackDate, 101) AS FDate, coalesce(d.ProjectTitle, '') AS ProjectTitle,
        coalesce(d.GrantNo, '') AS GrantNo, p.ExContact, p.ExPartic, p.Sessions, p.Comments
    FROM participationhistory p
    LEFT JOIN dataset d ON d.Dataset = p.Dataset AND d.Irb = p.Irb
    WHERE p.SubjectId = @SubjectId
      AND ((@Irb = 'none' AND @Dataset = 'none') OR (p.Irb = @Irb AND p.Dataset = @Dataset))
    ORDER BY p.Date1 DESC, p.ParticId DESC;
END;
GO

IF OBJECT_ID('dbo.uspLoadHistoryAudiogram', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadHistoryAudiogram;
GO
-- An older audiogram test, as shown while paging the history.
CREATE PROCEDURE dbo.uspLoadHistoryAudiogram
    @testid int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT CONVERT(char(10), TestDate, 101) AS TestDate, TestedBy, Recommend, Method, Reliability, Comments,
        Imported, TympL, TympR, PeakYL, PeakYR, PeakPressL, PeakPressR, ReflexL, ReflexR,
        ETFVolL, ETFVolR, ETFRelL, ETFRelR, ImpressL, ImpressR, ImpressSF, ABRL, ABRR, Dizziness,
        FullnessL, FullnessR, HearingAidsL, HearingAidsR, HxHearingLoss, NoiseExp, OAEL, OAER, OM,
        SpchLang, Sped, TinnitusL, TinnitusR,
        SRTR, SATR, Lev1R, Lev2R, Lev3R, Lev4R, Lev5R, PC1R, PC2R, PC3R, PC4R, PC5R, MatR,
        SRTL, SATL, Lev1L, Lev2L, Lev3L, Lev4L, Lev5L, PC1L, PC2L, PC3L, PC4L, PC5L, MatL,
        SRTSF, SATSF
    FROM aud
    WHERE TestId = @testid;
END;
GO

IF OBJECT_ID('dbo.uspLoadPers', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadPers;
GO
-- Staff members of one status (0 to 3), or all of them for 4.
CREATE PROCEDURE dbo.uspLoadPers
    @status int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT UserName, LastName, FirstName, PersId
    FROM pers
    WHERE @status = 4 OR Status = @status
    ORDER BY UserName;
END;
GO

IF OBJECT_ID('dbo.uspLoadPersbyUsername', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadPersbyUsername;
GO
-- One staff member by login name.
CREATE PROCEDURE dbo.uspLoadPersbyUsername
    @user varchar(50)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT PersId, LastName AS Lastname, FirstName AS Firstname, Status,
        CONVERT(char(10), Citi, 101) AS Citi, CONVERT(char(10), Nih, 101) AS Nih
    FROM pers
    WHERE UserName = @user;
END;
GO

IF OBJECT_ID('dbo.uspLoadRecruitMethods', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadRecruitMethods;
GO
-- The recruitment methods, sorted.
CREATE PROCEDURE dbo.uspLoadRecruitMethods
AS
BEGIN
    SET NOCOUNT ON;
    SELECT method FROM recruitment ORDER BY method;
END;
GO

IF OBJECT_ID('dbo.uspLoadSpeech', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadSpeech;
GO
-- The subject's speech, language and literacy tests in the order stored.
CREATE PROCEDURE dbo.uspLoadSpeech
    @SubjectId int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT TestId, TestName, CONVERT(char(10), TestDate, 101) AS TDate, AgeAtTest, TestedBy, Lab, Screening,
        RawScore, StandardScore, AgeEquivalent, Percentile, SD, Other, Comments
    FROM speech
    WHERE SubjectId = @SubjectId
    ORDER BY TestId;
END;
GO

IF OBJECT_ID('dbo.uspLoadSubject', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadSubject;
GO
-- Loads one subject: by unit when the unit is not 0, else by last and first name and,
-- when one is given, birth date. The oldest matching entry comes first.
CREATE PROCEDURE dbo.uspLoadSubject
    @unit int,
    @last varchar(50),
    @first varchar(50),
    @birth datetime
AS
BEGIN
    SET NOCOUNT ON;
    SELECT
        s.SubjectId AS SubjectID, s.Address, CONVERT(char(10), s.Birthdate, 101) AS Birth, s.City,
        CONVERT(char(10), s.DateofEntry, 101) AS DateEntry, CONVERT(char(10), s.InitialDateofConsent, 101) AS DateInitial,
        CONVERT(char(10), s.LastDateofConsent, 101) AS DateLast, CONVERT(char(10), s.LastUpdate, 101) AS DateUpdate,
        s.Email, s.EnteredBy, s.Ethnicity, s.Race, s.Firstname, s.Sex, s.PrimaryLang, s.Lastname,
        s.Notes, s.PatImpression, s.Phone1, s.Phone1Type, s.Phone2, s.Phone2Type, s.State AS state,
        s.Unit AS unit, s.Status, s.Zip AS zip, s.Longterm, s.Shortterm, s.Workday, s.Evenings,
        s.Weekends, s.Other, s.Recruitment, s.ScreeningImpr, s.Parent, s.Contact,
        CONVERT(char(10), s.Sent, 101) AS dSent, CONVERT(char(10), s.Returned, 101) AS dReturned, s.Bilingual, s.LossType,
        s.Cochlear, s.School, s.PastSpeech, s.CurrentSpeech, s.CochlearImplant
    FROM subjects s
    WHERE (@unit <> 0 AND s.Unit = @unit)
       OR (@unit = 0 AND s.Lastname = @last AND s.Firstname = @first
           AND (@birth = '19000101' OR s.Birthdate = @birth))
    ORDER BY s.SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspLoadSubjectbyId', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadSubjectbyId;
GO
-- Loads one subject by its key, with its age in whole months for the reports
-- (0 when the birth date is unknown).
CREATE PROCEDURE dbo.uspLoadSubjectbyId
    @id int
AS
BEGIN
    SET NOCOUNT ON;
    SELECT
        s.SubjectId AS SubjectID, s.Address, CONVERT(char(10), s.Birthdate, 101) AS Birth, s.City,
        CONVERT(char(10), s.DateofEntry, 101) AS DateEntry, CONVERT(char(10), s.InitialDateofConsent, 101) AS DateInitial,
        CONVERT(char(10), s.LastDateofConsent, 101) AS DateLast, CONVERT(char(10), s.LastUpdate, 101) AS DateUpdate,
        s.Email, s.EnteredBy, s.Ethnicity, s.Race, s.Firstname, s.Sex, s.PrimaryLang, s.Lastname,
        s.Notes, s.PatImpression, s.Phone1, s.Phone1Type, s.Phone2, s.Phone2Type, s.State AS state,
        s.Unit AS unit, s.Status, s.Zip AS zip, s.Longterm, s.Shortterm, s.Workday, s.Evenings,
        s.Weekends, s.Other, s.Recruitment, s.ScreeningImpr, s.Parent, s.Contact,
        CONVERT(char(10), s.Sent, 101) AS dSent, CONVERT(char(10), s.Returned, 101) AS dReturned, s.Bilingual, s.LossType,
        s.Cochlear, s.School, s.PastSpeech, s.CurrentSpeech, s.CochlearImplant,
        CASE WHEN s.Birthdate IS NULL OR s.Birthdate < '19000102' THEN 0
             ELSE DATEDIFF(mm, s.Birthdate, GETDATE())
                  - CASE WHEN DAY(GETDATE()) < DAY(s.Birthdate) THEN 1 ELSE 0 END
        END AS age
    FROM subjects s
    WHERE s.SubjectId = @id;
END;
GO

IF OBJECT_ID('dbo.uspLookup', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLookup;
GO
-- Subjects whose names match both LIKE patterns, sorted by name; age carries the
-- birth date as text.
CREATE PROCEDURE dbo.uspLookup
    @last varchar(51),
    @first varchar(51)
AS
BEGIN
    SET NOCOUNT ON;
    SELECT Firstname, Lastname, Unit, CONVERT(char(10), Birthdate, 101) AS age, SubjectId
    FROM subjects
    WHERE Lastname LIKE @last AND Firstname LIKE @first
    ORDER BY Lastname, Firstname, SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspReOpenDataset', 'P') IS NOT NULL DROP PROCEDURE dbo.uspReOpenDataset;
GO
-- Releases a subject of a closed dataset again; a dataset is open while it has
-- release rows. A subject already released is not released twice.
CREATE PROCEDURE dbo.uspReOpenDataset
    @SubjectId int,
    @Irb varchar(50),
    @Title varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO release (Title, Irb, SubjectId, ReleaseDate)
    SELECT @Title, @Irb, @SubjectId, GETDATE()
    WHERE NOT EXISTS (SELECT 1 FROM release
        WHERE Title = @Title AND Irb = @Irb AND SubjectId = @SubjectId);
END;
GO

IF OBJECT_ID('dbo.uspUpdateAccount', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateAccount;
GO
-- Gives a login the role of its new staff status in Quorin, Aud and CID alike:
-- 0 active in QuorinUser, 3 administrator in QuorinAdmin; 1 inactive and 2 without
-- password in neither, so an inactivated member loses access to every database at once.
CREATE PROCEDURE dbo.uspUpdateAccount
    @user varchar(50),
    @status int
AS
BEGIN
    SET NOCOUNT ON;
    -- All or nothing: a failure part-way rolls back every statement, and the
    -- caller's open transaction with it.
    SET XACT_ABORT ON;
    BEGIN TRANSACTION;
    -- The login's user and the role of the status in each of the three databases: a
    -- user in Aud and CID is created (or re-mapped to a login made again) as needed;
    -- status 0 gives QuorinUser, 3 QuorinAdmin, 1 and 2 neither. Runs with the
    -- caller's rights: QuorinAdmin holds ALTER ANY USER and ALTER ANY ROLE in all three.
    DECLARE @roles nvarchar(max);
    SET @roles = N'
        DECLARE @ddl nvarchar(400);
        SET @ddl = NULL;
        IF SUSER_ID(@u) IS NOT NULL AND DATABASE_PRINCIPAL_ID(@u) IS NULL
            SET @ddl = N''CREATE USER '' + QUOTENAME(@u) + N'' FOR LOGIN '' + QUOTENAME(@u)
        ELSE IF SUSER_ID(@u) IS NOT NULL
             AND (SELECT sid FROM sys.database_principals WHERE name = @u) <> SUSER_SID(@u)
            SET @ddl = N''ALTER USER '' + QUOTENAME(@u) + N'' WITH LOGIN = '' + QUOTENAME(@u);
        IF @ddl IS NOT NULL EXEC (@ddl);
        IF EXISTS (SELECT 1 FROM sys.database_role_members rm
                   JOIN sys.database_principals r ON r.principal_id = rm.role_principal_id
                   JOIN sys.database_principals m ON m.principal_id = rm.member_principal_id
                   WHERE r.name = N''QuorinUser'' AND m.name = @u)
            EXEC sp_droprolemember N''QuorinUser'', @u;
        IF EXISTS (SELECT 1 FROM sys.database_role_members rm
                   JOIN sys.database_principals r ON r.principal_id = rm.role_principal_id
                   JOIN sys.database_principals m ON m.principal_id = rm.member_principal_id
                   WHERE r.name = N''QuorinAdmin'' AND m.name = @u)
            EXEC sp_droprolemember N''QuorinAdmin'', @u;
        IF DATABASE_PRINCIPAL_ID(@u) IS NOT NULL
        BEGIN
            IF @s = 0 EXEC sp_addrolemember N''QuorinUser'', @u;
            IF @s = 3 EXEC sp_addrolemember N''QuorinAdmin'', @u;
        END;';
    EXEC Quorin.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    EXEC Aud.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    EXEC CID.sys.sp_executesql @roles, N'@u sysname, @s int', @u = @user, @s = @status;
    UPDATE pers SET Status = @status WHERE UserName = @user;
    COMMIT TRANSACTION;
END;
GO

IF OBJECT_ID('dbo.uspUpdateAud', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateAud;
GO
-- Rewrites a stored audiogram test.
CREATE PROCEDURE dbo.uspUpdateAud
    @id int,
    @SubjectId int,
    @TestDate datetime,
    @TestedBy varchar(50),
    @Reliability int,
    @Method int,
    @Imported int,
    @ImpressL int,
    @ImpressR int,
    @ImpressSF int,
    @TinnitusL int,
    @TinnitusR int,
    @FullnessL int,
    @FullnessR int,
    @HearingAidsL int,
    @HearingAidsR int,
    @Dizziness int,
    @NoiseExp int,
    @HxHearingLoss int,
    @Sped int,
    @SpchLang int,
    @OM int,
    @OaeL int,
    @OaeR int,
    @AbrL int,
    @AbrR int,
    @TympL int,
    @TympR int,
    @PeakYL float,
    @PeakYR float,
    @PeakPressL float,
    @PeakPressR float,
    @ReflexL int,
    @ReflexR int,
    @ETFVolL float,
    @ETFVolR float,
    @ETFRelL float,
    @ETFRelR float,
    @SrtR int,
    @SatR int,
    @Lev1R int,
    @Lev2R int,
    @Lev3R int,
    @Lev4R int,
    @Lev5R int,
    @Pc1R int,
    @Pc2R int,
    @Pc3R int,
    @Pc4R int,
    @Pc5R int,
    @MatR varchar(50),
    @SrtL int,
    @SatL int,
    @Lev1L int,
    @Lev2L int,
    @Lev3L int,
    @Lev4L int,
    @Lev5L int,
    @Pc1L int,
    @Pc2L int,
    @Pc3L int,
    @Pc4L int,
    @Pc5L int,
    @MatL varchar(50),
    @SrtSF int,
    @SatSF int,
    @Comments varchar(max),
    @Recommend varchar(max),
    @CochImpL int,
    @CochImpR int
AS
BEGIN
    SET NOCOUNT ON;
    UPDATE aud SET
        TestDate = @TestDate, TestedBy = @TestedBy, Reliability = @Reliability, Method = @Method,
        Imported = @Imported, ImpressL = @ImpressL, ImpressR = @ImpressR, ImpressSF = @ImpressSF,
        TinnitusL = @TinnitusL, TinnitusR = @TinnitusR, FullnessL = @FullnessL, FullnessR = @FullnessR,
        HearingAidsL = @HearingAidsL, HearingAidsR = @HearingAidsR, Dizziness = @Dizziness, NoiseExp = @NoiseExp,
        HxHearingLoss = @HxHearingLoss, Sped = @Sped, SpchLang = @SpchLang, OM = @OM,
        OAEL = @OaeL, OAER = @OaeR, ABRL = @AbrL, ABRR = @AbrR,
        TympL = @TympL, TympR = @TympR, PeakYL = @PeakYL, PeakYR = @PeakYR,
        PeakPressL = @PeakPressL, PeakPressR = @PeakPressR, ReflexL = @ReflexL, ReflexR = @ReflexR,
        ETFVolL = @ETFVolL, ETFVolR = @ETFVolR, ETFRelL = @ETFRelL, ETFRelR = @ETFRelR,
        SRTR = @SrtR, SATR = @SatR, Lev1R = @Lev1R, Lev2R = @Lev2R,
        Lev3R = @Lev3R, Lev4R = @Lev4R, Lev5R = @Lev5R, PC1R = @Pc1R,
        PC2R = @Pc2R, PC3R = @Pc3R, PC4R = @Pc4R, PC5R = @Pc5R,
        MatR = @MatR, SRTL = @SrtL, SATL = @SatL, Lev1L = @Lev1L,
        Lev2L = @Lev2L, Lev3L = @Lev3L, Lev4L = @Lev4L, Lev5L = @Lev5L,
        PC1L = @Pc1L, PC2L = @Pc2L, PC3L = @Pc3L, PC4L = @Pc4L,
        PC5L = @Pc5L, MatL = @MatL, SRTSF = @SrtSF, SATSF = @SatSF,
        Comments = @Comments, Recommend = @Recommend, CochImpL = @CochImpL, CochImpR = @CochImpR
    WHERE TestId = @id AND SubjectId = @SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspUpdateFeedback', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateFeedback;
GO
-- Writes the researcher's feedback for one subject in one dataset and stamps the
-- feedback date; a row that does not exist yet is added. @Done 1 marks the subject's
-- feedback as final.
CREATE PROCEDURE dbo.uspUpdateFeedback
    @SubjectId int,
    @Irb varchar(50),
    @Dataset varchar(100),
    @Contact int,
    @ExContact varchar(200),
    @Participated int,
    @ExParticipated varchar(200),
    @Date1 datetime,
    @Date2 datetime,
    @Show int,
    @Appts int,
    @Completed int,
    @Call int,
    @Lab varchar(100),
    @Done int,
    @Sessions int,
    @Comments varchar(max)
AS
BEGIN
    SET NOCOUNT ON;
    -- All or nothing: a failure part-way rolls back every statement, and the
    -- caller's open transaction with it.
    SET XACT_ABORT ON;
    BEGIN TRANSACTION;
    UPDATE participationhistory SET
        Contacted = @Contact, ExContact = @ExContact, Participate = @Participated,
        ExPartic = @ExParticipated, Date1 = @Date1, Date2 = @Date2, Show = @Show, Appts = @Appts,
        Completed = @Completed, CallAgain = @Call, Lab = @Lab, Done = @Done, Sessions = @Sessions,
        Comments = @Comments, FeedbackDate = GETDATE()
    WHERE SubjectId = @SubjectId AND Irb = @Irb AND Dataset = @Dataset;
    INSERT INTO participationhistory (SubjectId, Irb, Dataset, Contacted, ExContact, Participate,
        ExPartic, Date1, Date2, Show, Appts, Completed, CallAgain, Lab, Done, Sessions, Comments,
        FeedbackDate)
    SELECT @SubjectId, @Irb, @Dataset, @Contact, @ExContact, @Participated, @ExParticipated,
        @Date1, @Date2, @Show, @Appts, @Completed, @Call, @Lab, @Done, @Sessions, @Comments, GETDATE()
    WHERE @Irb <> '' AND NOT EXISTS (SELECT 1 FROM participationhistory
        WHERE SubjectId = @SubjectId AND Irb = @Irb AND Dataset = @Dataset);
    COMMIT TRANSACTION;
END;
GO

IF OBJECT_ID('dbo.uspUpdatePers', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdatePers;
GO
-- Rewrites a staff member's row.
CREATE PROCEDURE dbo.uspUpdatePers
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
BEGIN
    SET NOCOUNT ON;
    UPDATE pers SET
        LastName = @last, FirstName = @first, Name = @name, UserName = @user, Citi = @citi,
        Nih = @nih, Status = @status, Other = @other, Review = @Review
    WHERE PersId = @PersId;
END;
GO

IF OBJECT_ID('dbo.uspUpdateQuorinCI', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateQuorinCI;
GO
-- Brings the implant data of every subject whose unit is exactly one CID patient up to
-- date from CID: history, the two latest processors, devices and speech rows are
-- replaced and the subject is marked as having an implant. Subjects not in CID are left
-- alone, and so are those whose unit several CID patients share: which of them is the
-- subject cannot be told. The one row returned counts the subjects updated and those
-- left for a shared unit.
CREATE PROCEDURE dbo.uspUpdateQuorinCI
AS
BEGIN
    SET NOCOUNT ON;
    -- A failure part-way (a value too long for its column) rolls back the whole
    -- update, the caller's open transaction with it, instead of committing the deletes.
    SET XACT_ABORT ON;
    DECLARE @k TABLE (SubjectId int PRIMARY KEY, PatientId int, Patients int);
    INSERT INTO @k (SubjectId, PatientId, Patients)
    SELECT s.SubjectId, MIN(p.PatientId), COUNT(*)
    FROM subjects s
    JOIN CID.dbo.patient p ON p.Unit = CAST(s.Unit AS varchar(20))
    WHERE s.Unit <> 0
    GROUP BY s.SubjectId;
    DECLARE @m TABLE (SubjectId int PRIMARY KEY, PatientId int);
    INSERT INTO @m (SubjectId, PatientId) SELECT SubjectId, PatientId FROM @k WHERE Patients = 1;
    BEGIN TRANSACTION;
    DELETE FROM cidata WHERE SubjectId IN (SELECT SubjectId FROM @m);
    INSERT INTO cidata (SubjectId, DurationPriorL, DurationPriorR, DegreePriorL, DegreePriorR,
        NatureL, NatureR, EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR, DurationUnaidedL,
        DurationUnaidedR, Processor1, Processor2)
    SELECT m.SubjectId, p.DurationLeft, p.DurationRight, p.DegreePriorLeft, p.DegreePriorRight,
        p.NatureOnsetLeft, p.NatureOnsetRight, p.EtiologyLeft, p.EtiologyRight, p.HaLeft, p.HaRight,
        p.HaTimeLeft, p.HaTimeRight, p.UnaidedLeft, p.UnaidedRight,
        COALESCE((SELECT f.Processor FROM (SELECT e.Processor,
                      ROW_NUMBER() OVER (ORDER BY e.DateFit DESC) AS n
                  FROM CID.dbo.[external] e WHERE e.PatientId = p.PatientId) f WHERE f.n = 1), ''),
        COALESCE((SELECT f.Processor FROM (SELECT e.Processor,
                      ROW_NUMBER() OVER (ORDER BY e.DateFit DESC) AS n
                  FROM CID.dbo.[external] e WHERE e.PatientId = p.PatientId) f WHERE f.n = 2), '')
    FROM @m m JOIN CID.dbo.patient p ON p.PatientId = m.PatientId;
    DELETE FROM CiDevice WHERE SubjectId IN (SELECT SubjectId FROM @m);
    INSERT INTO CiDevice (SubjectId, Ear, Device, Positioner, SurgDate, StimDate, AgeAtImplant,
        Surgeon, Hospital, Status, ExplantDate)
    SELECT m.SubjectId, i.Ear, i.Device, i.Positioner, i.SurgeryDate, i.StimDate, i.AgeAtImplant,
        i.Surgeon, i.Hospital, i.Status, i.DateOfExplant
    FROM @m m JOIN CID.dbo.[Internal] i ON i.PatientId = m.PatientId
    ORDER BY m.SubjectId, i.SurgeryDate DESC;
    DELETE FROM cispeech WHERE SubjectId IN (SELECT SubjectId FROM @m);
    INSERT INTO cispeech (SubjectId, DataType, TestType, TestName, Score, TimeIS, Condition)
    SELECT m.SubjectId, CASE WHEN c.testtype = 1 THEN 'Pre Implant' ELSE 'Post Implant' END,
        c.type, c.name, c.score, c.time, c.Ear
    FROM @m m JOIN CID.dbo.speech c ON c.patientid = m.PatientId
    ORDER BY m.SubjectId, c.SpeechId;
    UPDATE subjects SET CochlearImplant = 'Yes' WHERE SubjectId IN (SELECT SubjectId FROM @m);
    COMMIT TRANSACTION;
    SELECT COUNT(CASE WHEN Patients = 1 THEN 1 END) AS Updated,
           COUNT(CASE WHEN Patients > 1 THEN 1 END) AS SharedUnit
    FROM @k;
END;
GO

IF OBJECT_ID('dbo.uspUpdateSpeech', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateSpeech;
GO
-- Rewrites a stored speech test of the subject.
CREATE PROCEDURE dbo.uspUpdateSpeech
    @SubjectId int,
    @TestName varchar(100),
    @TestDate datetime,
    @AgeAtTest varchar(30),
    @TestedBy varchar(50),
    @Lab varchar(100),
    @Screening varchar(20),
    @RawScore varchar(20),
    @StandardScore varchar(20),
    @AgeEquivalent int,
    @Percentile varchar(20),
    @SD varchar(20),
    @Other varchar(100),
    @Comments varchar(max),
    @TestId int
AS
BEGIN
    SET NOCOUNT ON;
    UPDATE speech SET
        TestName = @TestName, TestDate = @TestDate, AgeAtTest = @AgeAtTest, TestedBy = @TestedBy,
        Lab = @Lab, Screening = @Screening, RawScore = @RawScore, StandardScore = @StandardScore,
        AgeEquivalent = @AgeEquivalent, Percentile = @Percentile, SD = @SD, Other = @Other,
        Comments = @Comments
    WHERE TestId = @TestId AND SubjectId = @SubjectId;
END;
GO

IF OBJECT_ID('dbo.uspUpdateSubject', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateSubject;
GO
-- Rewrites a stored subject.
CREATE PROCEDURE dbo.uspUpdateSubject
    @id int,
    @last varchar(50),
    @first varchar(50),
    @unit int,
    @birth datetime,
    @sex varchar(20),
    @ethnicity varchar(50),
    @race varchar(100),
    @address varchar(100),
    @city varchar(50),
    @state varchar(20),
    @zip int,
    @phone1 varchar(30),
    @phone1type varchar(20),
    @phone2 varchar(30),
    @phone2type varchar(20),
    @email varchar(100),
    @primarylang varchar(50),
    @patImpress varchar(50),
    @DateofEntry datetime,
    @LastUpdate datetime,
    @Enteredby varchar(50),
    @status int,
    @InitialDate datetime,
    @LastDate datetime,
    @Notes varchar(max),
    @zone int,
    @longterm int,
    @shortterm int,
    @workday int,
    @Evenings int,
    @weekends int,
    @other int,
    @recruitment varchar(100),
    @screening varchar(50),
    @parent varchar(100),
    @contact varchar(30),
    @sent datetime,
    @returned datetime,
    @bilingual varchar(20),
    @losstype varchar(20),
    @cochlear varchar(20),
    @school varchar(100),
    @pastspeech varchar(20),
    @currentspeech varchar(20),
    @cochlearyesno varchar(10)
AS
BEGIN
    SET NOCOUNT ON;
    UPDATE subjects SET
        Lastname = @last,
        Firstname = @first,
        Unit = @unit,
        Birthdate = @birth,
        Sex = @sex,
        Ethnicity = @ethnicity,
        Race = @race,
        Address = @address,
        City = @city,
        State = @state,
        Zip = @zip,
        Phone1 = @phone1,
        Phone1Type = @phone1type,
        Phone2 = @phone2,
        Phone2Type = @phone2type,
        Email = @email,
        PrimaryLang = @primarylang,
        PatImpression = @patImpress,
        DateofEntry = @DateofEntry,
        LastUpdate = @LastUpdate,
        EnteredBy = @Enteredby,
        Status = @status,
        InitialDateofConsent = @InitialDate,
        LastDateofConsent = @LastDate,
        Notes = @Notes,
        Zone = @zone,
        Longterm = @longterm,
        Shortterm = @shortterm,
        Workday = @workday,
        Evenings = @Evenings,
        Weekends = @weekends,
        Other = @other,
        Recruitment = @recruitment,
        ScreeningImpr = @screening,
        Parent = @parent,
        Contact = @contact,
        Sent = @sent,
        Returned = @returned,
        Bilingual = @bilingual,
        LossType = @losstype,
        Cochlear = @cochlear,
        School = @school,
        PastSpeech = @pastspeech,
        CurrentSpeech = @currentspeech,
        CochlearImplant = @cochlearyesno
    WHERE SubjectId = @id;
END;
GO

IF OBJECT_ID('dbo.uspWriteAudPts', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteAudPts;
GO
-- Stores one symbol of a test.
CREATE PROCEDURE dbo.uspWriteAudPts
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO audpoints (TestId, symbol, xy, mask, recent, type)
    VALUES (@TestId, @symbol, @xy, @mask, @recent, @type);
END;
GO

IF OBJECT_ID('dbo.uspWriteCiData', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteCiData;
GO
-- Stores the subject's implant history (one row per subject).
CREATE PROCEDURE dbo.uspWriteCiData
    @SubjectId int,
    @DurationPriorL int,
    @DurationPriorR int,
    @DegreePriorL varchar(50),
    @DegreePriorR varchar(50),
    @NatureL varchar(50),
    @NatureR varchar(50),
    @EtiologyL varchar(50),
    @EtiologyR varchar(50),
    @HaL int,
    @HaR int,
    @HaTimeL int,
    @HaTimeR int,
    @DurationUnaidedL int,
    @DurationUnaidedR int,
    @Processor1 varchar(50),
    @Processor2 varchar(50)
AS
BEGIN
    SET NOCOUNT ON;
    -- All or nothing: a failure part-way rolls back every statement, and the
    -- caller's open transaction with it.
    SET XACT_ABORT ON;
    BEGIN TRANSACTION;
    -- Updated in place when it is there, so that the change history holds only what changed.
    UPDATE cidata SET DurationPriorL = @DurationPriorL, DurationPriorR = @DurationPriorR,
        DegreePriorL = @DegreePriorL, DegreePriorR = @DegreePriorR, NatureL = @NatureL, NatureR = @NatureR,
        EtiologyL = @EtiologyL, EtiologyR = @EtiologyR, HAL = @HaL, HAR = @HaR, HaTimeL = @HaTimeL,
        HaTimeR = @HaTimeR, DurationUnaidedL = @DurationUnaidedL, DurationUnaidedR = @DurationUnaidedR,
        Processor1 = @Processor1, Processor2 = @Processor2
    WHERE SubjectId = @SubjectId;
    IF @@ROWCOUNT = 0
        INSERT INTO cidata (SubjectId, DurationPriorL, DurationPriorR, DegreePriorL,
            DegreePriorR, NatureL, NatureR, EtiologyL, EtiologyR, HAL, HAR, HaTimeL, HaTimeR,
            DurationUnaidedL, DurationUnaidedR, Processor1, Processor2)
        VALUES (@SubjectId, @DurationPriorL, @DurationPriorR, @DegreePriorL, @DegreePriorR, @NatureL,
            @NatureR, @EtiologyL, @EtiologyR, @HaL, @HaR, @HaTimeL, @HaTimeR, @DurationUnaidedL,
            @DurationUnaidedR, @Processor1, @Processor2);
    COMMIT TRANSACTION;
END;
GO

IF OBJECT_ID('dbo.uspWriteNewAud', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteNewAud;
GO
-- Stores a new audiogram test of a subject.
CREATE PROCEDURE dbo.uspWriteNewAud
    @SubjectId int,
    @TestDate datetime,
    @TestedBy varchar(50),
    @Reliability int,
    @Method int,
    @Imported int,
    @ImpressL int,
    @ImpressR int,
    @ImpressSF int,
    @TinnitusL int,
    @TinnitusR int,
    @FullnessL int,
    @FullnessR int,
    @HearingAidsL int,
    @HearingAidsR int,
    @Dizziness int,
    @NoiseExp int,
    @HxHearingLoss int,
    @Sped int,
    @SpchLang int,
    @OM int,
    @OaeL int,
    @OaeR int,
    @AbrL int,
    @AbrR int,
    @TympL int,
    @TympR int,
    @PeakYL float,
    @PeakYR float,
    @PeakPressL float,
    @PeakPressR float,
    @ReflexL int,
    @ReflexR int,
    @ETFVolL float,
    @ETFVolR float,
    @ETFRelL float,
    @ETFRelR float,
    @SrtR int,
    @SatR int,
    @Lev1R int,
    @Lev2R int,
    @Lev3R int,
    @Lev4R int,
    @Lev5R int,
    @Pc1R int,
    @Pc2R int,
    @Pc3R int,
    @Pc4R int,
    @Pc5R int,
    @MatR varchar(50),
    @SrtL int,
    @SatL int,
    @Lev1L int,
    @Lev2L int,
    @Lev3L int,
    @Lev4L int,
    @Lev5L int,
    @Pc1L int,
    @Pc2L int,
    @Pc3L int,
    @Pc4L int,
    @Pc5L int,
    @MatL varchar(50),
    @SrtSF int,
    @SatSF int,
    @Comments varchar(max),
    @Recommend varchar(max),
    @CochImpL int,
    @CochImpR int
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO aud (SubjectId,
        TestDate, TestedBy, Reliability, Method, Imported, ImpressL, ImpressR, ImpressSF,
        TinnitusL, TinnitusR, FullnessL, FullnessR, HearingAidsL, HearingAidsR, Dizziness, NoiseExp,
        HxHearingLoss, Sped, SpchLang, OM, OAEL, OAER, ABRL, ABRR,
        TympL, TympR, PeakYL, PeakYR, PeakPressL, PeakPressR, ReflexL, ReflexR,
        ETFVolL, ETFVolR, ETFRelL, ETFRelR, SRTR, SATR, Lev1R, Lev2R,
        Lev3R, Lev4R, Lev5R, PC1R, PC2R, PC3R, PC4R, PC5R,
        MatR, SRTL, SATL, Lev1L, Lev2L, Lev3L, Lev4L, Lev5L,
        PC1L, PC2L, PC3L, PC4L, PC5L, MatL, SRTSF, SATSF,
        Comments, Recommend, CochImpL, CochImpR)
    VALUES (@SubjectId,
        @TestDate, @TestedBy, @Reliability, @Method, @Imported, @ImpressL, @ImpressR, @ImpressSF,
        @TinnitusL, @TinnitusR, @FullnessL, @FullnessR, @HearingAidsL, @HearingAidsR, @Dizziness, @NoiseExp,
        @HxHearingLoss, @Sped, @SpchLang, @OM, @OaeL, @OaeR, @AbrL, @AbrR,
        @TympL, @TympR, @PeakYL, @PeakYR, @PeakPressL, @PeakPressR, @ReflexL, @ReflexR,
        @ETFVolL, @ETFVolR, @ETFRelL, @ETFRelR, @SrtR, @SatR, @Lev1R, @Lev2R,
        @Lev3R, @Lev4R, @Lev5R, @Pc1R, @Pc2R, @Pc3R, @Pc4R, @Pc5R,
        @MatR, @SrtL, @SatL, @Lev1L, @Lev2L, @Lev3L, @Lev4L, @Lev5L,
        @Pc1L, @Pc2L, @Pc3L, @Pc4L, @Pc5L, @MatL, @SrtSF, @SatSF,
        @Comments, @Recommend, @CochImpL, @CochImpR);
END;
GO

IF OBJECT_ID('dbo.uspWriteNewSpeech', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteNewSpeech;
GO
-- Stores a new speech, language or literacy test.
CREATE PROCEDURE dbo.uspWriteNewSpeech
    @SubjectId int,
    @TestName varchar(100),
    @TestDate datetime,
    @AgeAtTest varchar(30),
    @TestedBy varchar(50),
    @Lab varchar(100),
    @Screening varchar(20),
    @RawScore varchar(20),
    @StandardScore varchar(20),
    @AgeEquivalent int,
    @Percentile varchar(20),
    @SD varchar(20),
    @Other varchar(100),
    @Comments varchar(max)
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO speech (SubjectId, TestName, TestDate, AgeAtTest, TestedBy, Lab, Screening,
        RawScore, StandardScore, AgeEquivalent, Percentile, SD, Other, Comments)
    VALUES (@SubjectId, @TestName, @TestDate, @AgeAtTest, @TestedBy, @Lab, @Screening,
        @RawScore, @StandardScore, @AgeEquivalent, @Percentile, @SD, @Other, @Comments);
END;
GO

IF OBJECT_ID('dbo.uspWriteNewSubject', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteNewSubject;
GO
-- Stores a new subject; the caller fetches its key with uspGetNewSubjectId.
CREATE PROCEDURE dbo.uspWriteNewSubject
    @last varchar(50),
    @first varchar(50),
    @unit int,
    @birth datetime,
    @sex varchar(20),
    @ethnicity varchar(50),
    @race varchar(100),
    @address varchar(100),
    @city varchar(50),
    @state varchar(20),
    @zip int,
    @phone1 varchar(30),
    @phone1type varchar(20),
    @phone2 varchar(30),
    @phone2type varchar(20),
    @email varchar(100),
    @primarylang varchar(50),
    @patImpress varchar(50),
    @DateofEntry datetime,
    @LastUpdate datetime,
    @Enteredby varchar(50),
    @status int,
    @InitialDate datetime,
    @LastDate datetime,
    @Notes varchar(max),
    @zone int,
    @longterm int,
    @shortterm int,
    @workday int,
    @Evenings int,
    @weekends int,
    @other int,
    @recruitment varchar(100),
    @screening varchar(50),
    @parent varchar(100),
    @contact varchar(30),
    @sent datetime,
    @returned datetime,
    @bilingual varchar(20),
    @losstype varchar(20),
    @cochlear varchar(20),
    @school varchar(100),
    @pastspeech varchar(20),
    @currentspeech varchar(20),
    @cochlearyesno varchar(10)
AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO subjects (
        Lastname, Firstname, Unit, Birthdate, Sex, Ethnicity, Race, Address, City, State, Zip,
        Phone1, Phone1Type, Phone2, Phone2Type, Email, PrimaryLang, PatImpression, DateofEntry,
        LastUpdate, EnteredBy, Status, InitialDateofConsent, LastDateofConsent, Notes, Zone,
        Longterm, Shortterm, Workday, Evenings, Weekends, Other, Recruitment, ScreeningImpr, Parent,
        Contact, Sent, Returned, Bilingual, LossType, Cochlear, School, PastSpeech, CurrentSpeech,
        CochlearImplant)
    VALUES (
        @last, @first, @unit, @birth, @sex, @ethnicity, @race, @address, @city, @state, @zip,
        @phone1, @phone1type, @phone2, @phone2type, @email, @primarylang, @patImpress, @DateofEntry,
        @LastUpdate, @Enteredby, @status, @InitialDate, @LastDate, @Notes, @zone,
        @longterm, @shortterm, @workday, @Evenings, @weekends, @other, @recruitment, @screening, @parent,
        @contact, @sent, @returned, @bilingual, @losstype, @cochlear, @school, @pastspeech, @currentspeech,
        @cochlearyesno);
END;
GO

IF OBJECT_ID('dbo.uspWriteRecruitMethod', 'P') IS NOT NULL DROP PROCEDURE dbo.uspWriteRecruitMethod;
GO
-- Adds a recruitment method; one that exists already (in any case) is kept once.
CREATE PROCEDURE dbo.uspWriteRecruitMethod
    @method varchar(100)
AS
BEGIN
    SET NOCOUNT ON;
    IF LTRIM(RTRIM(@method)) <> '' AND NOT EXISTS (SELECT 1 FROM recruitment WHERE method = @method)
        INSERT INTO recruitment (method) VALUES (@method);
END;
GO


IF OBJECT_ID('dbo.uspLoadChangeHistory', 'P') IS NOT NULL DROP PROCEDURE dbo.uspLoadChangeHistory;
GO
-- The change history, newest first: of one subject (0: every subject and the rows of no
-- subject), by one login ('': anyone), since a moment.
CREATE PROCEDURE dbo.uspLoadChangeHistory
    @SubjectId int = 0,
    @ChangedBy varchar(128) = '',
    @Since datetime = '1900-01-01'
AS
BEGIN
    SET NOCOUNT ON;
    SELECT ChangeId, CONVERT(varchar(23), ChangedAt, 121) AS ChangedAt, ChangedBy, TableName, RowKey, SubjectId,
        ColumnName, OldValue, NewValue, ChangeKind
    FROM changelog
    WHERE (SubjectId = @SubjectId OR @SubjectId = 0)
        AND (ChangedBy = @ChangedBy OR @ChangedBy = '')
        AND ChangedAt >= @Since
    ORDER BY ChangedAt DESC, ChangeId DESC;
END;
GO

IF OBJECT_ID('dbo.uspDeleteAudPoint', 'P') IS NOT NULL DROP PROCEDURE dbo.uspDeleteAudPoint;
GO
-- Removes one symbol of a test (a save writes only the symbols that changed).
CREATE PROCEDURE dbo.uspDeleteAudPoint
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int
AS
BEGIN
    SET NOCOUNT ON;
    DELETE FROM audpoints
    WHERE TestId = @TestId AND symbol = @symbol AND xy = @xy AND mask = @mask AND recent = @recent AND type = @type;
END;
GO

IF OBJECT_ID('dbo.uspUpdateAudPoint', 'P') IS NOT NULL DROP PROCEDURE dbo.uspUpdateAudPoint;
GO
-- Changes one symbol of a test in its place: its mask, whether it is this test's, its class.
CREATE PROCEDURE dbo.uspUpdateAudPoint
    @TestId int,
    @symbol int,
    @xy int,
    @mask int,
    @recent int,
    @type int,
    @oldsymbol int,
    @oldxy int,
    @oldmask int,
    @oldrecent int,
    @oldtype int
AS
BEGIN
    SET NOCOUNT ON;
    UPDATE audpoints SET symbol = @symbol, xy = @xy, mask = @mask, recent = @recent, type = @type
    WHERE TestId = @TestId AND symbol = @oldsymbol AND xy = @oldxy AND mask = @oldmask AND recent = @oldrecent
        AND type = @oldtype;
END;
GO
