-- Loads one subject by its key, with its age in whole months for the reports
-- (0 when the birth date is unknown).
CREATE PROCEDURE uspLoadSubjectbyId
    @id int
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
    s.Cochlear, s.School, s.PastSpeech, s.CurrentSpeech, s.CochlearImplant,
    CASE WHEN s.Birthdate IS NULL OR s.Birthdate < '1900-01-02' THEN 0
         ELSE datediff('mm', s.Birthdate, getdate())
              - CASE WHEN strftime('%d', getdate()) < strftime('%d', s.Birthdate) THEN 1 ELSE 0 END
    END AS age
FROM subjects s
WHERE s.SubjectId = @id;
