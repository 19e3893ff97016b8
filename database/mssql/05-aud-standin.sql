-- Stand-in for a test server only: production servers have the institute's own Aud.
IF DB_ID('Aud') IS NULL CREATE DATABASE Aud;
GO
-- Run against a SQL Server 2005 or later instance as a sysadmin.
USE Aud;
GO

-- Stand-in for the clinic's Audiogram Manager database "Aud": the tables and columns
-- the registry reads (and the one status column, Velmar, it writes back). One test is
-- one PatientIndex; a patient is a PatientNum, the registry's unit.

CREATE TABLE info (
    PatientIndex int IDENTITY(1,1) PRIMARY KEY,
    PatientNum   INT NOT NULL,
    Date         DATETIME,
    Birthdate    DATETIME,
    LastName     VARCHAR(50) NOT NULL DEFAULT '',
    FirstName    VARCHAR(50) NOT NULL DEFAULT '',
    Testedby     VARCHAR(50) NOT NULL DEFAULT '',
    Velmar       VARCHAR(20) NOT NULL DEFAULT ''
);
CREATE INDEX ix_info_patient ON info (PatientNum, Date);
CREATE INDEX ix_info_name    ON info (LastName, FirstName);

CREATE TABLE Other (
    PatientIndex INT PRIMARY KEY,
    Reliability  INT NOT NULL DEFAULT -1,
    Method       INT NOT NULL DEFAULT -1,
    Comment      varchar(max) NOT NULL DEFAULT '',
    Recomm       varchar(max) NOT NULL DEFAULT ''
);

CREATE TABLE Immit (
    PatientIndex  INT PRIMARY KEY,
    TympNormR     INT NOT NULL DEFAULT 0,
    TympNormL     INT NOT NULL DEFAULT 0,
    TympPeakYL    FLOAT NOT NULL DEFAULT 0,
    TympPeakYR    FLOAT NOT NULL DEFAULT 0,
    TympAnormLVal FLOAT NOT NULL DEFAULT 0,
    TympAnormRVal FLOAT NOT NULL DEFAULT 0,
    TestedL       INT NOT NULL DEFAULT -1,
    TestedR       INT NOT NULL DEFAULT -1,
    DecayL        INT NOT NULL DEFAULT 0,
    DecayR        INT NOT NULL DEFAULT 0,
    EFTVolL       FLOAT NOT NULL DEFAULT -1,
    EFTVolR       FLOAT NOT NULL DEFAULT -1,
    EFTRelL       FLOAT NOT NULL DEFAULT -1,
    EFTRelR       FLOAT NOT NULL DEFAULT -1
);

-- Type of loss flags per ear and sound field.
CREATE TABLE Impress (
    PatientIndex    INT PRIMARY KEY,
    normal_r        INT NOT NULL DEFAULT 0,
    normal_l        INT NOT NULL DEFAULT 0,
    normal_sf       INT NOT NULL DEFAULT 0,
    conductive_r    INT NOT NULL DEFAULT 0,
    conductive_l    INT NOT NULL DEFAULT 0,
    conductive_sf   INT NOT NULL DEFAULT 0,
    sensorineural_r INT NOT NULL DEFAULT 0,
    sensorineural_l INT NOT NULL DEFAULT 0,
    sensorineural_sf INT NOT NULL DEFAULT 0,
    mixed_r         INT NOT NULL DEFAULT 0,
    mixed_l         INT NOT NULL DEFAULT 0,
    mixed_sf        INT NOT NULL DEFAULT 0,
    undetermined_r  INT NOT NULL DEFAULT 0,
    undetermined_l  INT NOT NULL DEFAULT 0,
    undetermined_sf INT NOT NULL DEFAULT 0
);

-- History check boxes.
CREATE TABLE Special (
    PatientIndex    INT PRIMARY KEY,
    tinnitus_r      INT NOT NULL DEFAULT 0,
    tinnitus_l      INT NOT NULL DEFAULT 0,
    fullness_r      INT NOT NULL DEFAULT 0,
    fullness_l      INT NOT NULL DEFAULT 0,
    hearing_aids_r  INT NOT NULL DEFAULT 0,
    hearing_aids_l  INT NOT NULL DEFAULT 0,
    dizziness       INT NOT NULL DEFAULT 0,
    hx_of_om        INT NOT NULL DEFAULT 0,
    hx_of_noise_exp INT NOT NULL DEFAULT 0,
    enrolled_sped   INT NOT NULL DEFAULT 0,
    enrolled_speech INT NOT NULL DEFAULT 0,
    famhx           INT NOT NULL DEFAULT 0
);

-- Speech audiometry: a = right ear, b = left ear, c = sound field.
CREATE TABLE Speech (
    Patientindex INT PRIMARY KEY,
    sata  INT NOT NULL DEFAULT -1, srta  INT NOT NULL DEFAULT -1,
    lev1a INT NOT NULL DEFAULT -1, lev2a INT NOT NULL DEFAULT -1,
    pc1a  INT NOT NULL DEFAULT -1, pc2a  INT NOT NULL DEFAULT -1,
    mata  INT NOT NULL DEFAULT 0,
    satb  INT NOT NULL DEFAULT -1, srtb  INT NOT NULL DEFAULT -1,
    lev1b INT NOT NULL DEFAULT -1, lev2b INT NOT NULL DEFAULT -1,
    pc1b  INT NOT NULL DEFAULT -1, pc2b  INT NOT NULL DEFAULT -1,
    matb  INT NOT NULL DEFAULT 0,
    satc  INT NOT NULL DEFAULT -1, srtc  INT NOT NULL DEFAULT -1,
    matc  INT NOT NULL DEFAULT 0
);

-- Plotted symbols, in the Audiogram Manager's own symbol codes.
CREATE TABLE newpoints (
    patientindex INT NOT NULL,
    x      INT NOT NULL,
    y      INT NOT NULL,
    symbol INT NOT NULL,
    mask   INT NOT NULL DEFAULT 0
);
CREATE INDEX ix_newpoints_test ON newpoints (patientindex, symbol, x);

-- The registry reads the clinic's tests and writes the subject status back.
-- Administrators are staff too; they also move staff members' users and roles here
-- (uspUpdateAccount and uspCreateNewUser in Quorin). The embedded engine runs these
-- statements on its stand-in Aud as well.
IF DATABASE_PRINCIPAL_ID('QuorinUser') IS NULL CREATE ROLE QuorinUser;
IF DATABASE_PRINCIPAL_ID('QuorinAdmin') IS NULL CREATE ROLE QuorinAdmin;
GO
GRANT SELECT ON SCHEMA::dbo TO QuorinUser;
GRANT UPDATE ON dbo.info (Velmar) TO QuorinUser;
EXEC sp_addrolemember 'QuorinUser', 'QuorinAdmin';
GRANT ALTER ANY USER TO QuorinAdmin;
GRANT ALTER ANY ROLE TO QuorinAdmin;
GO
