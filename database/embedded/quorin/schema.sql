-- The research-subject registry "Quorin".
-- Text columns compare as SQL Server does (COLLATE TSQL: case-insensitive, trailing
-- blanks ignored); dates are DATETIME holding "YYYY-MM-DD HH:MM:SS.fff", and
-- 1900-01-01 is SQL Server's empty date. Column names are the ones the program's text
-- queries and procedure readers use, so both see the same names on both engines.

-- One research subject.
CREATE TABLE subjects (
    SubjectId            INTEGER PRIMARY KEY AUTOINCREMENT,
    Lastname             VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Firstname            VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Unit                 INT NOT NULL DEFAULT 0,
    Birthdate            DATETIME,
    Sex                  VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Ethnicity            VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Race                 VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Address              VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    City                 VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    State                VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Zip                  INT NOT NULL DEFAULT 0,
    Phone1               VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    Phone1Type           VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Phone2               VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    Phone2Type           VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Email                VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    PrimaryLang          VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    PatImpression        VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    DateofEntry          DATETIME,
    LastUpdate           DATETIME,
    EnteredBy            VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Status               INT NOT NULL DEFAULT 0,
    InitialDateofConsent DATETIME,
    LastDateofConsent    DATETIME,
    Notes                TEXT         COLLATE TSQL NOT NULL DEFAULT '',
    Zone                 INT NOT NULL DEFAULT 10,
    Longterm             INT NOT NULL DEFAULT 0,
    Shortterm            INT NOT NULL DEFAULT 0,
    Workday              INT NOT NULL DEFAULT 0,
    Evenings             INT NOT NULL DEFAULT 0,
    Weekends             INT NOT NULL DEFAULT 0,
    Other                INT NOT NULL DEFAULT 0,
    Recruitment          VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    ScreeningImpr        VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Parent               VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Contact              VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    Sent                 DATETIME,
    Returned             DATETIME,
    Bilingual            VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    LossType             VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Cochlear             VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    School               VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    PastSpeech           VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    CurrentSpeech        VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    CochlearImplant      VARCHAR(10)  COLLATE TSQL NOT NULL DEFAULT ''
);
-- Lookups by name (lookup, duplicate check, new id), by unit (loads, imports),
-- and the report filters.
CREATE INDEX ix_subjects_name     ON subjects (Lastname, Firstname);
CREATE INDEX ix_subjects_unit     ON subjects (Unit);
CREATE INDEX ix_subjects_status   ON subjects (Status);
CREATE INDEX ix_subjects_consent  ON subjects (LastDateofConsent);
CREATE INDEX ix_subjects_sent     ON subjects (Sent);
CREATE INDEX ix_subjects_returned ON subjects (Returned);
CREATE INDEX ix_subjects_impr     ON subjects (PatImpression);
-- The Database Numbers, Numbers added per month and Demographics reports count every
-- subject by these columns; each reads one of these narrow indexes instead of the wide
-- rows, all subjects or (Status first) the active ones only. The race index also
-- carries what the Demographics tally groups by.
CREATE INDEX ix_subjects_sex       ON subjects (Status, Sex);
CREATE INDEX ix_subjects_ethnicity ON subjects (Status, Ethnicity, Sex);
CREATE INDEX ix_subjects_race      ON subjects (Status, Race, Sex, Ethnicity, Birthdate);
CREATE INDEX ix_subjects_recruit   ON subjects (Status, Recruitment);
CREATE INDEX ix_subjects_impr_age  ON subjects (Status, PatImpression, Birthdate);
CREATE INDEX ix_subjects_birth     ON subjects (Status, Birthdate);
CREATE INDEX ix_subjects_entry     ON subjects (DateofEntry);
-- All subjects by impression and age (the active ones read the Status-first index).
CREATE INDEX ix_subjects_impr_all  ON subjects (PatImpression, Birthdate, Status);

-- Zip code to distance zone (the save stores zone 10 for an unknown zip).
CREATE TABLE zones (
    Zip   INT PRIMARY KEY,
    DZone INT NOT NULL
);

-- How subjects came to the institute, as offered on the Subject tab.
CREATE TABLE recruitment (
    method VARCHAR(100) COLLATE TSQL PRIMARY KEY
);

