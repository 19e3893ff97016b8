-- Stand-in for the institute's cochlear-implant database "CID": the tables and
-- columns the registry's imports read. A patient is a PatientId; Unit links it to the
-- registry's subject.

CREATE TABLE patient (
    PatientId        INTEGER PRIMARY KEY AUTOINCREMENT,
    Lastname         VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Firstname        VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Dob              DATETIME,
    Unit             VARCHAR(20) COLLATE TSQL NOT NULL DEFAULT '',
    DurationLeft     INT NOT NULL DEFAULT 0,
    DurationRight    INT NOT NULL DEFAULT 0,
    DegreePriorLeft  VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    DegreePriorRight VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    NatureOnsetLeft  VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    NatureOnsetRight VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    EtiologyLeft     VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    EtiologyRight    VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
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
CREATE TABLE external (
    ExternalId INTEGER PRIMARY KEY AUTOINCREMENT,
    PatientId  INT NOT NULL,
    Processor  VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    DateFit    DATETIME
);
CREATE INDEX ix_external_patient ON external (PatientId, DateFit);

-- Implanted devices.
CREATE TABLE "Internal" (
    InternalId    INTEGER PRIMARY KEY AUTOINCREMENT,
    PatientId     INT NOT NULL,
    Ear           VARCHAR(10)  COLLATE TSQL NOT NULL DEFAULT '',
    Device        VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Positioner    VARCHAR(10)  COLLATE TSQL NOT NULL DEFAULT '',
    SurgeryDate   DATETIME,
    StimDate      DATETIME,
    AgeAtImplant  INT NOT NULL DEFAULT -1,
    Surgeon       VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Hospital      VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Status        VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    DateOfExplant DATETIME
);
CREATE INDEX ix_internal_patient ON "Internal" (PatientId, SurgeryDate);

-- Speech-perception results; testtype 1 = before the implant.
CREATE TABLE speech (
    SpeechId  INTEGER PRIMARY KEY AUTOINCREMENT,
    patientid INT NOT NULL,
    type      VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    name      VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    score     FLOAT NOT NULL DEFAULT 0,
    time      INT NOT NULL DEFAULT 0,
    Ear       VARCHAR(30) COLLATE TSQL NOT NULL DEFAULT '',
    testtype  INT NOT NULL DEFAULT 0
);
CREATE INDEX ix_cidspeech_patient ON speech (patientid);
