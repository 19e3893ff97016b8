#include "implants/store/CidAccess.h"

#include "document/CQuorinDoc.h"
#include "rules/DbString.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/KvNumber.h"

namespace quorin {

bool ConnectCid(const CQuorinDoc& document, MyADO& cid)
{
    if (cid.IsConnected())
        return true;
    return cid.SetDataSource(ToDb(document.m_strServer).c_str(), ToDb(document.m_strUserName).c_str(),
                             ToDb(document.m_strPassword).c_str(), "CID")
           != 0;
}

QString CidLookupStatement(const QString& unit, const QString& last, const QString& first, bool* unitNotWhole)
{
    const sql::KvReading kv = sql::ReadKvNumber(unit);
    if (unitNotWhole)
        *unitNotWhole = kv.kind == sql::KvReading::Kind::NotWhole;
    if (kv.kind == sql::KvReading::Kind::Number)
        return QStringLiteral("Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from "
                              "patient where Unit = '%1'")
            .arg(kv.number);
    return QStringLiteral("Select PatientId, Lastname, Firstname, Convert(char,Dob,101)as birth, Unit from "
                          "patient where Lastname like '%1%' and firstname like '%2%'")
        .arg(sql::LikeText(last), sql::LikeText(first));
}

bool LookupCidPatients(MyADO& cid, UserInterface& ui, const QString& unit, const QString& last, const QString& first,
                       std::vector<CidPatientRow>& out)
{
    bool notWhole = false;
    const QString statement = CidLookupStatement(unit, last, first, &notWhole);
    if (notWhole)
        ui.MessageBox(sql::KvNumberMessage(), UserInterface::Icon::Stop);
    if (!RunText(cid, statement))
        return false;
    for (; !cid.IsEOF(); cid.MoveNext()) {
        CidPatientRow row;
        row.patientId = cid.GetIntField("PatientId");
        row.lastname = StringField(cid, "Lastname");
        row.firstname = StringField(cid, "Firstname");
        row.unit = StringField(cid, "Unit");
        row.birth = StringField(cid, "birth");
        out.push_back(row);
    }
    return true;
}

} // namespace quorin