-- Staff members; their username is also their login.
CREATE TABLE pers (
    PersId    INTEGER PRIMARY KEY AUTOINCREMENT,
    UserName  VARCHAR(50)  COLLATE TSQL NOT NULL UNIQUE,
    LastName  VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    FirstName VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Name      VARCHAR(110) COLLATE TSQL NOT NULL DEFAULT '',
    Status    INT NOT NULL DEFAULT 0,
    Citi      DATETIME,
    Nih       DATETIME,
    Other     VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Review    VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT ''
);
CREATE INDEX ix_pers_status ON pers (Status, UserName);

-- Datasets of subjects requested under an IRB protocol.
CREATE TABLE dataset (
    Dataset      VARCHAR(100) COLLATE TSQL NOT NULL,
    Irb          VARCHAR(50)  COLLATE TSQL NOT NULL,
    ProjectTitle VARCHAR(200) COLLATE TSQL NOT NULL DEFAULT '',
    GrantNo      VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Query        TEXT         COLLATE TSQL NOT NULL DEFAULT '',
    PersId       INT,
    CreateDate   DATETIME,
    PRIMARY KEY (Dataset, Irb)
);
CREATE INDEX ix_dataset_irb ON dataset (Irb, Dataset);

-- One row per subject handed out in a dataset request.
CREATE TABLE requesthistory (
    RequestId   INTEGER PRIMARY KEY AUTOINCREMENT,
    Title       VARCHAR(100) COLLATE TSQL NOT NULL,
    Irb         VARCHAR(50)  COLLATE TSQL NOT NULL,
    SubjectId   INT NOT NULL,
    RequestDate DATETIME,
    PersId      INT
);
CREATE INDEX ix_request_title   ON requesthistory (Title, Irb);
CREATE INDEX ix_request_date    ON requesthistory (RequestDate);
CREATE INDEX ix_request_subject ON requesthistory (SubjectId);

-- A dataset is open while it has release rows.
CREATE TABLE release (
    ReleaseId   INTEGER PRIMARY KEY AUTOINCREMENT,
    Title       VARCHAR(100) COLLATE TSQL NOT NULL,
    Irb         VARCHAR(50)  COLLATE TSQL NOT NULL,
    SubjectId   INT,
    ReleaseDate DATETIME
);
CREATE INDEX ix_release_title ON release (Title, Irb);
CREATE INDEX ix_release_date  ON release (ReleaseDate);
-- Both subject loads ask for the subject's latest release.
CREATE INDEX ix_release_subject ON release (SubjectId, ReleaseDate);

-- Study participation and the researcher's feedback, one row per subject and dataset.
CREATE TABLE participationhistory (
    ParticId     INTEGER PRIMARY KEY AUTOINCREMENT,
    SubjectId    INT NOT NULL,
    Dataset      VARCHAR(100) COLLATE TSQL NOT NULL,
    Irb          VARCHAR(50)  COLLATE TSQL NOT NULL,
    Contacted    INT NOT NULL DEFAULT -1,
    ExContact    VARCHAR(200) COLLATE TSQL NOT NULL DEFAULT '',
    Participate  INT NOT NULL DEFAULT -1,
    ExPartic     VARCHAR(200) COLLATE TSQL NOT NULL DEFAULT '',
    Date1        DATETIME,
    Date2        DATETIME,
    Show         INT NOT NULL DEFAULT -1,
    Appts        INT NOT NULL DEFAULT -1,
    Completed    INT NOT NULL DEFAULT -1,
    CallAgain    INT NOT NULL DEFAULT -1,
    Lab          VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Done         INT NOT NULL DEFAULT 0,
    Sessions     INT NOT NULL DEFAULT -1,
    Comments     TEXT         COLLATE TSQL NOT NULL DEFAULT '',
    FeedbackDate DATETIME
);
CREATE INDEX ix_partic_subject  ON participationhistory (SubjectId, Irb, Dataset);
-- The dataset report counts each dataset's uncontacted subjects: with the contact code
-- in this index the count reads one dataset's rows, not every row of that code.
CREATE INDEX ix_partic_dataset  ON participationhistory (Dataset, Irb, Contacted);
CREATE INDEX ix_partic_irb      ON participationhistory (Irb);
CREATE INDEX ix_partic_date1    ON participationhistory (Date1);
CREATE INDEX ix_partic_feedback ON participationhistory (FeedbackDate);
-- The letters report and the contact counts select by contact code.
CREATE INDEX ix_partic_contacted ON participationhistory (Contacted);

