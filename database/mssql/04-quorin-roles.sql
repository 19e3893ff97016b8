-- Run against a SQL Server 2005 or later instance as a sysadmin. The embedded engine
-- runs the security statements of this file (roles, GRANT, sp_addrolemember) on every
-- new registry, so both engines hold the same permissions.
USE Quorin;
GO

-- Ordinary staff run every procedure but the account ones, and the text queries of
-- the reports and the subject save (select, and the few inserts, updates and deletes).
-- Administrators may also add users and change their roles.
IF DATABASE_PRINCIPAL_ID('QuorinUser') IS NULL CREATE ROLE QuorinUser;
IF DATABASE_PRINCIPAL_ID('QuorinAdmin') IS NULL CREATE ROLE QuorinAdmin;
GO

GRANT SELECT ON SCHEMA::dbo TO QuorinUser;
GRANT INSERT, DELETE ON dbo.CiDevice TO QuorinUser;
GRANT INSERT, DELETE ON dbo.cispeech TO QuorinUser;
GRANT DELETE ON dbo.speech TO QuorinUser;
GRANT UPDATE ON dbo.participationhistory (Contacted) TO QuorinUser;
GRANT DELETE ON dbo.calllog TO QuorinUser;
GRANT EXECUTE ON dbo.uspCheckSubject TO QuorinUser;
GRANT EXECUTE ON dbo.uspDeleteAudPts TO QuorinUser;
GRANT EXECUTE ON dbo.uspDeleteAudPoint TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateAudPoint TO QuorinUser;
GRANT EXECUTE ON dbo.uspDeleteCiData TO QuorinUser;
GRANT EXECUTE ON dbo.uspDeleteRecruitMethod TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetAudHistoryTestIds TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetCurrentStudy TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetNewSubjectId TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetOldDataset TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetParticDate TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetSubjectNoTest TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetSubjectandDate TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetTestId TO QuorinUser;
GRANT EXECUTE ON dbo.uspGetZone TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadAudHistoryPts TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadAudPts TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadAudiogram TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadCiData TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadCiDevices TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadDataset TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadFeedback TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadHistoryAudiogram TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadPers TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadPersbyUsername TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadRecruitMethods TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadSpeech TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadSubject TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadSubjectbyId TO QuorinUser;
GRANT EXECUTE ON dbo.uspLookup TO QuorinUser;
GRANT EXECUTE ON dbo.uspReOpenDataset TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateAud TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateFeedback TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateQuorinCI TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateSpeech TO QuorinUser;
GRANT EXECUTE ON dbo.uspUpdateSubject TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteAudPts TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteCiData TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteNewAud TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteNewSpeech TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteNewSubject TO QuorinUser;
GRANT EXECUTE ON dbo.uspWriteRecruitMethod TO QuorinUser;
GO

-- Administrators: everything staff may do, the account procedures, users and roles.
EXEC sp_addrolemember 'QuorinUser', 'QuorinAdmin';
GRANT EXECUTE ON dbo.uspCreateNewUser TO QuorinAdmin;
GRANT EXECUTE ON dbo.uspUpdateAccount TO QuorinAdmin;
GRANT EXECUTE ON dbo.uspUpdatePers TO QuorinAdmin;
-- The change history: members neither read nor touch it (the triggers write it with
-- their owner's rights); administrators read it through the procedure.
DENY SELECT, INSERT, UPDATE, DELETE ON dbo.changelog TO QuorinUser;
GRANT EXECUTE ON dbo.uspLoadChangeHistory TO QuorinAdmin;
GRANT UPDATE ON dbo.pers TO QuorinAdmin;
GRANT ALTER ANY USER TO QuorinAdmin;
GRANT ALTER ANY ROLE TO QuorinAdmin;
-- Deactivating a member drops the schema of the member's name, when there is one.
GRANT ALTER ANY SCHEMA TO QuorinAdmin;
GO

-- The Users window also creates, alters and drops logins: a server permission that no
-- database role can carry. Grant it to each administrator's login in master:
--     GRANT ALTER ANY LOGIN TO [login];
-- (the embedded engine gives it to QuorinAdmin's members for every login that is not a
-- server administrator).
