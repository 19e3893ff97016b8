-- Date of the subject's last study participation (participate code 0).
CREATE PROCEDURE uspGetParticDate
    @SubjectId int
AS
SELECT convert101(Date1, 10) AS aDate
FROM participationhistory
WHERE SubjectId = @SubjectId AND Participate = 0
ORDER BY Date1 DESC, ParticId DESC
LIMIT 1;