-- Calls made to subjects of a dataset.
CREATE TABLE calllog (
    CallId    INTEGER PRIMARY KEY AUTOINCREMENT,
    Dataset   VARCHAR(100) COLLATE TSQL NOT NULL,
    Irb       VARCHAR(50)  COLLATE TSQL NOT NULL,
    SubjectId INT,
    CallDate  DATETIME,
    PersId    INT,
    Notes     VARCHAR(200) COLLATE TSQL NOT NULL DEFAULT ''
);
CREATE INDEX ix_calllog_dataset ON calllog (Dataset, Irb);

-- One audiogram test of a subject.
CREATE TABLE aud (
    TestId        INTEGER PRIMARY KEY AUTOINCREMENT,
    SubjectId     INT NOT NULL,
    TestDate      DATETIME,
    TestedBy      VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Reliability   INT NOT NULL DEFAULT -1,
    Method        INT NOT NULL DEFAULT -1,
    Imported      INT NOT NULL DEFAULT 0,
    ImpressL      INT NOT NULL DEFAULT -1,
    ImpressR      INT NOT NULL DEFAULT -1,
    ImpressSF     INT NOT NULL DEFAULT -1,
    TinnitusL     INT NOT NULL DEFAULT 0,
    TinnitusR     INT NOT NULL DEFAULT 0,
    FullnessL     INT NOT NULL DEFAULT 0,
    FullnessR     INT NOT NULL DEFAULT 0,
    HearingAidsL  INT NOT NULL DEFAULT 0,
    HearingAidsR  INT NOT NULL DEFAULT 0,
    Dizziness     INT NOT NULL DEFAULT 0,
    NoiseExp      INT NOT NULL DEFAULT 0,
    HxHearingLoss INT NOT NULL DEFAULT 0,
    Sped          INT NOT NULL DEFAULT 0,
    SpchLang      INT NOT NULL DEFAULT 0,
    OM            INT NOT NULL DEFAULT 0,
    OAEL          INT NOT NULL DEFAULT -1,
    OAER          INT NOT NULL DEFAULT -1,
    ABRL          INT NOT NULL DEFAULT -1,
    ABRR          INT NOT NULL DEFAULT -1,
    TympL         INT NOT NULL DEFAULT -1,
    TympR         INT NOT NULL DEFAULT -1,
    PeakYL        FLOAT NOT NULL DEFAULT -999.0,
    PeakYR        FLOAT NOT NULL DEFAULT -999.0,
    PeakPressL    FLOAT NOT NULL DEFAULT -999.0,
    PeakPressR    FLOAT NOT NULL DEFAULT -999.0,
    ReflexL       INT NOT NULL DEFAULT -1,
    ReflexR       INT NOT NULL DEFAULT -1,
    ETFVolL       FLOAT NOT NULL DEFAULT -999.0,
    ETFVolR       FLOAT NOT NULL DEFAULT -999.0,
    ETFRelL       FLOAT NOT NULL DEFAULT -999.0,
    ETFRelR       FLOAT NOT NULL DEFAULT -999.0,
    SRTR INT NOT NULL DEFAULT -1, SATR INT NOT NULL DEFAULT -1,
    Lev1R INT NOT NULL DEFAULT -1, Lev2R INT NOT NULL DEFAULT -1, Lev3R INT NOT NULL DEFAULT -1,
    Lev4R INT NOT NULL DEFAULT -1, Lev5R INT NOT NULL DEFAULT -1,
    PC1R INT NOT NULL DEFAULT -1, PC2R INT NOT NULL DEFAULT -1, PC3R INT NOT NULL DEFAULT -1,
    PC4R INT NOT NULL DEFAULT -1, PC5R INT NOT NULL DEFAULT -1,
    MatR          VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    SRTL INT NOT NULL DEFAULT -1, SATL INT NOT NULL DEFAULT -1,
    Lev1L INT NOT NULL DEFAULT -1, Lev2L INT NOT NULL DEFAULT -1, Lev3L INT NOT NULL DEFAULT -1,
    Lev4L INT NOT NULL DEFAULT -1, Lev5L INT NOT NULL DEFAULT -1,
    PC1L INT NOT NULL DEFAULT -1, PC2L INT NOT NULL DEFAULT -1, PC3L INT NOT NULL DEFAULT -1,
    PC4L INT NOT NULL DEFAULT -1, PC5L INT NOT NULL DEFAULT -1,
    MatL          VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    SRTSF INT NOT NULL DEFAULT -1, SATSF INT NOT NULL DEFAULT -1,
    Comments      TEXT COLLATE TSQL NOT NULL DEFAULT '',
    Recommend     TEXT COLLATE TSQL NOT NULL DEFAULT '',
    CochImpL      INT NOT NULL DEFAULT 0,
    CochImpR      INT NOT NULL DEFAULT 0
);
CREATE INDEX ix_aud_subject ON aud (SubjectId, TestId);

