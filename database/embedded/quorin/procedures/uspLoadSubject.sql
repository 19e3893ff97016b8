-- Loads one subject: by unit when the unit is not 0, else by last and first name and,
-- when one is given, birth date. The oldest matching entry comes first.
CREATE PROCEDURE uspLoadSubject
    @unit int,
    @last varchar(50),
    @first varchar(50),
    @birth datetime
AS
SELECT
    s.SubjectId AS SubjectID, s.Address, convert101(s.Birthdate, 10) AS Birth, s.City,
    convert101(s.DateofEntry, 10) AS DateEntry, convert101(s.InitialDateofConsent, 10) AS DateInitial,
    convert101(s.LastDateofConsent, 10) AS DateLast, convert101(s.LastUpdate, 10) AS DateUpdate,
    s.Email, s.EnteredBy, s.Ethnicity, s.Race, s.Firstname, s.Sex, s.PrimaryLang, s.Lastname,
    s.Notes, s.PatImpression, s.Phone1, s.Phone1Type, s.Phone2, s.Phone2Type, s.State AS state,
    s.Unit AS unit, s.Status, s.Zip AS zip, s.Longterm, s.Shortterm, s.Workday, s.Evenings,
    s.Weekends, s.Other, s.Recruitment, s.ScreeningImpr, s.Parent, s.Contact,
    convert101(s.Sent, 10) AS dSent, convert101(s.Returned, 10) AS dReturned, s.Bilingual, s.LossType,
    s.Cochlear, s.School, s.PastSpeech, s.CurrentSpeech, s.CochlearImplant
FROM subjects s
WHERE (@unit <> 0 AND s.Unit = @unit)
   OR (@unit = 0 AND s.Lastname = @last AND s.Firstname = @first
       AND (substr(@birth, 1, 10) = '1900-01-01' OR s.Birthdate = @birth))
ORDER BY s.SubjectId;
