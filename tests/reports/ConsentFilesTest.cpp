// The Consent mail-merge file saved through the program's real save dialog and read back
// with Python's csv module; the Letters list printed to PDF and read back with pdftotext.

#include "ReadBack.h"
#include "ConsentFixture.h"

#include "app/QtUserInterface.h"
#include "document/CMemoryReportList.h"
#include "reports/query/ConsentReport.h"
#include "reports/query/LettersReport.h"
#include "reports/ui/PrintList.h"
#include "reports/query/ReportFill.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QRegularExpression>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace quorin::test {
namespace {

// Answers the save dialog as a user does: the file name typed into its name field and
// Enter, or Escape; what the dialog offered is kept for the test to check.
struct SaveDialogSeen {
    bool shown = false;
    QString suggested;
    QStringList filters;
};

class ConsentFilesTest : public ConsentFixture {
protected:
    // The columns the report's window gives its list.
    static void AddColumns(CReportList& list, const std::vector<std::pair<QString, int>>& columns)
    {
        int index = 0;
        for (const auto& [heading, width] : columns)
            list.InsertColumn(index++, heading, CReportList::FormatLeft, width);
    }

    static void AnswerSaveDialog(SaveDialogSeen& seen, const QString& typedPath)
    {
        OnNextModal([&seen, typedPath](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                ADD_FAILURE() << "the save dialog is not the modal window";
                if (modal)
                    modal->close();
                return;
            }
            seen.shown = true;
            seen.filters = dialog->nameFilters();
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!name) {
                ADD_FAILURE() << "the save dialog has no name field";
                dialog->reject();
                return;
            }
            seen.suggested = name->text();
            if (typedPath.isEmpty()) {
                QTest::keyClick(dialog, Qt::Key_Escape);
                return;
            }
            // The path goes in as pasted: typed key by key, the name field's completer
            // pops up and takes the Enter.
            name->setFocus();
            name->setText(typedPath);
            QTest::keyClick(name, Qt::Key_Return);
            // Never leave the test waiting on a dialog that did not take the answer.
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the save dialog did not take Enter";
                dialog->reject();
            }
        });
    }

    QtUserInterface real;
};

TEST_F(ConsentFilesTest, MailMergeFileThroughTheSaveDialogReadsBackFieldForField)
{
    // Three subjects due for renewal, with what a plain comma-split file would break.
    SubjectRow row;
    row.last = QStringLiteral("Smith, Jr.");
    row.first = QStringLiteral("John");
    row.parent = QStringLiteral("O'Hara, Ann");
    Insert(row);
    row.last = QStringLiteral("Quill");
    row.first = QStringLiteral("Ann");
    row.parent = QString();
    row.address = QStringLiteral("Apt 4, \"The Elms\"\nRear entrance");
    Insert(row);
    row.last = QStringLiteral("Young");
    row.first = QStringLiteral("Bo");
    row.address = QStringLiteral("9 Elm St");
    Insert(row);

    CMemoryReportList list;
    AddColumns(list, ConsentColumns());
    std::vector<ConsentRow> rows;
    ASSERT_TRUE(FillReport(*doc, list, [&rows](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); }));
    ASSERT_EQ(list.GetItemCount(), 3);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("merge.csv"));
    SaveDialogSeen seen;
    AnswerSaveDialog(seen, path);
    SaveConsentCsv(real, list, rows);
    ASSERT_TRUE(seen.shown);
    EXPECT_TRUE(seen.suggested.startsWith(QStringLiteral("ConsentList"))) << seen.suggested.toStdString();
    EXPECT_EQ(seen.filters, (QStringList{QStringLiteral("Comma Delimited Files (*.csv)"),
                                         QStringLiteral("All Files (*.*)")}));

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF" "Consent List\r\n\r\nLastName,FirstName,Parent,Address,Date\r\n"))
        << "the byte-order mark, then the lines";

    const std::vector<QStringList> read = ReadCsvWithPython(path);
    ASSERT_EQ(read.size(), 6u) << "title, empty line, header and three data lines";
    EXPECT_EQ(read[0], QStringList{QStringLiteral("Consent List")});
    EXPECT_TRUE(read[1].isEmpty());
    std::map<QString, QStringList> byLast;
    for (size_t i = 3; i < read.size(); ++i) {
        ASSERT_EQ(read[i].size(), 6) << "five fields and the empty last one";
        EXPECT_EQ(read[i].last(), QString());
        byLast[read[i][0]] = read[i];
    }
    ASSERT_EQ(byLast.count(QStringLiteral("Smith, Jr.")), 1u);
    EXPECT_EQ(byLast[QStringLiteral("Smith, Jr.")][1], QStringLiteral("John"));
    EXPECT_EQ(byLast[QStringLiteral("Smith, Jr.")][2], QStringLiteral("O'Hara, Ann"));
    ASSERT_EQ(byLast.count(QStringLiteral("Quill")), 1u);
    EXPECT_TRUE(byLast[QStringLiteral("Quill")][3].startsWith(QStringLiteral("Apt 4, \"The Elms\"\nRear entrance")))
        << byLast[QStringLiteral("Quill")][3].toStdString();
    EXPECT_EQ(byLast[QStringLiteral("Young")][4], QStringLiteral("01/01/2020"));
}

TEST_F(ConsentFilesTest, CancelInTheSaveDialogWritesNothing)
{
    Insert(SubjectRow{});
    CMemoryReportList list;
    AddColumns(list, ConsentColumns());
    std::vector<ConsentRow> rows;
    ASSERT_TRUE(FillReport(*doc, list, [&rows](CReportQuery& q, CReportList& l) { BuildConsentList(q, l, rows); }));

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    SaveDialogSeen seen;
    AnswerSaveDialog(seen, QString());
    SaveConsentCsv(real, list, rows);
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

// The Letters list is one page: its row 0 heads it and is never a body line.
TEST_F(ConsentFilesTest, LettersPrintedToPdf)
{
    SubjectRow row;
    row.sent = QDate(2012, 3, 1);
    row.returned = QDate(2012, 4, 1);
    Insert(row);
    row.sent = QDate(2013, 3, 1);
    row.returned = QDate(1901, 1, 1);
    Insert(row);

    CMemoryReportList list;
    AddColumns(list, LettersColumns());
    ASSERT_TRUE(FillReport(*doc, list, [](CReportQuery& q, CReportList& l) {
        BuildLettersList(q, l, QStringLiteral("1/1/2010"), QStringLiteral("12/31/2013"));
    }));
    ASSERT_EQ(list.GetItemCount(), 5);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letters.pdf"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    ASSERT_TRUE(PrintListTo(*doc, printer, QStringLiteral("Letters"), list));

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n")))) << info.toStdString();
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Letters")));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString heading = list.GetItemText(0, 1);
    ASSERT_FALSE(heading.trimmed().isEmpty());
    int headingLines = 0;
    for (const QString& line : lines)
        if (line.contains(heading))
            ++headingLines;
    EXPECT_EQ(headingLines, 1) << text.toStdString();
    for (int i = 1; i < list.GetItemCount(); ++i)
        EXPECT_TRUE(text.contains(list.GetItemText(i, 1))) << list.GetItemText(i, 1).toStdString();
    EXPECT_TRUE(text.contains(list.GetItemText(0, 2))) << "row 0's count printed";
}

} // namespace
} // namespace quorin::test
