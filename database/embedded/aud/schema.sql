-- Stand-in for the clinic's Audiogram Manager database "Aud": the tables and columns
-- the registry reads (and the one status column, Velmar, it writes back). One test is
-- one PatientIndex; a patient is a PatientNum, the registry's unit.

CREATE TABLE info (
    PatientIndex INTEGER PRIMARY KEY AUTOINCREMENT,
    PatientNum   INT NOT NULL,
    Date         DATETIME,
    Birthdate    DATETIME,
    LastName     VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    FirstName    VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Testedby     VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Velmar       VARCHAR(20) COLLATE TSQL NOT NULL DEFAULT ''
);
CREATE INDEX ix_info_patient ON info (PatientNum, Date);
CREATE INDEX ix_info_name    ON info (LastName, FirstName);

CREATE TABLE Other (
    PatientIndex INT PRIMARY KEY,
    Reliability  INT NOT NULL DEFAULT -1,
    Method       INT NOT NULL DEFAULT -1,
    Comment      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Recomm       TEXT COLLATE TSQL NOT NULL DEFAULT ''
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
