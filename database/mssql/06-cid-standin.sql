-- Stand-in for a test server only: production servers have the institute's own CID.
IF DB_ID('CID') IS NULL CREATE DATABASE CID;
GO
-- Run against a SQL Server 2005 or later instance as a sysadmin.
USE CID;
GO

-- Stand-in for the institute's cochlear-implant database "CID": the tables and
-- columns the registry's imports read. A patient is a PatientId; Unit links it to the
-- registry's subject.

CREATE TABLE patient (
    PatientId        int IDENTITY(1,1) PRIMARY KEY,
    Lastname         VARCHAR(50) NOT NULL DEFAULT '',
    Firstname        VARCHAR(50) NOT NULL DEFAULT '',
    Dob              DATETIME,
    Unit             VARCHAR(20) NOT NULL DEFAULT '',
    DurationLeft     INT NOT NULL DEFAULT 0,
    DurationRight    INT NOT NULL DEFAULT 0,
    DegreePriorLeft  VARCHAR(50) NOT NULL DEFAULT '',
    DegreePriorRight VARCHAR(50) NOT NULL DEFAULT '',
    NatureOnsetLeft  VARCHAR(50) NOT NULL DEFAULT '',
    NatureOnsetRight VARCHAR(50) NOT NULL DEFAULT '',
    EtiologyLeft     VARCHAR(50) NOT NULL DEFAULT '',
    EtiologyRight    VARCHAR(50) NOT NULL DEFAULT '',
    HaLeft           INT NOT NULL DEFAULT 0,
    HaTimeLeft       INT NOT NULL DEFAULT 0,
    HaRight          INT NOT NULL DEFAULT 0,
    HaTimeRight      INT NOT NULL DEFAULT 0,
    UnaidedLeft      INT NOT NULL DEFAULT 0,
    UnaidedRight     INT NOT NULL DEFAULT 0
);
CREATE INDEX ix_patient_unit ON patient (Unit);
CREATE INDEX ix_patient_name ON patient (Lastname, Firstname);

-- Speech-processor fittings.
CREATE TABLE [external] (
    ExternalId int IDENTITY(1,1) PRIMARY KEY,
    PatientId  INT NOT NULL,
    Processor  VARCHAR(50) NOT NULL DEFAULT '',
    DateFit    DATETIME
);
CREATE INDEX ix_external_patient ON [external] (PatientId, DateFit);

-- Implanted devices.
CREATE TABLE [Internal] (
    InternalId    int IDENTITY(1,1) PRIMARY KEY,
    PatientId     INT NOT NULL,
    Ear           VARCHAR(10)  NOT NULL DEFAULT '',
    Device        VARCHAR(50)  NOT NULL DEFAULT '',
    Positioner    VARCHAR(10)  NOT NULL DEFAULT '',
    SurgeryDate   DATETIME,
    StimDate      DATETIME,
    AgeAtImplant  INT NOT NULL DEFAULT -1,
    Surgeon       VARCHAR(50)  NOT NULL DEFAULT '',
    Hospital      VARCHAR(100) NOT NULL DEFAULT '',
    Status        VARCHAR(30)  NOT NULL DEFAULT '',
    DateOfExplant DATETIME
);
CREATE INDEX ix_internal_patient ON [Internal] (PatientId, SurgeryDate);

-- Speech-perception results; testtype 1 = before the implant.
CREATE TABLE speech (
    SpeechId  int IDENTITY(1,1) PRIMARY KEY,
    patientid INT NOT NULL,
    type      VARCHAR(50) NOT NULL DEFAULT '',
    name      VARCHAR(50) NOT NULL DEFAULT '',
    score     FLOAT NOT NULL DEFAULT 0,
    time      INT NOT NULL DEFAULT 0,
    Ear       VARCHAR(30) NOT NULL DEFAULT '',
    testtype  INT NOT NULL DEFAULT 0
);
CREATE INDEX ix_cidspeech_patient ON speech (patientid);

-- The registry reads the implant data.
-- Administrators are staff too; they also move staff members' users and roles here
-- (uspUpdateAccount and uspCreateNewUser in Quorin). The embedded engine runs these
-- statements on its stand-in CID as well.
IF DATABASE_PRINCIPAL_ID('QuorinUser') IS NULL CREATE ROLE QuorinUser;
IF DATABASE_PRINCIPAL_ID('QuorinAdmin') IS NULL CREATE ROLE QuorinAdmin;
GO
GRANT SELECT ON SCHEMA::dbo TO QuorinUser;
EXEC sp_addrolemember 'QuorinUser', 'QuorinAdmin';
GRANT ALTER ANY USER TO QuorinAdmin;
GRANT ALTER ANY ROLE TO QuorinAdmin;
GO
