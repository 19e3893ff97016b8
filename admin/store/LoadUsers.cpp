// The Users window's list and the User dialog's member, read from pers.

#include "admin/store/UserAccounts.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "document/CReportList.h"

using quorin::UserInterface;

namespace quorin {

namespace {

void ReadErrorOnPers(CQuorinDoc& document)
{
    document.UI().MessageBox(QStringLiteral("Read error on table Pers"), UserInterface::Icon::Stop);
}

} // namespace

bool LoadUsers(CQuorinDoc& document, CReportList& list, int status, bool setUpColumns)
{
    list.DeleteAllItems();
    if (setUpColumns) {
        list.InsertColumn(0, QStringLiteral("Username"), CReportList::FormatLeft, 120);
        list.InsertColumn(1, QStringLiteral("Name"), CReportList::FormatLeft, 135);
        // PersId, kept out of sight.
        list.InsertColumn(2, QString(), CReportList::FormatLeft, 0);
    }
    MyADO& db = document.m_db;
    db.BindIntParam("@status", status);
    const int ran = db.RunStoredProcedure("uspLoadPers");
    if (!ran) {
        db.RemoveParams();
        ReadErrorOnPers(document);
        return false;
    }
    for (int row = 0; !db.IsEOF(); db.MoveNext(), ++row) {
        list.InsertItem(row, StringField(db, "UserName"));
        list.SetItemText(row, 1,
                         QStringLiteral("%1, %2").arg(StringField(db, "LastName"), StringField(db, "FirstName")));
        list.SetItemText(row, 2, QString::number(db.GetIntField("PersId")));
    }
    db.RemoveParams();
    return true;
}

bool LoadPersByUsername(CQuorinDoc& document, const QString& userName, CPersRecord& record)
{
    MyADO& db = document.m_db;
    BindString(db, "@user", userName);
    const int ran = db.RunStoredProcedure("uspLoadPersbyUsername");
    const bool found = HasRow(db, ran);
    if (found) {
        record.PersId = db.GetIntField("PersId");
        record.LastName = StringField(db, "Lastname");
        record.FirstName = StringField(db, "Firstname");
        record.Status = db.GetIntField("Status");
        record.Citi = StringField(db, "Citi");
        record.Nih = StringField(db, "Nih");
        record.UserName = userName.toLower();
        record.Name = QStringLiteral("%1, %2").arg(record.LastName, record.FirstName);
    }
    db.RemoveParams();
    if (!found)
        ReadErrorOnPers(document);
    return found;
}

} // namespace quorin