-- The symbols plotted on an audiogram; xy = frequency index * 100 + level index.
CREATE TABLE audpoints (
    TestId INT NOT NULL,
    symbol INT NOT NULL,
    xy     INT NOT NULL,
    mask   INT NOT NULL DEFAULT -1,
    recent INT NOT NULL DEFAULT 1,
    type   INT NOT NULL DEFAULT 3
);
CREATE INDEX ix_audpoints_test ON audpoints (TestId);

-- Speech, language and literacy tests.
CREATE TABLE speech (
    TestId        INTEGER PRIMARY KEY AUTOINCREMENT,
    SubjectId     INT NOT NULL,
    TestName      VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    TestDate      DATETIME,
    AgeAtTest     VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    TestedBy      VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Lab           VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Screening     VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    RawScore      VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    StandardScore VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    AgeEquivalent INT NOT NULL DEFAULT 0,
    Percentile    VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    SD            VARCHAR(20)  COLLATE TSQL NOT NULL DEFAULT '',
    Other         VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Comments      TEXT         COLLATE TSQL NOT NULL DEFAULT ''
);
CREATE INDEX ix_speech_subject ON speech (SubjectId, TestId);

-- Cochlear-implant history before implantation, one row per subject.
CREATE TABLE cidata (
    SubjectId        INT PRIMARY KEY,
    DurationPriorL   INT NOT NULL DEFAULT 0,
    DurationPriorR   INT NOT NULL DEFAULT 0,
    DegreePriorL     VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    DegreePriorR     VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    NatureL          VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    NatureR          VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    EtiologyL        VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    EtiologyR        VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    HAL              INT NOT NULL DEFAULT 0,
    HAR              INT NOT NULL DEFAULT 0,
    HaTimeL          INT NOT NULL DEFAULT 0,
    HaTimeR          INT NOT NULL DEFAULT 0,
    DurationUnaidedL INT NOT NULL DEFAULT 0,
    DurationUnaidedR INT NOT NULL DEFAULT 0,
    Processor1       VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Processor2       VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT ''
);

-- Implanted devices. The program inserts rows without a column list, so the columns
-- stand in exactly this order and there are no others.
CREATE TABLE CiDevice (
    SubjectId    INT NOT NULL,
    Ear          VARCHAR(10)  COLLATE TSQL NOT NULL DEFAULT '',
    Device       VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Positioner   VARCHAR(10)  COLLATE TSQL NOT NULL DEFAULT '',
    SurgDate     DATETIME,
    StimDate     DATETIME,
    AgeAtImplant INT NOT NULL DEFAULT -1,
    Surgeon      VARCHAR(50)  COLLATE TSQL NOT NULL DEFAULT '',
    Hospital     VARCHAR(100) COLLATE TSQL NOT NULL DEFAULT '',
    Status       VARCHAR(30)  COLLATE TSQL NOT NULL DEFAULT '',
    ExplantDate  DATETIME
);
CREATE INDEX ix_cidevice_subject ON CiDevice (SubjectId);

-- Cochlear-implant speech results; inserted without a column list like CiDevice.
CREATE TABLE cispeech (
    SubjectId INT NOT NULL,
    DataType  VARCHAR(20) COLLATE TSQL NOT NULL DEFAULT '',
    TestType  VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    TestName  VARCHAR(50) COLLATE TSQL NOT NULL DEFAULT '',
    Score     FLOAT NOT NULL DEFAULT 0,
    TimeIS    INT NOT NULL DEFAULT 0,
    Condition VARCHAR(30) COLLATE TSQL NOT NULL DEFAULT ''
);
CREATE INDEX ix_cispeech_subject ON cispeech (SubjectId);
