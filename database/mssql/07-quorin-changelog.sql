-- Generated from the registry's table of logged tables (database/ChangeLog.cpp); a test
-- keeps this file equal to what it gives. Run after 02 and 03, as a sysadmin.
USE Quorin;
GO

-- Nobody rewrites the history; a server administrator's deletion is itself logged.
IF OBJECT_ID('dbo.changelog_kept', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_kept;
GO
CREATE TRIGGER dbo.changelog_kept ON dbo.changelog INSTEAD OF UPDATE AS
    RAISERROR('The change history cannot be changed.', 16, 1);
GO
IF OBJECT_ID('dbo.changelog_deleted', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_deleted;
GO
CREATE TRIGGER dbo.changelog_deleted ON dbo.changelog AFTER DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'changelog', CONVERT(nvarchar(max), d.ChangeId), d.SubjectId,
        NULL, CONVERT(varchar(23), d.ChangedAt, 121) + ' ' + d.ChangedBy + ' ' + d.ChangeKind + ' '
            + d.TableName + ' ' + d.RowKey + COALESCE(' ' + d.ColumnName, ''), NULL, 'delete'
    FROM deleted AS d;
END;
GO

IF OBJECT_ID('dbo.changelog_subjects', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_subjects;
GO
CREATE TRIGGER dbo.changelog_subjects ON dbo.subjects AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'subjects', CONVERT(nvarchar(max), i.SubjectId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'subjects', CONVERT(nvarchar(max), i.SubjectId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.SubjectId = i.SubjectId
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('Lastname', CONVERT(nvarchar(max), d.Lastname), CONVERT(nvarchar(max), i.Lastname)),
        ('Firstname', CONVERT(nvarchar(max), d.Firstname), CONVERT(nvarchar(max), i.Firstname)),
        ('Unit', CONVERT(nvarchar(max), d.Unit), CONVERT(nvarchar(max), i.Unit)),
        ('Birthdate', REPLACE(CONVERT(varchar(23), d.Birthdate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Birthdate, 121), ' ', 'T')),
        ('Sex', CONVERT(nvarchar(max), d.Sex), CONVERT(nvarchar(max), i.Sex)),
        ('Ethnicity', CONVERT(nvarchar(max), d.Ethnicity), CONVERT(nvarchar(max), i.Ethnicity)),
        ('Race', CONVERT(nvarchar(max), d.Race), CONVERT(nvarchar(max), i.Race)),
        ('Address', CONVERT(nvarchar(max), d.Address), CONVERT(nvarchar(max), i.Address)),
        ('City', CONVERT(nvarchar(max), d.City), CONVERT(nvarchar(max), i.City)),
        ('State', CONVERT(nvarchar(max), d.State), CONVERT(nvarchar(max), i.State)),
        ('Zip', CONVERT(nvarchar(max), d.Zip), CONVERT(nvarchar(max), i.Zip)),
        ('Phone1', CONVERT(nvarchar(max), d.Phone1), CONVERT(nvarchar(max), i.Phone1)),
        ('Phone1Type', CONVERT(nvarchar(max), d.Phone1Type), CONVERT(nvarchar(max), i.Phone1Type)),
        ('Phone2', CONVERT(nvarchar(max), d.Phone2), CONVERT(nvarchar(max), i.Phone2)),
        ('Phone2Type', CONVERT(nvarchar(max), d.Phone2Type), CONVERT(nvarchar(max), i.Phone2Type)),
        ('Email', CONVERT(nvarchar(max), d.Email), CONVERT(nvarchar(max), i.Email)),
        ('PrimaryLang', CONVERT(nvarchar(max), d.PrimaryLang), CONVERT(nvarchar(max), i.PrimaryLang)),
        ('PatImpression', CONVERT(nvarchar(max), d.PatImpression), CONVERT(nvarchar(max), i.PatImpression)),
        ('DateofEntry', REPLACE(CONVERT(varchar(23), d.DateofEntry, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.DateofEntry, 121), ' ', 'T')),
        ('LastUpdate', REPLACE(CONVERT(varchar(23), d.LastUpdate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.LastUpdate, 121), ' ', 'T')),
        ('EnteredBy', CONVERT(nvarchar(max), d.EnteredBy), CONVERT(nvarchar(max), i.EnteredBy)),
        ('Status', CONVERT(nvarchar(max), d.Status), CONVERT(nvarchar(max), i.Status)),
        ('InitialDateofConsent', REPLACE(CONVERT(varchar(23), d.InitialDateofConsent, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.InitialDateofConsent, 121), ' ', 'T')),
        ('LastDateofConsent', REPLACE(CONVERT(varchar(23), d.LastDateofConsent, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.LastDateofConsent, 121), ' ', 'T')),
        ('Notes', CONVERT(nvarchar(max), d.Notes), CONVERT(nvarchar(max), i.Notes)),
        ('Zone', CONVERT(nvarchar(max), d.Zone), CONVERT(nvarchar(max), i.Zone)),
        ('Longterm', CONVERT(nvarchar(max), d.Longterm), CONVERT(nvarchar(max), i.Longterm)),
        ('Shortterm', CONVERT(nvarchar(max), d.Shortterm), CONVERT(nvarchar(max), i.Shortterm)),
        ('Workday', CONVERT(nvarchar(max), d.Workday), CONVERT(nvarchar(max), i.Workday)),
        ('Evenings', CONVERT(nvarchar(max), d.Evenings), CONVERT(nvarchar(max), i.Evenings)),
        ('Weekends', CONVERT(nvarchar(max), d.Weekends), CONVERT(nvarchar(max), i.Weekends)),
        ('Other', CONVERT(nvarchar(max), d.Other), CONVERT(nvarchar(max), i.Other)),
        ('Recruitment', CONVERT(nvarchar(max), d.Recruitment), CONVERT(nvarchar(max), i.Recruitment)),
        ('ScreeningImpr', CONVERT(nvarchar(max), d.ScreeningImpr), CONVERT(nvarchar(max), i.ScreeningImpr)),
        ('Parent', CONVERT(nvarchar(max), d.Parent), CONVERT(nvarchar(max), i.Parent)),
        ('Contact', CONVERT(nvarchar(max), d.Contact), CONVERT(nvarchar(max), i.Contact)),
        ('Sent', REPLACE(CONVERT(varchar(23), d.Sent, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Sent, 121), ' ', 'T')),
        ('Returned', REPLACE(CONVERT(varchar(23), d.Returned, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Returned, 121), ' ', 'T')),
        ('Bilingual', CONVERT(nvarchar(max), d.Bilingual), CONVERT(nvarchar(max), i.Bilingual)),
        ('LossType', CONVERT(nvarchar(max), d.LossType), CONVERT(nvarchar(max), i.LossType)),
        ('Cochlear', CONVERT(nvarchar(max), d.Cochlear), CONVERT(nvarchar(max), i.Cochlear)),
        ('School', CONVERT(nvarchar(max), d.School), CONVERT(nvarchar(max), i.School)),
        ('PastSpeech', CONVERT(nvarchar(max), d.PastSpeech), CONVERT(nvarchar(max), i.PastSpeech)),
        ('CurrentSpeech', CONVERT(nvarchar(max), d.CurrentSpeech), CONVERT(nvarchar(max), i.CurrentSpeech)),
        ('CochlearImplant', CONVERT(nvarchar(max), d.CochlearImplant), CONVERT(nvarchar(max), i.CochlearImplant))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'subjects', CONVERT(nvarchar(max), d.SubjectId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('Lastname', CONVERT(nvarchar(max), d.Lastname), NULL),
        ('Firstname', CONVERT(nvarchar(max), d.Firstname), NULL),
        ('Unit', CONVERT(nvarchar(max), d.Unit), NULL),
        ('Birthdate', REPLACE(CONVERT(varchar(23), d.Birthdate, 121), ' ', 'T'), NULL),
        ('Sex', CONVERT(nvarchar(max), d.Sex), NULL),
        ('Ethnicity', CONVERT(nvarchar(max), d.Ethnicity), NULL),
        ('Race', CONVERT(nvarchar(max), d.Race), NULL),
        ('Address', CONVERT(nvarchar(max), d.Address), NULL),
        ('City', CONVERT(nvarchar(max), d.City), NULL),
        ('State', CONVERT(nvarchar(max), d.State), NULL),
        ('Zip', CONVERT(nvarchar(max), d.Zip), NULL),
        ('Phone1', CONVERT(nvarchar(max), d.Phone1), NULL),
        ('Phone1Type', CONVERT(nvarchar(max), d.Phone1Type), NULL),
        ('Phone2', CONVERT(nvarchar(max), d.Phone2), NULL),
        ('Phone2Type', CONVERT(nvarchar(max), d.Phone2Type), NULL),
        ('Email', CONVERT(nvarchar(max), d.Email), NULL),
        ('PrimaryLang', CONVERT(nvarchar(max), d.PrimaryLang), NULL),
        ('PatImpression', CONVERT(nvarchar(max), d.PatImpression), NULL),
        ('DateofEntry', REPLACE(CONVERT(varchar(23), d.DateofEntry, 121), ' ', 'T'), NULL),
        ('LastUpdate', REPLACE(CONVERT(varchar(23), d.LastUpdate, 121), ' ', 'T'), NULL),
        ('EnteredBy', CONVERT(nvarchar(max), d.EnteredBy), NULL),
        ('Status', CONVERT(nvarchar(max), d.Status), NULL),
        ('InitialDateofConsent', REPLACE(CONVERT(varchar(23), d.InitialDateofConsent, 121), ' ', 'T'), NULL),
        ('LastDateofConsent', REPLACE(CONVERT(varchar(23), d.LastDateofConsent, 121), ' ', 'T'), NULL),
        ('Notes', CONVERT(nvarchar(max), d.Notes), NULL),
        ('Zone', CONVERT(nvarchar(max), d.Zone), NULL),
        ('Longterm', CONVERT(nvarchar(max), d.Longterm), NULL),
        ('Shortterm', CONVERT(nvarchar(max), d.Shortterm), NULL),
        ('Workday', CONVERT(nvarchar(max), d.Workday), NULL),
        ('Evenings', CONVERT(nvarchar(max), d.Evenings), NULL),
        ('Weekends', CONVERT(nvarchar(max), d.Weekends), NULL),
        ('Other', CONVERT(nvarchar(max), d.Other), NULL),
        ('Recruitment', CONVERT(nvarchar(max), d.Recruitment), NULL),
        ('ScreeningImpr', CONVERT(nvarchar(max), d.ScreeningImpr), NULL),
        ('Parent', CONVERT(nvarchar(max), d.Parent), NULL),
        ('Contact', CONVERT(nvarchar(max), d.Contact), NULL),
        ('Sent', REPLACE(CONVERT(varchar(23), d.Sent, 121), ' ', 'T'), NULL),
        ('Returned', REPLACE(CONVERT(varchar(23), d.Returned, 121), ' ', 'T'), NULL),
        ('Bilingual', CONVERT(nvarchar(max), d.Bilingual), NULL),
        ('LossType', CONVERT(nvarchar(max), d.LossType), NULL),
        ('Cochlear', CONVERT(nvarchar(max), d.Cochlear), NULL),
        ('School', CONVERT(nvarchar(max), d.School), NULL),
        ('PastSpeech', CONVERT(nvarchar(max), d.PastSpeech), NULL),
        ('CurrentSpeech', CONVERT(nvarchar(max), d.CurrentSpeech), NULL),
        ('CochlearImplant', CONVERT(nvarchar(max), d.CochlearImplant), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_aud', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_aud;
GO
CREATE TRIGGER dbo.changelog_aud ON dbo.aud AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'aud', CONVERT(nvarchar(max), i.TestId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'aud', CONVERT(nvarchar(max), i.TestId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.TestId = i.TestId
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), CONVERT(nvarchar(max), i.TestId)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('TestDate', REPLACE(CONVERT(varchar(23), d.TestDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.TestDate, 121), ' ', 'T')),
        ('TestedBy', CONVERT(nvarchar(max), d.TestedBy), CONVERT(nvarchar(max), i.TestedBy)),
        ('Reliability', CONVERT(nvarchar(max), d.Reliability), CONVERT(nvarchar(max), i.Reliability)),
        ('Method', CONVERT(nvarchar(max), d.Method), CONVERT(nvarchar(max), i.Method)),
        ('Imported', CONVERT(nvarchar(max), d.Imported), CONVERT(nvarchar(max), i.Imported)),
        ('ImpressL', CONVERT(nvarchar(max), d.ImpressL), CONVERT(nvarchar(max), i.ImpressL)),
        ('ImpressR', CONVERT(nvarchar(max), d.ImpressR), CONVERT(nvarchar(max), i.ImpressR)),
        ('ImpressSF', CONVERT(nvarchar(max), d.ImpressSF), CONVERT(nvarchar(max), i.ImpressSF)),
        ('TinnitusL', CONVERT(nvarchar(max), d.TinnitusL), CONVERT(nvarchar(max), i.TinnitusL)),
        ('TinnitusR', CONVERT(nvarchar(max), d.TinnitusR), CONVERT(nvarchar(max), i.TinnitusR)),
        ('FullnessL', CONVERT(nvarchar(max), d.FullnessL), CONVERT(nvarchar(max), i.FullnessL)),
        ('FullnessR', CONVERT(nvarchar(max), d.FullnessR), CONVERT(nvarchar(max), i.FullnessR)),
        ('HearingAidsL', CONVERT(nvarchar(max), d.HearingAidsL), CONVERT(nvarchar(max), i.HearingAidsL)),
        ('HearingAidsR', CONVERT(nvarchar(max), d.HearingAidsR), CONVERT(nvarchar(max), i.HearingAidsR)),
        ('Dizziness', CONVERT(nvarchar(max), d.Dizziness), CONVERT(nvarchar(max), i.Dizziness)),
        ('NoiseExp', CONVERT(nvarchar(max), d.NoiseExp), CONVERT(nvarchar(max), i.NoiseExp)),
        ('HxHearingLoss', CONVERT(nvarchar(max), d.HxHearingLoss), CONVERT(nvarchar(max), i.HxHearingLoss)),
        ('Sped', CONVERT(nvarchar(max), d.Sped), CONVERT(nvarchar(max), i.Sped)),
        ('SpchLang', CONVERT(nvarchar(max), d.SpchLang), CONVERT(nvarchar(max), i.SpchLang)),
        ('OM', CONVERT(nvarchar(max), d.OM), CONVERT(nvarchar(max), i.OM)),
        ('OAEL', CONVERT(nvarchar(max), d.OAEL), CONVERT(nvarchar(max), i.OAEL)),
        ('OAER', CONVERT(nvarchar(max), d.OAER), CONVERT(nvarchar(max), i.OAER)),
        ('ABRL', CONVERT(nvarchar(max), d.ABRL), CONVERT(nvarchar(max), i.ABRL)),
        ('ABRR', CONVERT(nvarchar(max), d.ABRR), CONVERT(nvarchar(max), i.ABRR)),
        ('TympL', CONVERT(nvarchar(max), d.TympL), CONVERT(nvarchar(max), i.TympL)),
        ('TympR', CONVERT(nvarchar(max), d.TympR), CONVERT(nvarchar(max), i.TympR)),
        ('PeakYL', CONVERT(nvarchar(max), d.PeakYL), CONVERT(nvarchar(max), i.PeakYL)),
        ('PeakYR', CONVERT(nvarchar(max), d.PeakYR), CONVERT(nvarchar(max), i.PeakYR)),
        ('PeakPressL', CONVERT(nvarchar(max), d.PeakPressL), CONVERT(nvarchar(max), i.PeakPressL)),
        ('PeakPressR', CONVERT(nvarchar(max), d.PeakPressR), CONVERT(nvarchar(max), i.PeakPressR)),
        ('ReflexL', CONVERT(nvarchar(max), d.ReflexL), CONVERT(nvarchar(max), i.ReflexL)),
        ('ReflexR', CONVERT(nvarchar(max), d.ReflexR), CONVERT(nvarchar(max), i.ReflexR)),
        ('ETFVolL', CONVERT(nvarchar(max), d.ETFVolL), CONVERT(nvarchar(max), i.ETFVolL)),
        ('ETFVolR', CONVERT(nvarchar(max), d.ETFVolR), CONVERT(nvarchar(max), i.ETFVolR)),
        ('ETFRelL', CONVERT(nvarchar(max), d.ETFRelL), CONVERT(nvarchar(max), i.ETFRelL)),
        ('ETFRelR', CONVERT(nvarchar(max), d.ETFRelR), CONVERT(nvarchar(max), i.ETFRelR)),
        ('SRTR', CONVERT(nvarchar(max), d.SRTR), CONVERT(nvarchar(max), i.SRTR)),
        ('Lev1R', CONVERT(nvarchar(max), d.Lev1R), CONVERT(nvarchar(max), i.Lev1R)),
        ('Lev4R', CONVERT(nvarchar(max), d.Lev4R), CONVERT(nvarchar(max), i.Lev4R)),
        ('PC1R', CONVERT(nvarchar(max), d.PC1R), CONVERT(nvarchar(max), i.PC1R)),
        ('PC4R', CONVERT(nvarchar(max), d.PC4R), CONVERT(nvarchar(max), i.PC4R)),
        ('MatR', CONVERT(nvarchar(max), d.MatR), CONVERT(nvarchar(max), i.MatR)),
        ('SRTL', CONVERT(nvarchar(max), d.SRTL), CONVERT(nvarchar(max), i.SRTL)),
        ('Lev1L', CONVERT(nvarchar(max), d.Lev1L), CONVERT(nvarchar(max), i.Lev1L)),
        ('Lev4L', CONVERT(nvarchar(max), d.Lev4L), CONVERT(nvarchar(max), i.Lev4L)),
        ('PC1L', CONVERT(nvarchar(max), d.PC1L), CONVERT(nvarchar(max), i.PC1L)),
        ('PC4L', CONVERT(nvarchar(max), d.PC4L), CONVERT(nvarchar(max), i.PC4L)),
        ('MatL', CONVERT(nvarchar(max), d.MatL), CONVERT(nvarchar(max), i.MatL)),
        ('SRTSF', CONVERT(nvarchar(max), d.SRTSF), CONVERT(nvarchar(max), i.SRTSF)),
        ('Comments', CONVERT(nvarchar(max), d.Comments), CONVERT(nvarchar(max), i.Comments)),
        ('Recommend', CONVERT(nvarchar(max), d.Recommend), CONVERT(nvarchar(max), i.Recommend)),
        ('CochImpL', CONVERT(nvarchar(max), d.CochImpL), CONVERT(nvarchar(max), i.CochImpL)),
        ('CochImpR', CONVERT(nvarchar(max), d.CochImpR), CONVERT(nvarchar(max), i.CochImpR))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'aud', CONVERT(nvarchar(max), d.TestId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('TestDate', REPLACE(CONVERT(varchar(23), d.TestDate, 121), ' ', 'T'), NULL),
        ('TestedBy', CONVERT(nvarchar(max), d.TestedBy), NULL),
        ('Reliability', CONVERT(nvarchar(max), d.Reliability), NULL),
        ('Method', CONVERT(nvarchar(max), d.Method), NULL),
        ('Imported', CONVERT(nvarchar(max), d.Imported), NULL),
        ('ImpressL', CONVERT(nvarchar(max), d.ImpressL), NULL),
        ('ImpressR', CONVERT(nvarchar(max), d.ImpressR), NULL),
        ('ImpressSF', CONVERT(nvarchar(max), d.ImpressSF), NULL),
        ('TinnitusL', CONVERT(nvarchar(max), d.TinnitusL), NULL),
        ('TinnitusR', CONVERT(nvarchar(max), d.TinnitusR), NULL),
        ('FullnessL', CONVERT(nvarchar(max), d.FullnessL), NULL),
        ('FullnessR', CONVERT(nvarchar(max), d.FullnessR), NULL),
        ('HearingAidsL', CONVERT(nvarchar(max), d.HearingAidsL), NULL),
        ('HearingAidsR', CONVERT(nvarchar(max), d.HearingAidsR), NULL),
        ('Dizziness', CONVERT(nvarchar(max), d.Dizziness), NULL),
        ('NoiseExp', CONVERT(nvarchar(max), d.NoiseExp), NULL),
        ('HxHearingLoss', CONVERT(nvarchar(max), d.HxHearingLoss), NULL),
        ('Sped', CONVERT(nvarchar(max), d.Sped), NULL),
        ('SpchLang', CONVERT(nvarchar(max), d.SpchLang), NULL),
        ('OM', CONVERT(nvarchar(max), d.OM), NULL),
        ('OAEL', CONVERT(nvarchar(max), d.OAEL), NULL),
        ('OAER', CONVERT(nvarchar(max), d.OAER), NULL),
        ('ABRL', CONVERT(nvarchar(max), d.ABRL), NULL),
        ('ABRR', CONVERT(nvarchar(max), d.ABRR), NULL),
        ('TympL', CONVERT(nvarchar(max), d.TympL), NULL),
        ('TympR', CONVERT(nvarchar(max), d.TympR), NULL),
        ('PeakYL', CONVERT(nvarchar(max), d.PeakYL), NULL),
        ('PeakYR', CONVERT(nvarchar(max), d.PeakYR), NULL),
        ('PeakPressL', CONVERT(nvarchar(max), d.PeakPressL), NULL),
        ('PeakPressR', CONVERT(nvarchar(max), d.PeakPressR), NULL),
        ('ReflexL', CONVERT(nvarchar(max), d.ReflexL), NULL),
        ('ReflexR', CONVERT(nvarchar(max), d.ReflexR), NULL),
        ('ETFVolL', CONVERT(nvarchar(max), d.ETFVolL), NULL),
        ('ETFVolR', CONVERT(nvarchar(max), d.ETFVolR), NULL),
        ('ETFRelL', CONVERT(nvarchar(max), d.ETFRelL), NULL),
        ('ETFRelR', CONVERT(nvarchar(max), d.ETFRelR), NULL),
        ('SRTR', CONVERT(nvarchar(max), d.SRTR), NULL),
        ('Lev1R', CONVERT(nvarchar(max), d.Lev1R), NULL),
        ('Lev4R', CONVERT(nvarchar(max), d.Lev4R), NULL),
        ('PC1R', CONVERT(nvarchar(max), d.PC1R), NULL),
        ('PC4R', CONVERT(nvarchar(max), d.PC4R), NULL),
        ('MatR', CONVERT(nvarchar(max), d.MatR), NULL),
        ('SRTL', CONVERT(nvarchar(max), d.SRTL), NULL),
        ('Lev1L', CONVERT(nvarchar(max), d.Lev1L), NULL),
        ('Lev4L', CONVERT(nvarchar(max), d.Lev4L), NULL),
        ('PC1L', CONVERT(nvarchar(max), d.PC1L), NULL),
        ('PC4L', CONVERT(nvarchar(max), d.PC4L), NULL),
        ('MatL', CONVERT(nvarchar(max), d.MatL), NULL),
        ('SRTSF', CONVERT(nvarchar(max), d.SRTSF), NULL),
        ('Comments', CONVERT(nvarchar(max), d.Comments), NULL),
        ('Recommend', CONVERT(nvarchar(max), d.Recommend), NULL),
        ('CochImpL', CONVERT(nvarchar(max), d.CochImpL), NULL),
        ('CochImpR', CONVERT(nvarchar(max), d.CochImpR), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_audpoints', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_audpoints;
GO
CREATE TRIGGER dbo.changelog_audpoints ON dbo.audpoints AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'audpoints', CONVERT(nvarchar(max), i.TestId) + ':' + CONVERT(nvarchar(max), i.symbol) + ':' + CONVERT(nvarchar(max), i.xy), (SELECT s.SubjectId FROM dbo.aud AS s WHERE s.TestId = i.TestId), NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'audpoints', CONVERT(nvarchar(max), i.TestId) + ':' + CONVERT(nvarchar(max), i.symbol) + ':' + CONVERT(nvarchar(max), i.xy), (SELECT s.SubjectId FROM dbo.aud AS s WHERE s.TestId = i.TestId), v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.TestId = i.TestId AND d.symbol = i.symbol AND d.xy = i.xy
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), CONVERT(nvarchar(max), i.TestId)),
        ('symbol', CONVERT(nvarchar(max), d.symbol), CONVERT(nvarchar(max), i.symbol)),
        ('xy', CONVERT(nvarchar(max), d.xy), CONVERT(nvarchar(max), i.xy)),
        ('mask', CONVERT(nvarchar(max), d.mask), CONVERT(nvarchar(max), i.mask)),
        ('recent', CONVERT(nvarchar(max), d.recent), CONVERT(nvarchar(max), i.recent)),
        ('type', CONVERT(nvarchar(max), d.type), CONVERT(nvarchar(max), i.type))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'audpoints', CONVERT(nvarchar(max), d.TestId) + ':' + CONVERT(nvarchar(max), d.symbol) + ':' + CONVERT(nvarchar(max), d.xy), (SELECT s.SubjectId FROM dbo.aud AS s WHERE s.TestId = d.TestId), v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), NULL),
        ('symbol', CONVERT(nvarchar(max), d.symbol), NULL),
        ('xy', CONVERT(nvarchar(max), d.xy), NULL),
        ('mask', CONVERT(nvarchar(max), d.mask), NULL),
        ('recent', CONVERT(nvarchar(max), d.recent), NULL),
        ('type', CONVERT(nvarchar(max), d.type), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_speech', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_speech;
GO
CREATE TRIGGER dbo.changelog_speech ON dbo.speech AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'speech', CONVERT(nvarchar(max), i.TestId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'speech', CONVERT(nvarchar(max), i.TestId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.TestId = i.TestId
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), CONVERT(nvarchar(max), i.TestId)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('TestName', CONVERT(nvarchar(max), d.TestName), CONVERT(nvarchar(max), i.TestName)),
        ('TestDate', REPLACE(CONVERT(varchar(23), d.TestDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.TestDate, 121), ' ', 'T')),
        ('AgeAtTest', CONVERT(nvarchar(max), d.AgeAtTest), CONVERT(nvarchar(max), i.AgeAtTest)),
        ('TestedBy', CONVERT(nvarchar(max), d.TestedBy), CONVERT(nvarchar(max), i.TestedBy)),
        ('Lab', CONVERT(nvarchar(max), d.Lab), CONVERT(nvarchar(max), i.Lab)),
        ('Screening', CONVERT(nvarchar(max), d.Screening), CONVERT(nvarchar(max), i.Screening)),
        ('RawScore', CONVERT(nvarchar(max), d.RawScore), CONVERT(nvarchar(max), i.RawScore)),
        ('StandardScore', CONVERT(nvarchar(max), d.StandardScore), CONVERT(nvarchar(max), i.StandardScore)),
        ('AgeEquivalent', CONVERT(nvarchar(max), d.AgeEquivalent), CONVERT(nvarchar(max), i.AgeEquivalent)),
        ('Percentile', CONVERT(nvarchar(max), d.Percentile), CONVERT(nvarchar(max), i.Percentile)),
        ('SD', CONVERT(nvarchar(max), d.SD), CONVERT(nvarchar(max), i.SD)),
        ('Other', CONVERT(nvarchar(max), d.Other), CONVERT(nvarchar(max), i.Other)),
        ('Comments', CONVERT(nvarchar(max), d.Comments), CONVERT(nvarchar(max), i.Comments))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'speech', CONVERT(nvarchar(max), d.TestId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('TestId', CONVERT(nvarchar(max), d.TestId), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('TestName', CONVERT(nvarchar(max), d.TestName), NULL),
        ('TestDate', REPLACE(CONVERT(varchar(23), d.TestDate, 121), ' ', 'T'), NULL),
        ('AgeAtTest', CONVERT(nvarchar(max), d.AgeAtTest), NULL),
        ('TestedBy', CONVERT(nvarchar(max), d.TestedBy), NULL),
        ('Lab', CONVERT(nvarchar(max), d.Lab), NULL),
        ('Screening', CONVERT(nvarchar(max), d.Screening), NULL),
        ('RawScore', CONVERT(nvarchar(max), d.RawScore), NULL),
        ('StandardScore', CONVERT(nvarchar(max), d.StandardScore), NULL),
        ('AgeEquivalent', CONVERT(nvarchar(max), d.AgeEquivalent), NULL),
        ('Percentile', CONVERT(nvarchar(max), d.Percentile), NULL),
        ('SD', CONVERT(nvarchar(max), d.SD), NULL),
        ('Other', CONVERT(nvarchar(max), d.Other), NULL),
        ('Comments', CONVERT(nvarchar(max), d.Comments), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_cidata', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_cidata;
GO
CREATE TRIGGER dbo.changelog_cidata ON dbo.cidata AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cidata', CONVERT(nvarchar(max), i.SubjectId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cidata', CONVERT(nvarchar(max), i.SubjectId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.SubjectId = i.SubjectId
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('DurationPriorL', CONVERT(nvarchar(max), d.DurationPriorL), CONVERT(nvarchar(max), i.DurationPriorL)),
        ('DurationPriorR', CONVERT(nvarchar(max), d.DurationPriorR), CONVERT(nvarchar(max), i.DurationPriorR)),
        ('DegreePriorL', CONVERT(nvarchar(max), d.DegreePriorL), CONVERT(nvarchar(max), i.DegreePriorL)),
        ('DegreePriorR', CONVERT(nvarchar(max), d.DegreePriorR), CONVERT(nvarchar(max), i.DegreePriorR)),
        ('NatureL', CONVERT(nvarchar(max), d.NatureL), CONVERT(nvarchar(max), i.NatureL)),
        ('NatureR', CONVERT(nvarchar(max), d.NatureR), CONVERT(nvarchar(max), i.NatureR)),
        ('EtiologyL', CONVERT(nvarchar(max), d.EtiologyL), CONVERT(nvarchar(max), i.EtiologyL)),
        ('EtiologyR', CONVERT(nvarchar(max), d.EtiologyR), CONVERT(nvarchar(max), i.EtiologyR)),
        ('HAL', CONVERT(nvarchar(max), d.HAL), CONVERT(nvarchar(max), i.HAL)),
        ('HAR', CONVERT(nvarchar(max), d.HAR), CONVERT(nvarchar(max), i.HAR)),
        ('HaTimeL', CONVERT(nvarchar(max), d.HaTimeL), CONVERT(nvarchar(max), i.HaTimeL)),
        ('HaTimeR', CONVERT(nvarchar(max), d.HaTimeR), CONVERT(nvarchar(max), i.HaTimeR)),
        ('DurationUnaidedL', CONVERT(nvarchar(max), d.DurationUnaidedL), CONVERT(nvarchar(max), i.DurationUnaidedL)),
        ('DurationUnaidedR', CONVERT(nvarchar(max), d.DurationUnaidedR), CONVERT(nvarchar(max), i.DurationUnaidedR)),
        ('Processor1', CONVERT(nvarchar(max), d.Processor1), CONVERT(nvarchar(max), i.Processor1)),
        ('Processor2', CONVERT(nvarchar(max), d.Processor2), CONVERT(nvarchar(max), i.Processor2))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cidata', CONVERT(nvarchar(max), d.SubjectId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('DurationPriorL', CONVERT(nvarchar(max), d.DurationPriorL), NULL),
        ('DurationPriorR', CONVERT(nvarchar(max), d.DurationPriorR), NULL),
        ('DegreePriorL', CONVERT(nvarchar(max), d.DegreePriorL), NULL),
        ('DegreePriorR', CONVERT(nvarchar(max), d.DegreePriorR), NULL),
        ('NatureL', CONVERT(nvarchar(max), d.NatureL), NULL),
        ('NatureR', CONVERT(nvarchar(max), d.NatureR), NULL),
        ('EtiologyL', CONVERT(nvarchar(max), d.EtiologyL), NULL),
        ('EtiologyR', CONVERT(nvarchar(max), d.EtiologyR), NULL),
        ('HAL', CONVERT(nvarchar(max), d.HAL), NULL),
        ('HAR', CONVERT(nvarchar(max), d.HAR), NULL),
        ('HaTimeL', CONVERT(nvarchar(max), d.HaTimeL), NULL),
        ('HaTimeR', CONVERT(nvarchar(max), d.HaTimeR), NULL),
        ('DurationUnaidedL', CONVERT(nvarchar(max), d.DurationUnaidedL), NULL),
        ('DurationUnaidedR', CONVERT(nvarchar(max), d.DurationUnaidedR), NULL),
        ('Processor1', CONVERT(nvarchar(max), d.Processor1), NULL),
        ('Processor2', CONVERT(nvarchar(max), d.Processor2), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_CiDevice', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_CiDevice;
GO
CREATE TRIGGER dbo.changelog_CiDevice ON dbo.CiDevice AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'CiDevice', CONVERT(nvarchar(max), i.SubjectId) + ':' + CONVERT(nvarchar(max), i.Ear) + ':' + CONVERT(nvarchar(max), i.Device), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'CiDevice', CONVERT(nvarchar(max), i.SubjectId) + ':' + CONVERT(nvarchar(max), i.Ear) + ':' + CONVERT(nvarchar(max), i.Device), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.SubjectId = i.SubjectId AND d.Ear = i.Ear AND d.Device = i.Device
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('Ear', CONVERT(nvarchar(max), d.Ear), CONVERT(nvarchar(max), i.Ear)),
        ('Device', CONVERT(nvarchar(max), d.Device), CONVERT(nvarchar(max), i.Device)),
        ('Positioner', CONVERT(nvarchar(max), d.Positioner), CONVERT(nvarchar(max), i.Positioner)),
        ('SurgDate', REPLACE(CONVERT(varchar(23), d.SurgDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.SurgDate, 121), ' ', 'T')),
        ('StimDate', REPLACE(CONVERT(varchar(23), d.StimDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.StimDate, 121), ' ', 'T')),
        ('AgeAtImplant', CONVERT(nvarchar(max), d.AgeAtImplant), CONVERT(nvarchar(max), i.AgeAtImplant)),
        ('Surgeon', CONVERT(nvarchar(max), d.Surgeon), CONVERT(nvarchar(max), i.Surgeon)),
        ('Hospital', CONVERT(nvarchar(max), d.Hospital), CONVERT(nvarchar(max), i.Hospital)),
        ('Status', CONVERT(nvarchar(max), d.Status), CONVERT(nvarchar(max), i.Status)),
        ('ExplantDate', REPLACE(CONVERT(varchar(23), d.ExplantDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.ExplantDate, 121), ' ', 'T'))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'CiDevice', CONVERT(nvarchar(max), d.SubjectId) + ':' + CONVERT(nvarchar(max), d.Ear) + ':' + CONVERT(nvarchar(max), d.Device), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('Ear', CONVERT(nvarchar(max), d.Ear), NULL),
        ('Device', CONVERT(nvarchar(max), d.Device), NULL),
        ('Positioner', CONVERT(nvarchar(max), d.Positioner), NULL),
        ('SurgDate', REPLACE(CONVERT(varchar(23), d.SurgDate, 121), ' ', 'T'), NULL),
        ('StimDate', REPLACE(CONVERT(varchar(23), d.StimDate, 121), ' ', 'T'), NULL),
        ('AgeAtImplant', CONVERT(nvarchar(max), d.AgeAtImplant), NULL),
        ('Surgeon', CONVERT(nvarchar(max), d.Surgeon), NULL),
        ('Hospital', CONVERT(nvarchar(max), d.Hospital), NULL),
        ('Status', CONVERT(nvarchar(max), d.Status), NULL),
        ('ExplantDate', REPLACE(CONVERT(varchar(23), d.ExplantDate, 121), ' ', 'T'), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_cispeech', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_cispeech;
GO
CREATE TRIGGER dbo.changelog_cispeech ON dbo.cispeech AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cispeech', CONVERT(nvarchar(max), i.SubjectId) + ':' + CONVERT(nvarchar(max), i.DataType) + ':' + CONVERT(nvarchar(max), i.TestType) + ':' + CONVERT(nvarchar(max), i.TestName), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cispeech', CONVERT(nvarchar(max), i.SubjectId) + ':' + CONVERT(nvarchar(max), i.DataType) + ':' + CONVERT(nvarchar(max), i.TestType) + ':' + CONVERT(nvarchar(max), i.TestName), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.SubjectId = i.SubjectId AND d.DataType = i.DataType AND d.TestType = i.TestType AND d.TestName = i.TestName
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('DataType', CONVERT(nvarchar(max), d.DataType), CONVERT(nvarchar(max), i.DataType)),
        ('TestType', CONVERT(nvarchar(max), d.TestType), CONVERT(nvarchar(max), i.TestType)),
        ('TestName', CONVERT(nvarchar(max), d.TestName), CONVERT(nvarchar(max), i.TestName)),
        ('Score', CONVERT(nvarchar(max), d.Score), CONVERT(nvarchar(max), i.Score)),
        ('TimeIS', CONVERT(nvarchar(max), d.TimeIS), CONVERT(nvarchar(max), i.TimeIS)),
        ('Condition', CONVERT(nvarchar(max), d.Condition), CONVERT(nvarchar(max), i.Condition))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'cispeech', CONVERT(nvarchar(max), d.SubjectId) + ':' + CONVERT(nvarchar(max), d.DataType) + ':' + CONVERT(nvarchar(max), d.TestType) + ':' + CONVERT(nvarchar(max), d.TestName), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('DataType', CONVERT(nvarchar(max), d.DataType), NULL),
        ('TestType', CONVERT(nvarchar(max), d.TestType), NULL),
        ('TestName', CONVERT(nvarchar(max), d.TestName), NULL),
        ('Score', CONVERT(nvarchar(max), d.Score), NULL),
        ('TimeIS', CONVERT(nvarchar(max), d.TimeIS), NULL),
        ('Condition', CONVERT(nvarchar(max), d.Condition), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_participationhistory', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_participationhistory;
GO
CREATE TRIGGER dbo.changelog_participationhistory ON dbo.participationhistory AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'participationhistory', CONVERT(nvarchar(max), i.ParticId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'participationhistory', CONVERT(nvarchar(max), i.ParticId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.ParticId = i.ParticId
    CROSS APPLY (VALUES ('ParticId', CONVERT(nvarchar(max), d.ParticId), CONVERT(nvarchar(max), i.ParticId)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('Dataset', CONVERT(nvarchar(max), d.Dataset), CONVERT(nvarchar(max), i.Dataset)),
        ('Irb', CONVERT(nvarchar(max), d.Irb), CONVERT(nvarchar(max), i.Irb)),
        ('Contacted', CONVERT(nvarchar(max), d.Contacted), CONVERT(nvarchar(max), i.Contacted)),
        ('ExContact', CONVERT(nvarchar(max), d.ExContact), CONVERT(nvarchar(max), i.ExContact)),
        ('Participate', CONVERT(nvarchar(max), d.Participate), CONVERT(nvarchar(max), i.Participate)),
        ('ExPartic', CONVERT(nvarchar(max), d.ExPartic), CONVERT(nvarchar(max), i.ExPartic)),
        ('Date1', REPLACE(CONVERT(varchar(23), d.Date1, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Date1, 121), ' ', 'T')),
        ('Date2', REPLACE(CONVERT(varchar(23), d.Date2, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Date2, 121), ' ', 'T')),
        ('Show', CONVERT(nvarchar(max), d.Show), CONVERT(nvarchar(max), i.Show)),
        ('Appts', CONVERT(nvarchar(max), d.Appts), CONVERT(nvarchar(max), i.Appts)),
        ('Completed', CONVERT(nvarchar(max), d.Completed), CONVERT(nvarchar(max), i.Completed)),
        ('CallAgain', CONVERT(nvarchar(max), d.CallAgain), CONVERT(nvarchar(max), i.CallAgain)),
        ('Lab', CONVERT(nvarchar(max), d.Lab), CONVERT(nvarchar(max), i.Lab)),
        ('Done', CONVERT(nvarchar(max), d.Done), CONVERT(nvarchar(max), i.Done)),
        ('Sessions', CONVERT(nvarchar(max), d.Sessions), CONVERT(nvarchar(max), i.Sessions)),
        ('Comments', CONVERT(nvarchar(max), d.Comments), CONVERT(nvarchar(max), i.Comments)),
        ('FeedbackDate', REPLACE(CONVERT(varchar(23), d.FeedbackDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.FeedbackDate, 121), ' ', 'T'))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'participationhistory', CONVERT(nvarchar(max), d.ParticId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('ParticId', CONVERT(nvarchar(max), d.ParticId), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('Dataset', CONVERT(nvarchar(max), d.Dataset), NULL),
        ('Irb', CONVERT(nvarchar(max), d.Irb), NULL),
        ('Contacted', CONVERT(nvarchar(max), d.Contacted), NULL),
        ('ExContact', CONVERT(nvarchar(max), d.ExContact), NULL),
        ('Participate', CONVERT(nvarchar(max), d.Participate), NULL),
        ('ExPartic', CONVERT(nvarchar(max), d.ExPartic), NULL),
        ('Date1', REPLACE(CONVERT(varchar(23), d.Date1, 121), ' ', 'T'), NULL),
        ('Date2', REPLACE(CONVERT(varchar(23), d.Date2, 121), ' ', 'T'), NULL),
        ('Show', CONVERT(nvarchar(max), d.Show), NULL),
        ('Appts', CONVERT(nvarchar(max), d.Appts), NULL),
        ('Completed', CONVERT(nvarchar(max), d.Completed), NULL),
        ('CallAgain', CONVERT(nvarchar(max), d.CallAgain), NULL),
        ('Lab', CONVERT(nvarchar(max), d.Lab), NULL),
        ('Done', CONVERT(nvarchar(max), d.Done), NULL),
        ('Sessions', CONVERT(nvarchar(max), d.Sessions), NULL),
        ('Comments', CONVERT(nvarchar(max), d.Comments), NULL),
        ('FeedbackDate', REPLACE(CONVERT(varchar(23), d.FeedbackDate, 121), ' ', 'T'), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_release', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_release;
GO
CREATE TRIGGER dbo.changelog_release ON dbo.release AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'release', CONVERT(nvarchar(max), i.ReleaseId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'release', CONVERT(nvarchar(max), i.ReleaseId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.ReleaseId = i.ReleaseId
    CROSS APPLY (VALUES ('ReleaseId', CONVERT(nvarchar(max), d.ReleaseId), CONVERT(nvarchar(max), i.ReleaseId)),
        ('Title', CONVERT(nvarchar(max), d.Title), CONVERT(nvarchar(max), i.Title)),
        ('Irb', CONVERT(nvarchar(max), d.Irb), CONVERT(nvarchar(max), i.Irb)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('ReleaseDate', REPLACE(CONVERT(varchar(23), d.ReleaseDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.ReleaseDate, 121), ' ', 'T'))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'release', CONVERT(nvarchar(max), d.ReleaseId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('ReleaseId', CONVERT(nvarchar(max), d.ReleaseId), NULL),
        ('Title', CONVERT(nvarchar(max), d.Title), NULL),
        ('Irb', CONVERT(nvarchar(max), d.Irb), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('ReleaseDate', REPLACE(CONVERT(varchar(23), d.ReleaseDate, 121), ' ', 'T'), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_requesthistory', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_requesthistory;
GO
CREATE TRIGGER dbo.changelog_requesthistory ON dbo.requesthistory AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'requesthistory', CONVERT(nvarchar(max), i.RequestId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'requesthistory', CONVERT(nvarchar(max), i.RequestId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.RequestId = i.RequestId
    CROSS APPLY (VALUES ('RequestId', CONVERT(nvarchar(max), d.RequestId), CONVERT(nvarchar(max), i.RequestId)),
        ('Title', CONVERT(nvarchar(max), d.Title), CONVERT(nvarchar(max), i.Title)),
        ('Irb', CONVERT(nvarchar(max), d.Irb), CONVERT(nvarchar(max), i.Irb)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('RequestDate', REPLACE(CONVERT(varchar(23), d.RequestDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.RequestDate, 121), ' ', 'T')),
        ('PersId', CONVERT(nvarchar(max), d.PersId), CONVERT(nvarchar(max), i.PersId))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'requesthistory', CONVERT(nvarchar(max), d.RequestId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('RequestId', CONVERT(nvarchar(max), d.RequestId), NULL),
        ('Title', CONVERT(nvarchar(max), d.Title), NULL),
        ('Irb', CONVERT(nvarchar(max), d.Irb), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('RequestDate', REPLACE(CONVERT(varchar(23), d.RequestDate, 121), ' ', 'T'), NULL),
        ('PersId', CONVERT(nvarchar(max), d.PersId), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_dataset', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_dataset;
GO
CREATE TRIGGER dbo.changelog_dataset ON dbo.dataset AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'dataset', CONVERT(nvarchar(max), i.Dataset) + ':' + CONVERT(nvarchar(max), i.Irb), NULL, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'dataset', CONVERT(nvarchar(max), i.Dataset) + ':' + CONVERT(nvarchar(max), i.Irb), NULL, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.Dataset = i.Dataset AND d.Irb = i.Irb
    CROSS APPLY (VALUES ('Dataset', CONVERT(nvarchar(max), d.Dataset), CONVERT(nvarchar(max), i.Dataset)),
        ('Irb', CONVERT(nvarchar(max), d.Irb), CONVERT(nvarchar(max), i.Irb)),
        ('ProjectTitle', CONVERT(nvarchar(max), d.ProjectTitle), CONVERT(nvarchar(max), i.ProjectTitle)),
        ('GrantNo', CONVERT(nvarchar(max), d.GrantNo), CONVERT(nvarchar(max), i.GrantNo)),
        ('Query', CONVERT(nvarchar(max), d.Query), CONVERT(nvarchar(max), i.Query)),
        ('PersId', CONVERT(nvarchar(max), d.PersId), CONVERT(nvarchar(max), i.PersId)),
        ('CreateDate', REPLACE(CONVERT(varchar(23), d.CreateDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.CreateDate, 121), ' ', 'T'))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'dataset', CONVERT(nvarchar(max), d.Dataset) + ':' + CONVERT(nvarchar(max), d.Irb), NULL, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('Dataset', CONVERT(nvarchar(max), d.Dataset), NULL),
        ('Irb', CONVERT(nvarchar(max), d.Irb), NULL),
        ('ProjectTitle', CONVERT(nvarchar(max), d.ProjectTitle), NULL),
        ('GrantNo', CONVERT(nvarchar(max), d.GrantNo), NULL),
        ('Query', CONVERT(nvarchar(max), d.Query), NULL),
        ('PersId', CONVERT(nvarchar(max), d.PersId), NULL),
        ('CreateDate', REPLACE(CONVERT(varchar(23), d.CreateDate, 121), ' ', 'T'), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_calllog', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_calllog;
GO
CREATE TRIGGER dbo.changelog_calllog ON dbo.calllog AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'calllog', CONVERT(nvarchar(max), i.CallId), i.SubjectId, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'calllog', CONVERT(nvarchar(max), i.CallId), i.SubjectId, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.CallId = i.CallId
    CROSS APPLY (VALUES ('CallId', CONVERT(nvarchar(max), d.CallId), CONVERT(nvarchar(max), i.CallId)),
        ('Dataset', CONVERT(nvarchar(max), d.Dataset), CONVERT(nvarchar(max), i.Dataset)),
        ('Irb', CONVERT(nvarchar(max), d.Irb), CONVERT(nvarchar(max), i.Irb)),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), CONVERT(nvarchar(max), i.SubjectId)),
        ('CallDate', REPLACE(CONVERT(varchar(23), d.CallDate, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.CallDate, 121), ' ', 'T')),
        ('PersId', CONVERT(nvarchar(max), d.PersId), CONVERT(nvarchar(max), i.PersId)),
        ('Notes', CONVERT(nvarchar(max), d.Notes), CONVERT(nvarchar(max), i.Notes))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'calllog', CONVERT(nvarchar(max), d.CallId), d.SubjectId, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('CallId', CONVERT(nvarchar(max), d.CallId), NULL),
        ('Dataset', CONVERT(nvarchar(max), d.Dataset), NULL),
        ('Irb', CONVERT(nvarchar(max), d.Irb), NULL),
        ('SubjectId', CONVERT(nvarchar(max), d.SubjectId), NULL),
        ('CallDate', REPLACE(CONVERT(varchar(23), d.CallDate, 121), ' ', 'T'), NULL),
        ('PersId', CONVERT(nvarchar(max), d.PersId), NULL),
        ('Notes', CONVERT(nvarchar(max), d.Notes), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

IF OBJECT_ID('dbo.changelog_pers', 'TR') IS NOT NULL DROP TRIGGER dbo.changelog_pers;
GO
CREATE TRIGGER dbo.changelog_pers ON dbo.pers AFTER INSERT, UPDATE, DELETE AS
BEGIN
    SET NOCOUNT ON;
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'pers', CONVERT(nvarchar(max), i.PersId), NULL, NULL, NULL, NULL, 'insert'
    FROM inserted AS i WHERE NOT EXISTS (SELECT 1 FROM deleted);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'pers', CONVERT(nvarchar(max), i.PersId), NULL, v.c, v.o, v.n, 'update'
    FROM inserted AS i JOIN deleted AS d ON d.PersId = i.PersId
    CROSS APPLY (VALUES ('PersId', CONVERT(nvarchar(max), d.PersId), CONVERT(nvarchar(max), i.PersId)),
        ('UserName', CONVERT(nvarchar(max), d.UserName), CONVERT(nvarchar(max), i.UserName)),
        ('LastName', CONVERT(nvarchar(max), d.LastName), CONVERT(nvarchar(max), i.LastName)),
        ('FirstName', CONVERT(nvarchar(max), d.FirstName), CONVERT(nvarchar(max), i.FirstName)),
        ('Name', CONVERT(nvarchar(max), d.Name), CONVERT(nvarchar(max), i.Name)),
        ('Status', CONVERT(nvarchar(max), d.Status), CONVERT(nvarchar(max), i.Status)),
        ('Citi', REPLACE(CONVERT(varchar(23), d.Citi, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Citi, 121), ' ', 'T')),
        ('Nih', REPLACE(CONVERT(varchar(23), d.Nih, 121), ' ', 'T'), REPLACE(CONVERT(varchar(23), i.Nih, 121), ' ', 'T')),
        ('Other', CONVERT(nvarchar(max), d.Other), CONVERT(nvarchar(max), i.Other)),
        ('Review', CONVERT(nvarchar(max), d.Review), CONVERT(nvarchar(max), i.Review))) AS v(c, o, n)
    WHERE EXISTS (SELECT v.o EXCEPT SELECT v.n);
    INSERT INTO dbo.changelog(ChangedAt, ChangedBy, TableName, RowKey, SubjectId, ColumnName, OldValue, NewValue, ChangeKind)
    SELECT SYSDATETIME(), ORIGINAL_LOGIN(), 'pers', CONVERT(nvarchar(max), d.PersId), NULL, v.c, v.o, NULL, 'delete'
    FROM deleted AS d
    CROSS APPLY (VALUES ('PersId', CONVERT(nvarchar(max), d.PersId), NULL),
        ('UserName', CONVERT(nvarchar(max), d.UserName), NULL),
        ('LastName', CONVERT(nvarchar(max), d.LastName), NULL),
        ('FirstName', CONVERT(nvarchar(max), d.FirstName), NULL),
        ('Name', CONVERT(nvarchar(max), d.Name), NULL),
        ('Status', CONVERT(nvarchar(max), d.Status), NULL),
        ('Citi', REPLACE(CONVERT(varchar(23), d.Citi, 121), ' ', 'T'), NULL),
        ('Nih', REPLACE(CONVERT(varchar(23), d.Nih, 121), ' ', 'T'), NULL),
        ('Other', CONVERT(nvarchar(max), d.Other), NULL),
        ('Review', CONVERT(nvarchar(max), d.Review), NULL)) AS v(c, o, n)
    WHERE NOT EXISTS (SELECT 1 FROM inserted) AND v.o IS NOT NULL;
END;
GO

