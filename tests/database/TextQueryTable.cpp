#include "database/TextQueryTable.h"

#include "dalport/MyADO.h"

namespace quorin::test {

const std::vector<TextQuery>& readingQueries()
{
    static const std::vector<TextQuery> queries = {
        // Subject storage.
        {"Quorin", "SELECT subjectid from subjects where firstname like '{first}' and lastname like '{last}'", "subjectid"},
        // Audiogram history and the Audiogram Manager import.
        {"Aud", "Select PatientIndex from info WHERE PatientNum = {unit} order by date desc ", "PatientIndex"},
        {"Aud", "SELECT CONVERT(char, Info.[Date], 101) AS date, Info.Testedby, Other.Reliability, Other.Method, Other.Comment, Other.Recomm FROM Info INNER JOIN Other ON Info.PatientIndex = Other.PatientIndex WHERE (Info.PatientIndex = {index})",
         "date,testedby,reliability,method,comment,recomm"},
        {"Aud", "SELECT     TympNormR AS tympr, TympNormL AS tympl, TympPeakYL AS peakyl, TympPeakYR AS peakyr, TympAnormLVal AS peakpressl, TympAnormRVal AS peakpressr, TestedL AS reflexl, TestedR AS reflexr, DecayL as reflexal, DecayR as reflexar, EFTVolL AS etfvoll, EFTVolR AS etfvolr, EFTRelL AS etfrell, EFTRelR AS etfrelr FROM Immit WHERE (PatientIndex = {index})",
         "tympr,tympl,peakyl,peakyr,peakpressl,peakpressr,reflexl,reflexr,etfvoll,etfvolr,etfrell,etfrelr"},
        {"Aud", "SELECT Impress.normal_r AS NormalR, Impress.normal_l AS NormalL, Impress.conductive_r AS ConductR, Impress.conductive_l AS ConductL, Impress.sensorineural_r AS SensR, Impress.sensorineural_l AS SensL, Impress.sensorineural_sf AS SensSF, Impress.mixed_r AS MixedR, Impress.mixed_l AS MixedL, Impress.mixed_sf AS MixedSF, Impress.undetermined_r AS UndetR, Impress.undetermined_l AS UndetL, Impress.undetermined_sf AS UndetSF, Special.tinnitus_r AS TinnitusR, Special.tinnitus_l AS TinnitusL, Special.fullness_r AS FullnessR, Special.fullness_l AS FullnessL, Special.hearing_aids_r AS HaR, Special.hearing_aids_l AS HaL, Special.dizziness AS Dizziness, Special.hx_of_om AS OM, Special.hx_of_noise_exp AS NoiseExp, Special.enrolled_sped AS Sped, Special.enrolled_speech AS SpchLang, Special.famhx AS HxHearingLoss, Impress.conductive_sf AS ConductSF, Impress.normal_sf AS NormalSF FROM Impress INNER JOIN Special ON Impress.PatientIndex = Special.PatientIndex Where Impress.PatientIndex = {index}",
         "NormalR,NormalL,ConductR,ConductL,SensR,SensL,SensSF,MixedR,MixedL,MixedSF,UndetR,UndetL,UndetSF,TinnitusR,TinnitusL,FullnessR,FullnessL,HaR,HaL,Dizziness,OM,NoiseExp,Sped,SpchLang,HxHearingLoss,ConductSF,NormalSF"},
        {"Aud", "SELECT sata AS SatR, srta AS SrtR, lev1a AS Lev1R, lev2a AS Lev2R, pc1a AS Pc1R, pc2a AS Pc2R, mata AS MatR, satb AS SatL, srtb AS SrtL, lev1b AS Lev1L, lev2b AS Lev2L, pc1b AS Pc1L, pc2b AS Pc2L, matb AS MatL, satc AS SatSF, srtc AS SrtSF, matc AS MatSF FROM Speech Where Patientindex = {index}",
         "SatR,SrtR,Lev1R,Lev2R,Pc1R,Pc2R,MatR,SatL,SrtL,Lev1L,Lev2L,Pc1L,Pc2L,MatL,SatSF,SrtSF"},
        {"Aud", "select x,y,symbol,mask from newpoints where patientindex = {index} order by symbol,x", "x,y,symbol,mask"},
        {"Aud", "Select patientnum, Convert(char,birthdate,101)as birth from info where patientindex = {index}", "patientnum,birth"},
        {"Aud", "Select patientindex from info where patientnum = {unit} and datediff(yy,GetDate(),Birthdate) <=2 order by date desc", "patientindex"},
        {"Aud", "Select patientindex from info where patientnum = {unit} and datediff(yy,GetDate(),Birthdate) <6 order by date desc", "patientindex"},
        {"Aud", "Select patientindex from info where patientnum = {unit} order by date desc", "patientindex"},
        {"Aud", "Select Lastname, Firstname, CONVERT(char,birthdate,101)as birth, patientnum as unit from info where patientindex = {index}", "Lastname,Firstname,birth,unit"},
        {"Aud", "SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE PatientNum = {unit}order by Lastname, Firstname ", "Last,First,Unit,Birth"},
        {"Aud", "SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE LastName like '{last}%' and FirstName like '{first}%' and BirthDate = '{birth}' order by Lastname, Firstname ", "Last,First,Unit,Birth"},
        {"Aud", "SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE LastName like '{last}%' and FirstName like '{first}%' order by Lastname, Firstname ", "Last,First,Unit,Birth"},
        {"Aud", "Select patientindex from info WHERE date > '1/1/1900' AND patientnum = {unit} ", "patientindex"},
        // Cochlear-implant data and the CID import.
        {"Quorin", "Select * from CiSpeech where SubjectId = {subject}", "DataType,TestType,TestName,Score,TimeIS,Condition"},
        {"Quorin", "Select SubjectId, Unit from subjects where patimpression = 'Cochlear Implant'", "SubjectId,Unit"},
        {"CID", "Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from patient where Lastname like '{last}%' and firstname like '{first}%'", "PatientId,Lastname,firstname,birth,Unit"},
        {"CID", "Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from patient where Unit = '{unit}'", "PatientId,Lastname,firstname,birth,Unit"},
        {"CID", "Select PatientId, DurationLeft,DurationRight,DegreePriorLeft,DegreePriorRight, NatureOnsetLeft,NatureOnsetRight,EtiologyLeft,Etiologyright,HaLeft,HaTimeLeft, HaRight,HaTimeRight,UnaidedLeft,UnaidedRight from patient where patientid = {cid} ",
         "DurationLeft,DurationRight,DegreePriorLeft,DegreePriorRight,NatureOnsetLeft,NatureOnsetRight,EtiologyLeft,EtiologyRight,HaLeft,HaRight,HaTimeLeft,HaTimeRight,UnaidedLeft,UnaidedRight"},
        {"CID", "Select Processor from [external] where PatientId = {cid} order by DateFit desc ", "Processor"},
        {"CID", "SELECT     Ear,Device, Positioner, CONVERT(char,SurgeryDate,101) as SurgDate, CONVERT(char,StimDate,101) as StimDate, AgeAtImplant, Surgeon, Hospital, Status, CONVERT(char,DateOfExplant,101) as XDate, PatientId FROM         [Internal] where PatientId = {cid} ORDER BY SurgeryDate desc ",
         "Ear,Device,Positioner,SurgDate,StimDate,AgeAtImplant,Surgeon,Hospital,Status,XDate"},
        {"CID", "select type, name, score, time, Ear, testtype from speech where patientid = {cid}", "type,name,score,time,Ear,testtype"},
        {"CID", "Select patientid from patient where unit = '{unit}'", "patientid"},
        // Consent, contact and letters.
        {"Quorin", "select SubjectId, Lastname, Firstname, CONVERT(char,LastDateofConsent,101)as lastdate, Address, city, state, zip, Parent,CONVERT(char,Sent,101)as dsent,CONVERT(char,Returned,101)as dreturned from subjects where datediff(mm,LastDateofConsent, getdate()) > 24 and Status = 0 and Returned != '01/01/1901' and subjectid not in (select subjectid from ParticipationHistory where datediff(mm,date1,getdate())<=24 and (participate=0 or contacted=0)) order by LastDateofConsent,Lastname, Firstname",
         "SubjectId,Lastname,Firstname,lastdate,Address,city,state,zip,Parent,dSent,dReturned"},
        {"Quorin", "select subjectid, lastname, firstname, CONVERT(char,lastdateofconsent,101)as lastdate, address, city, state, zip, parent,CONVERT(char,sent,101)as dsent,CONVERT(char,returned,101)as dreturned from subjects where DATEDIFF(d, birthdate,getdate()) >= 19*365.25and DateDiff(dd, birthdate, lastdateofconsent) < 19*365.25 and status = 0 and Returned != '01/01/1901' order by lastdateofconsent,lastname, firstname",
         "SubjectId,Lastname,Firstname,lastdate,Address,city,state,zip,Parent,dSent,dReturned"},
        {"Quorin", "select subjectid, lastname, firstname, CONVERT(char,lastdateofconsent,101)as lastdate, address, city, state, zip, parent,CONVERT(char,sent,101)as dsent,CONVERT(char,returned,101)as dreturned from subjects where status = 0 and Returned = '01/01/1901' order by lastname, firstname",
         "SubjectId,Lastname,Firstname,lastdate,Address,city,state,zip,Parent,dSent,dReturned"},
        {"Quorin", "select participationhistory.subjectid, lastname, firstname, excontact,dataset,irb, convert(char,feedbackdate,101) as fdate from participationhistory inner join subjects on participationhistory.subjectid = subjects.subjectid where contacted = 1 ",
         "subjectid,Lastname,Firstname,excontact,Dataset,irb,fdate"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects ", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects where Sent between '{from}' and '{to}' ", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects where Sent between '{from}' and '{to}' and Returned > '{from}'", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects where Returned between '{from}' and '{to}' and Status = 0", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects where Returned between '{from}' and '{to}' and Status = 1", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from subjects where Sent between '{from}' and '{to}' and Returned < '{from}'", "num"},
        // Datasets and IRBs.
        {"Quorin", "Select distinct dataset, dataset.irb, max(requestdate), Convert(char,max(requestdate),101) as RDate from dataset inner join requesthistory on dataset.dataset = requesthistory.title where requestdate between '{from}' and '{to}' group by dataset, dataset.irb  order by max(requestdate),dataset", "Dataset,irb,RDate"},
        {"Quorin", "Select distinct dataset, dataset.irb, max(requestdate), Convert(char,max(requestdate),101) as RDate from dataset inner join requesthistory on dataset.dataset = requesthistory.title where requestdate between '{from}' and '{to}' group by dataset, dataset.irb  order by dataset.irb, dataset", "Dataset,irb,RDate"},
        {"Quorin", "select distinct dataset, dataset.irb, count(distinct subjectid)as num from dataset inner join requesthistory on dataset.dataset = requesthistory.title and dataset.irb = requesthistory.irb where requestdate between '{from}' and '{to}'and dataset = '{dataset}' and dataset.irb = '{irb}'group by dataset, dataset.irb  order by dataset", "Dataset,Irb,num"},
        {"Quorin", "select distinct dataset, dataset.irb, count(distinct subjectid)as num from dataset inner join requesthistory on dataset.dataset = requesthistory.title and dataset.irb = requesthistory.irb where requestdate between '{from}' and '{to}'and dataset = '{dataset}' and dataset.irb = '{irb}'group by dataset, dataset.irb  order by dataset.irb, dataset", "Dataset,Irb,num"},
        {"Quorin", "select count(*)as num from participationhistory where dataset = '{dataset}' and irb = '{irb}' and contacted = 0 ", "num"},
        {"Quorin", "select count(*)as num from participationhistory where dataset = '{dataset}' and irb = '{irb}' and participate = 0 ", "num"},
        {"Quorin", "select count(*)as num from release where title = '{dataset}' and irb = '{irb}' ", "num"},
        {"Quorin", "select username from requesthistory, pers where pers.persid = requesthistory.persid and title = '{dataset}' and irb = '{irb}'", "username"},
        // Demographics and database numbers.
        {"Quorin", "select sex,count(sex) as num from subjects where (race like '%%White%%' ) and datediff(yy,birthdate, GetDate()) < 19  group by sex order by sex ", "sex,num"},
        {"Quorin", "select sex,count(sex) as num from subjects where (race like '%Not Reported%' or race = '' or race = 'NULL') and datediff(yy,birthdate, GetDate()) >= 19 and ethnicity like 'Hispanic%' and status = 0 group by sex order by sex ", "sex,num"},
        {"Quorin", "select sex,count(sex) as num from subjects where (race like 'Other%' or race like 'More%')  and (ethnicity = '' or ethnicity = 'NULL')  group by sex order by sex ", "sex,num"},
        {"Quorin", "select sex,count(sex) as num from subjects where (ethnicity like 'Hispanic%%' ) and datediff(yy,birthdate, GetDate()) < 19  group by sex order by sex ", "sex,num"},
        {"Quorin", "select datediff(mm,dateofentry, getdate()) as months, count(datediff(mm,dateofentry, getdate())) as num from subjects group by datediff(mm,dateofentry,getdate()) order by months", "months,num"},
        {"Quorin", "select  count (*) as num from subjects", "num"},
        {"Quorin", "select  count (*) as num from subjects where status = 0", "num"},
        {"Quorin", "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where datediff(yy,birthdate, GetDate()) < 19", "num"},
        {"Quorin", "select count(*) as num from subjects inner join aud on subjects.subjectid = aud.subjectid where datediff(yy,birthdate, GetDate()) >= 19  and status = 0", "num"},
        {"Quorin", "select count(*) as num from aud", "num"},
        {"Quorin", "select count(*) as num from aud inner join subjects on subjects.subjectid = aud.subjectid where status = 0", "num"},
        {"Quorin", "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) < 19 group by patimpression order by patimpression", "patimpression,num"},
        {"Quorin", "select patimpression, count (patimpression) as num from subjects where datediff(yy,birthdate, GetDate()) >= 19  and status = 0group by patimpression order by patimpression", "patimpression,num"},
        {"Quorin", "select sex, count(sex) as num from subjects group by sex order by sex", "sex,num"},
        {"Quorin", "select sex, count(sex) as num from subjects where status=0group by sex order by sex", "sex,num"},
        {"Quorin", "select ethnicity, count(ethnicity) as num, sex from subjects group by ethnicity,sex order by ethnicity,sex", "ethnicity,num,sex"},
        {"Quorin", "select race, count(race) as num, sex from subjects where status = 0 group by race,sex order by race,sex", "race,num,sex"},
        {"Quorin", "select  recruitment, count (recruitment) as num from subjects group by recruitment order by num desc, recruitment", "recruitment,num"},
        {"Quorin", "select  recruitment, count (recruitment) as num from subjects  where status = 0group by recruitment order by num desc, recruitment", "recruitment,num"},
        {"Quorin", "select sex, race, ethnicity, datediff(yy,birthdate,getdate()) as age, count(sex) as num, count(race) as races, count(ethnicity) as ethnicities from subjects group by race, sex, ethnicity, datediff(yy,birthdate,getdate())", "sex,race,ethnicity,age,num,races,ethnicities"},
        {"Quorin", "select sex, race, ethnicity, datediff(yy,birthdate,getdate()) as age, count(sex) as num, count(race) as races, count(ethnicity) as ethnicities from subjects where status = 0 group by race, sex, ethnicity, datediff(yy,birthdate,getdate())", "sex,race,ethnicity,age,num,races,ethnicities"},
        {"Quorin", "select sex,count(sex) as num from subjects where (ethnicity = '' or ethnicity = 'NULL' or ethnicity like 'Not Reported%') and datediff(yy,birthdate, GetDate()) >= 19 and status = 0 group by sex order by sex ", "sex,num"},
        {"Quorin", "select sex,count(sex) as num from subjects where (race like '%%Asian%%' ) and datediff(yy,birthdate, GetDate()) < 19  and ethnicity like 'Not Hispanic%' group by sex order by sex ", "sex,num"},
        {"Quorin", "select count(*) as num from subjects where dateofentry is null", "num"},
        // Participation, feedback and closed datasets.
        {"Quorin", "select count(distinct dataset) as num from dataset", "num"},
        {"Quorin", "select count(distinct title) as num from release", "num"},
        {"Quorin", "select count(distinct dataset) as num from participationhistory where dataset not in (select distinct title from release)", "num"},
        {"Quorin", "Select count(*) as num from requesthistory where requestdate between '{from}' and '{to}'", "num"},
        {"Quorin", "Select count(distinct irb) as num from release where releasedate between '{from}' and '{to}'", "num"},
        {"Quorin", "Select count(distinct dataset) as num from participationhistory where date1 between '{from}' and '{to}'", "num"},
        {"Quorin", "select  subjectid, count(subjectid)as appear from participationhistory where date1 between '{from}' and '{to}' group by subjectid having count(subjectid) >=1 order by count(subjectid) desc", "subjectid,appear"},
        {"Quorin", "select count(*) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where datediff(yy,birthdate, GetDate()) < 19 and date1 between '{from}' and '{to}'", "num"},
        {"Quorin", "select sex, count(sex) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where date1 between '{from}' and '{to}' group by sex order by sex", "sex,num"},
        {"Quorin", "select ethnicity, count(ethnicity) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where date1 between '{from}' and '{to}' group by ethnicity order by ethnicity", "ethnicity,num"},
        {"Quorin", "select race, count(race) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where date1 between '{from}' and '{to}' group by race order by race", "race,num"},
        {"Quorin", "select count(*) as num from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where datediff(yy,birthdate, GetDate()) >= 19 and (PatImpression = 'Hearing Impaired' or PatImpression = 'Cochlear Implant') and date1 between '{from}' and '{to}'", "num"},
        {"Quorin", "Select count(distinct subjectid) as num from participationhistory where date1 between '{from}' and '{to}'", "num"},
        {"Quorin", "Select count(subjectid) as num from subjects where status = 0", "num"},
        {"Quorin", "Select distinct dataset from dataset order by dataset", "dataset"},
        {"Quorin", "Select irb from participationhistory where dataset = '{dataset}'", "irb"},
        {"Quorin", "Select count(distinct subjectid)as num from participationhistory where dataset = '{dataset}'", "num"},
        {"Quorin", "Select count(distinct subjectid)as num from requesthistory where title = '{dataset}'", "num"},
        {"Quorin", "Select count(*)as num from participationhistory", "num"},
        {"Quorin", "Select count(*)as num from requesthistory", "num"},
        {"Quorin", "Select count(*) as num from participationhistory where (contacted = 1 or contacted = 4  or contacted = 2) and dataset = '{dataset}'", "num"},
        {"Quorin", "Select count(*) as num from participationhistory where contacted = 1 or contacted = 4 or contacted = 2", "num"},
        {"Quorin", "Select count(*) as num from participationhistory where completed = 1 and dataset = '{dataset}'", "num"},
        {"Quorin", "select lastname, firstname, contacted, participate, excontact, expartic, race, ethnicity from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where dataset = '{dataset}'",
         "lastname,firstname,contacted,participate,excontact,expartic,race,ethnicity"},
        {"Quorin", "Select count(distinct subjectid)as num from participationhistory where feedbackdate between '{from}' and '{to}' and Dataset like '%%' ", "num"},
        {"Quorin", "Select count(*) as num from participationhistory where (contacted = 1 or contacted = 4  or contacted = 2) and feedbackdate between '{from}' and '{to}' and Dataset like '{dataset}' ", "num"},
        {"Quorin", "select lastname, firstname, contacted, participate, excontact, expartic, race, ethnicity  from subjects inner join participationhistory on subjects.subjectid = participationhistory.subjectid where feedbackdate between '{from}' and '{to}' and Dataset like '%%' ",
         "lastname,firstname,contacted,participate,excontact,expartic,race,ethnicity"},
        {"Quorin", "Select distinct irb from participationhistory", "irb"},
        {"Quorin", "Select distinct dataset from participationhistory where irb = '{irb}'", "Dataset"},
    };
    return queries;
}

const std::vector<TextQuery>& changingStatements()
{
    static const std::vector<TextQuery> statements = {
        {"Aud", "Update info set Velmar = 'Declined' where patientnum = {unit} and Birthdate = '{birth}' ", ""},
        {"Quorin", "Delete from cidevice where subjectid = {subject}", ""},
        {"Quorin", "Insert into CiDevice values({subject}, 'Left','Nucleus 24k','Yes','03/07/2009','04/01/2009',12, 'Dr. Osei','University Hospital','In Use','')", ""},
        {"Quorin", "Delete from cispeech where subjectid = {subject}", ""},
        {"Quorin", "Insert into cispeech values({subject}, 'Post Implant', 'Word Recognition', 'CNC', 55.50, 14, 'Binaural CI')", ""},
        {"Quorin", "Delete from speech where TestId = -100", ""},
        {"Quorin", "update participationhistory set contacted = 4 where subjectid = {subject} and contacted = 1", ""},
        {"Quorin", "delete from calllog where dataset not in  (select dataset from dataset)", ""},
        {"Quorin", "delete from calllog where dataset = '{dataset}' and irb = '{irb}'", ""},
        {"Quorin", "Update Pers set status = 1 where username = 'rolson'", ""},
    };
    return statements;
}

namespace {

std::string firstValue(MyADO& session, const std::string& sql)
{
    if (!session.RunTextQuery(sql.c_str()) || session.IsEOF())
        return "";
    return session.GetStringField("v");
}

} // namespace

std::map<std::string, std::string> textQueryValues(MyADO& quorin, MyADO& aud, MyADO& cid)
{
    std::map<std::string, std::string> values;
    // Subject 1 is an implant patient with a unit, in CID and (often) the clinic's database.
    values["subject"] = "1";
    values["unit"] = firstValue(quorin, "select Unit as v from subjects where SubjectId = 1");
    values["last"] = firstValue(quorin, "select Lastname as v from subjects where SubjectId = 1");
    values["first"] = firstValue(quorin, "select Firstname as v from subjects where SubjectId = 1");
    values["birth"] = firstValue(quorin, "select CONVERT(char(10), Birthdate, 101) as v from subjects where SubjectId = 1");
    values["irb"] = firstValue(quorin, "select top 1 irb as v from participationhistory order by ParticId");
    values["dataset"] = firstValue(quorin, "select top 1 dataset as v from participationhistory order by ParticId");
    values["from"] = "1/1/2000";
    values["to"] = "6/15/2026";
    values["index"] = firstValue(aud, "select min(PatientIndex) as v from info");
    values["cid"] = firstValue(cid, "select PatientId as v from patient where Unit = '" + values["unit"] + "'");
    std::erase_if(values, [](const auto& entry) { return entry.second.empty(); });
    return values;
}

std::string fillQuery(std::string sql, const std::map<std::string, std::string>& values)
{
    for (const auto& [name, value] : values) {
        const std::string token = "{" + name + "}";
        for (auto at = sql.find(token); at != std::string::npos; at = sql.find(token, at + value.size()))
            sql.replace(at, token.size(), value);
    }
    return sql;
}

} // namespace quorin::test
