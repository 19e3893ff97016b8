// quorin-registry history: the registry's change history for an administrator, newest
// first, as a table or as comma-separated values.

#include "tools/quorin-registry/Commands.h"

#include "dalport/MyADO.h"
#include "document/CQuorinDoc.h"
#include "rules/CsvText.h"
#include "rules/DateText.h"
#include "rules/DbString.h"
#include "tools/quorin-registry/ConsoleUserInterface.h"
#include "tools/quorin-registry/NightlyRun.h"
#include "tools/quorin-sql/ResultPrinter.h"
#include "tools/quorin-sql/SqlClient.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

namespace quorin::tools {

namespace {

constexpr const char* kArguments = "[-S server] -U login [-P password | --password-file F] [--subject N] "
                                   "[--user NAME] [--since M/D/YYYY] [--csv]";

// The procedure's columns in the order shown, each under its heading.
struct HistoryColumn {
    const char* heading;
    const char* column;
};
constexpr HistoryColumn kColumns[] = {
    {"When", "ChangedAt"}, {"Who", "ChangedBy"},     {"Table", "TableName"},
    {"Key", "RowKey"},     {"Subject", "SubjectId"}, {"Column", "ColumnName"},
    {"Old", "OldValue"},   {"New", "NewValue"},      {"Kind", "ChangeKind"},
};

// The procedure's own "every subject", "every login" and "since ever".
struct HistoryFilter {
    int subjectId = 0;
    std::string changedBy;
    std::string since = "1/1/1900";
};

using Rows = std::vector<std::vector<std::string>>;

// The document's session with the typed values, which tell NULL from an empty text.
class HistoryReader : public MyADO {
public:
    explicit HistoryReader(const MyADO& session) : MyADO(session) {}
    using MyADO::GetColumnNames;
    using MyADO::GetFieldValue;
};

std::vector<Option> historyOptions()
{
    std::vector<Option> options;
    for (const Option& option : nightlyOptions())
        if (option.name != "--dry-run") // the history is only read
            options.push_back(option);
    options.insert(options.end(),
                   {
                       {"--subject", true, "only this subject's changes (its SubjectId)"},
                       {"--user", true, "only the changes this login made"},
                       {"--since", true, "only the changes from this day on (month/day/year)"},
                       {"--csv", false, "comma-separated values with a header line, not a table"},
                   });
    return options;
}

std::string sinceFilter(const ParsedCommandLine& cmd)
{
    const std::optional<std::string> text = cmd.value("--since");
    if (!text)
        return HistoryFilter{}.since;
    const QString date = FromDb(*text).trimmed();
    if (date.isEmpty() || !IsValidDateText(date))
        throw std::runtime_error("--since takes a date as month/day/year (such as 6/15/2026), not '" + *text + "'");
    // Written as the program writes dates, so the server reads it as it reads theirs.
    const DateParts day = *SplitDate(date);
    return ToDb(QString::asprintf("%d/%d/%d", day.month, day.day, day.year));
}

// Where each shown column is in the result; nothing when one is missing (said on
// standard error).
std::optional<std::vector<int>> columnPositions(const std::vector<std::string>& names)
{
    std::vector<int> positions;
    for (const HistoryColumn& wanted : kColumns) {
        int found = -1;
        for (std::size_t i = 0; i < names.size() && found < 0; ++i)
            if (FromDb(names[i]).compare(QLatin1String(wanted.column), Qt::CaseInsensitive) == 0)
                found = static_cast<int>(i);
        if (found < 0) {
            std::cerr << "quorin-registry history: uspLoadChangeHistory returned no column " << wanted.column << "\n";
            return std::nullopt;
        }
        positions.push_back(found);
    }
    return positions;
}

// The rows newest first, each cell as quorin-sql shows it; nothing when the read failed
// (the server's errors are on standard error).
std::optional<Rows> readHistory(const MyADO& session, const HistoryFilter& filter)
{
    HistoryReader db(session);
    db.RemoveParams();
    db.BindIntParam("@SubjectId", filter.subjectId);
    db.BindStringParam("@ChangedBy", filter.changedBy);
    db.BindStringParam("@Since", filter.since);
    const int ran = db.RunStoredProcedure("uspLoadChangeHistory");
    db.RemoveParams();
    if (!ran)
        return std::nullopt;
    const std::optional<std::vector<int>> positions = columnPositions(db.GetColumnNames());
    if (!positions)
        return std::nullopt;
    Rows rows;
    for (; !db.IsEOF(); db.MoveNext()) {
        std::vector<std::string> row;
        for (const int position : *positions)
            row.push_back(SqlClient::cellText(db.GetFieldValue(position)));
        rows.push_back(std::move(row));
    }
    return rows;
}

void printTable(std::ostream& out, const Rows& rows)
{
    std::vector<std::string> headings;
    for (const HistoryColumn& c : kColumns)
        headings.emplace_back(c.heading);
    printResult(out, headings, rows, PrintOptions{});
}

// Through the program's one CSV rule, so that it opens in a spreadsheet as its files do.
void printCsv(std::ostream& out, const Rows& rows)
{
    const QByteArray start = csv::FileStart();
    out.write(start.constData(), start.size());
    QStringList headings;
    for (const HistoryColumn& c : kColumns)
        headings << QString::fromLatin1(c.heading);
    out << ToDb(csv::Line(headings));
    for (const std::vector<std::string>& row : rows) {
        QStringList fields;
        for (const std::string& cell : row)
            fields << FromDb(cell);
        out << ToDb(csv::Line(fields));
    }
}

int runHistory(const ParsedCommandLine& cmd)
{
    // The filters first: a wrong one ends the command before a password is asked for.
    const HistoryFilter filter{positiveNumber(cmd, "--subject", 0, "a SubjectId"), cmd.value("--user").value_or(""),
                               sinceFilter(cmd)};
    const NightlyLogin login = readNightlyLogin(cmd, std::string("usage: quorin-registry history ") + kArguments);
    reportErrorsOn(std::cerr, login.server);
    ConsoleUserInterface ui(std::cerr, isatty(STDERR_FILENO) == 1);
    CQuorinDoc document(ui);
    if (!logIn(document, login))
        return kExitNotStarted;

    const std::optional<Rows> rows = readHistory(document.m_db, filter);
    if (!rows)
        return kExitFailed;
    if (cmd.has("--csv"))
        printCsv(std::cout, *rows);
    else
        printTable(std::cout, *rows);
    std::cout << std::flush;
    if (!std::cout) {
        std::cerr << "quorin-registry history: the history could not be written to standard output\n";
        return kExitFailed;
    }
    return kExitDone;
}

} // namespace

Command historyCommand()
{
    return Command{"history",
                   kArguments,
                   "the registry's change history, newest first, for a Quorin administrator: a table on\n"
                   "  standard output, or comma-separated values with --csv",
                   historyOptions(),
                   &runHistory,
                   kExitNotStarted};
}

} // namespace quorin::tools
