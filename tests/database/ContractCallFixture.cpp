#include "database/ContractCallFixture.h"

#include "database/EmbeddedScriptFiles.h"

namespace quorin::test {

namespace {

// Arguments the calls need to find rows: "$name" is looked up in the demo registry,
// anything else is the literal value. Parameters not named here get a value of their type.
const std::map<std::string, std::map<std::string, std::string>> kArguments = {
    {"uspLoadSubject", {{"unit", "$unit"}, {"last", "$last"}, {"first", "$first"}, {"birth", "$birth"}}},
    {"uspLoadSubjectbyId", {{"id", "$subject"}}},
    {"uspGetCurrentStudy", {{"subjectid", "$released"}}},
    {"uspGetParticDate", {{"subjectid", "$participant"}}},
    {"uspGetNewSubjectId", {{"last", "$last"}, {"first", "$first"}, {"birth", "$birth"}, {"unit", "$unit"}}},
    {"uspGetZone", {{"zip", "53701"}}},
    {"uspGetTestId", {{"subjectid", "$subject"}}},
    {"uspLookup", {{"last", "$lastpattern"}, {"first", "%"}}},
    {"uspLoadFeedback", {{"subjectid", "$participant"}, {"irb", "none"}, {"dataset", "none"}}},
    {"uspLoadAudiogram", {{"testid", "$test"}}},
    {"uspLoadHistoryAudiogram", {{"testid", "$oldtest"}}},
    {"uspLoadAudPts", {{"testid", "$test"}}},
    {"uspLoadAudHistoryPts", {{"testid", "$oldtest"}}},
    {"uspGetAudHistoryTestIds", {{"subjectid", "$subject"}}},
    {"uspCheckSubject", {{"unit", "$unit"}, {"lastname", "$last"}, {"firstname", "$initial"}, {"birth", "$birth"}}},
    {"uspLoadCiData", {{"subjectid", "$subject"}}},
    {"uspLoadCiDevices", {{"subjectid", "$subject"}}},
    {"uspLoadSpeech", {{"subjectid", "$subject"}}},
    {"uspLoadDataset", {{"irb", "$irb"}, {"name", "$dataset"}}},
    {"uspGetOldDataset", {{"irb", "$irb"}, {"name", "$dataset"}}},
    {"uspLoadPers", {{"status", "4"}}},
    {"uspLoadPersbyUsername", {{"user", "jsmith"}}},
    // Writers, against rows that exist.
    {"uspUpdateSubject", {{"id", "$subject"}, {"birth", "$birth"}}},
    {"uspUpdateAud", {{"id", "$test"}, {"subjectid", "$subject"}}},
    {"uspWriteNewAud", {{"subjectid", "$subject"}}},
    {"uspDeleteAudPts", {{"testid", "$test"}}},
    {"uspWriteAudPts", {{"testid", "$test"}}},
    {"uspUpdateFeedback", {{"subjectid", "$participant"}, {"irb", "$irb"}, {"dataset", "$dataset"}}},
    {"uspWriteRecruitMethod", {{"method", "Radio Spot"}}},
    {"uspDeleteRecruitMethod", {{"method", "Flyer"}}},
    {"uspDeleteCiData", {{"subjectid", "$subject"}}},
    {"uspWriteCiData", {{"subjectid", "$subject"}}},
    {"uspWriteNewSpeech", {{"subjectid", "$subject"}}},
    {"uspUpdateSpeech", {{"subjectid", "$subject"}, {"testid", "$speechtest"}}},
    {"uspReOpenDataset", {{"subjectid", "$participant"}, {"irb", "$irb"}, {"title", "$dataset"}}},
    {"uspCreateNewUser", {{"user", "pnew"}}},
    {"uspUpdatePers", {{"persid", "$jsmith"}, {"user", "jsmith"}, {"status", "0"}}},
    {"uspUpdateAccount", {{"user", "jsmith"}, {"status", "3"}}},
};

} // namespace

void ContractCall::SetUp()
{
    RegistryTest::SetUp();
    // The first demo subject has everything: audiogram history, implant data, speech
    // tests, and a place in the first dataset.
    m_values["subject"] = "1";
    m_values["unit"] = queryText("select Unit as v from subjects where SubjectId = 1", "v");
    m_values["last"] = queryText("select Lastname as v from subjects where SubjectId = 1", "v");
    m_values["lastpattern"] = m_values["last"].substr(0, 2) + "%";
    m_values["first"] = queryText("select Firstname as v from subjects where SubjectId = 1", "v");
    m_values["initial"] = m_values["first"].substr(0, 1);
    m_values["birth"] = queryText("select CONVERT(char(10), Birthdate, 101) as v from subjects where SubjectId = 1", "v");
    m_values["test"] = queryText("select max(TestId) as v from aud where SubjectId = 1", "v");
    m_values["oldtest"] = queryText("select min(TestId) as v from aud where SubjectId = 1", "v");
    m_values["speechtest"] = queryText("select min(TestId) as v from speech where SubjectId = 1", "v");
    m_values["released"] = queryText("select top 1 SubjectId as v from release order by SubjectId", "v");
    m_values["participant"] =
        queryText("select top 1 SubjectId as v from participationhistory where participate = 0 order by ParticId", "v");
    m_values["irb"] = queryText("select irb as v from participationhistory where SubjectId = " + m_values["participant"] +
                                    " and participate = 0",
                                "v");
    m_values["dataset"] = queryText("select dataset as v from participationhistory where SubjectId = " +
                                        m_values["participant"] + " and participate = 0",
                                    "v");
    m_values["jsmith"] = queryText("select PersId as v from pers where UserName = 'jsmith'", "v");
    for (const auto& [name, value] : m_values)
        ASSERT_FALSE(value.empty()) << "demo registry lacks " << name;
    ASSERT_TRUE(errors().empty()) << errorText();
    for (const auto& file : schema::embeddedScriptFiles())
        for (auto& p : parseProcedures(std::string(file.text)))
            m_declared[lowerCase(p.name)] = p;
}

std::string ContractCall::valueFor(const ContractProcedure& proc, std::size_t i)
{
    const auto& param = proc.parameters[i];
    if (auto p = kArguments.find(proc.name); p != kArguments.end())
        if (auto a = p->second.find(lowerCase(param.name)); a != p->second.end())
            return a->second[0] == '$' ? m_values.at(a->second.substr(1)) : a->second;
    const auto& declaredType = m_declared.at(lowerCase(proc.name)).declaredTypes.at(i);
    if (declaredType == "datetime")
        return "3/7/2009";
    if (param.type == "int")
        return "2";
    if (param.type == "float")
        return "1.5";
    return "Demo";
}

int ContractCall::call(const ContractProcedure& proc)
{
    for (std::size_t i = 0; i < proc.parameters.size(); ++i) {
        const auto& param = proc.parameters[i];
        const std::string name = (param.atSign ? "@" : "") + param.name;
        const std::string value = valueFor(proc, i);
        if (param.type == "int")
            m_db.BindIntParam(name, std::stoi(value));
        else if (param.type == "float")
            m_db.BindFloatParam(name, std::stof(value));
        else
            m_db.BindStringParam(name, value);
    }
    return m_db.RunStoredProcedure(proc.name.c_str());
}

} // namespace quorin::test
