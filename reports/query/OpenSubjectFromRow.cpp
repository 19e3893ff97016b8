#include "reports/query/OpenSubjectFromRow.h"

#include "document/CQuorinDoc.h"
#include "document/CReportList.h"

namespace quorin {

std::optional<int> SubjectIdOfRow(const CReportList& list, int row)
{
    if (row < 0 || row >= list.GetItemCount())
        return std::nullopt;
    const QString text = list.GetItemText(row, 0).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const int id = text.toInt(&ok);
    if (!ok || id <= 0)
        return std::nullopt;
    return id;
}

bool OpenSubjectFromRow(CQuorinDoc& document, const CReportList& list, int row)
{
    UserInterface& ui = document.UI();
    const std::optional<int> id = SubjectIdOfRow(list, row);
    if (!id) {
        ui.MessageBox(QStringLiteral("Please make a selection!"));
        return false;
    }
    if (!document.SaveModified())
        return false;
    document.LoadSubjectById(*id);
    return true;
}

} // namespace quorin
