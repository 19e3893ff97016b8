#include "reports/query/ListCsv.h"

#include "document/CReportList.h"
#include "reports/query/CsvExport.h"

namespace quorin {

void SaveListAsShown(UserInterface& ui, const QString& defaultName, const CReportList& list)
{
    const int columns = list.GetColumnCount();
    SaveCsv(ui, defaultName, list.GetItemCount(), [&list, columns](int row) {
        QStringList fields;
        for (int column = 0; column < columns; ++column)
            fields << list.GetItemText(row, column);
        return fields;
    });
}

} // namespace quorin
