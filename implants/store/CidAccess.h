#pragma once
// Reading the cochlear-implant database "CID": its session and the CI Database Lookup's
// search. CID is only read.

#include <QString>
#include <vector>

class CQuorinDoc;
class MyADO;

namespace quorin {

class UserInterface;

// Connects the session to "CID" with the document's login values, unless it already is.
bool ConnectCid(const CQuorinDoc& document, MyADO& cid);

struct CidPatientRow {
    int patientId = -1;
    QString lastname;
    QString firstname;
    QString unit;
    QString birth; // MM/DD/YYYY
};

// The lookup's statement. "" and "0" (the Subject tab's "no unit") search by name; a
// unit that is no whole number says so (the KV Number message) and searches by name.
// Both names are matched as typed, as the start of the stored name.
QString CidLookupStatement(const QString& unit, const QString& last, const QString& first,
                           bool* unitNotWhole = nullptr);

// Runs the lookup on a connected CID session. The KV Number message is shown through ui
// before the name search. False when the statement failed.
bool LookupCidPatients(MyADO& cid, UserInterface& ui, const QString& unit, const QString& last,
                       const QString& first, std::vector<CidPatientRow>& out);

// A CID patient taken into the open subject: done, its read failed (the server has
// said why), or one of its values is longer than the registry column it would be saved
// into (`column` names it, "table.column"); in the last two cases nothing changed.
struct CidImport {
    enum class Outcome { Done, ReadFailed, TooLong };
    Outcome outcome = Outcome::ReadFailed;
    QString column;
};
// ImportCiFromCid with the reason it failed.
CidImport ImportCidPatient(CQuorinDoc& document, int patientId, MyADO* cid = nullptr);

} // namespace quorin
