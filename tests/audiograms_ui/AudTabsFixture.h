#pragma once
// The audiogram's Data and Comments tabs inside the main frame, a stored subject with a
// test whose every field holds its own value, and the reads of what the registry keeps.

#include "ChartFixture.h"

#include "framework/MessageRecorder.h"

#include <QString>
#include <QStringList>

#include <string>

class CFormAudData;
class CFormAudOther;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace quorin::test {

class AudTabsTest : public ChartTest {
protected:
    void SetUp() override;

    // Stores the subject Lee, Morgan (KV Number 4711, born 04/09/1987) with the test
    // below as its current test, loads it and returns its id.
    int LoadSubjectWithFullTest();
    // A test row of the subject with every column its own value (TestDate as given, in
    // the registry's ISO form); returns its TestId.
    int AddFullTest(int subjectId, const std::string& isoDate);
    // Stores a subject (Lee, Morgan, birth as given) without any test and loads it.
    int LoadSubjectWithoutTest(const QString& birth = QStringLiteral("04/09/1987"));

    void ShowData();
    void ShowComments();

    QLineEdit* DataEdit(int id) const;
    QComboBox* DataCombo(int id) const;
    QCheckBox* DataCheck(int id) const;
    QPlainTextEdit* CommentsEdit(int id) const;

    // Ctrl+S typed where the focus is, as the user saves.
    void SaveByKeys();

    // A column of the newest stored test of the subject ("" without one).
    QString Stored(int subjectId, const char* column) const;
    // The same as the registry's file holds it, trailing blanks and all.
    std::string StoredRaw(int subjectId, const char* column) const;
    int StoredTests(int subjectId) const;
    // Every stored test and point, to show that nothing was written.
    std::string StoredAudiograms() const;
    // Every message of the save so far: the document's boxes and the framework's.
    QStringList AllMessages() const;
    void ClearAllMessages();

    framework::test::MessageRecorder boxes;
    CFormAudData* data = nullptr;
    CFormAudOther* comments = nullptr;
};

} // namespace quorin::test
