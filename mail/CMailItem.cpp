#include "mail/CMailItem.h"

int CMailItem::AddRecipient(const QString& address, const QString& name)
{
    Recipients.append(CMailRecipient{address, name});
    return 1;
}

int CMailItem::AddMultipleRecipients(const QString& list)
{
    // Every piece is read before any is added, so a malformed list adds nothing.
    QList<CMailRecipient> parsed;
    for (const QString& piece : list.split(QLatin1Char(';'))) {
        const qsizetype open = piece.indexOf(QLatin1Char('<'));
        if (open < 0) {
            parsed.append(CMailRecipient{piece, QString()});
            continue;
        }
        const qsizetype stray = piece.indexOf(QLatin1Char('>'));
        if (stray >= 0 && stray < open)
            return 0;
        const qsizetype close = piece.indexOf(QLatin1Char('>'), open + 1);
        const qsizetype length = close < 0 ? -1 : close - open - 1;
        parsed.append(CMailRecipient{piece.mid(open + 1, length), piece.left(open)});
    }
    Recipients.append(parsed);
    return 1;
}

int CMailItem::GetRecipientCount() const
{
    return static_cast<int>(Recipients.size());
}

int CMailItem::GetRecipient(int index, QString& address, QString& name) const
{
    if (index < 0 || index >= Recipients.size())
        return 0;
    address = Recipients.at(index).Address;
    name = Recipients.at(index).Name;
    return 1;
}
