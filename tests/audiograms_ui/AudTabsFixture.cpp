#include "AudTabsFixture.h"

#include "support/RawRegistry.h"

#include "app/CMainFrame.h"
#include "audiograms/ui/CFormAudData.h"
#include "audiograms/ui/CFormAudOther.h"
#include "framework/ControlId.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace quorin::test {

void AudTabsTest::SetUp()
{
    ChartTest::SetUp();
    data = qobject_cast<CFormAudData*>(frame->m_pNodeAudData->GetWnd());
    comments = qobject_cast<CFormAudOther*>(frame->m_pNodeComments->GetWnd());
    ASSERT_NE(data, nullptr) << "the Data tab is registered for node 4";
    ASSERT_NE(comments, nullptr) << "the Comments tab is registered for node 7";
}

int AudTabsTest::AddFullTest(int subjectId, const std::string& isoDate)
{
    registry.ExecRaw(
        "Quorin",
        "insert into aud (SubjectId, TestDate, TestedBy, Reliability, Method, Imported, ImpressL, ImpressR, "
        "ImpressSF, TinnitusL, TinnitusR, FullnessL, FullnessR, HearingAidsL, HearingAidsR, Dizziness, NoiseExp, "
        "HxHearingLoss, Sped, SpchLang, OM, OAEL, OAER, ABRL, ABRR, TympL, TympR, PeakYL, PeakYR, PeakPressL, "
        "PeakPressR, ReflexL, ReflexR, ETFVolL, ETFVolR, ETFRelL, ETFRelR, SRTR, SATR, Lev1R, Lev2R, Lev3R, Lev4R, "
        "Lev5R, PC1R, PC2R, PC3R, PC4R, PC5R, MatR, SRTL, SATL, Lev1L, Lev2L, Lev3L, Lev4L, Lev5L, PC1L, PC2L, "
        "PC3L, PC4L, PC5L, MatL, SRTSF, SATSF, Comments, Recommend, CochImpL, CochImpR) values ("
            + std::to_string(subjectId) + ", '" + isoDate
            + " 00:00:00.000', 'A. Tester', 3, 2, 0, 1, 2, 1, 1, 0, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 0, 1, 1, 0, 2, "
              "4, 1.25, 0.5, -150, 25, 0, 1, 0.75, 1.5, -50, 10, 15, 10, 20, 25, 30, 35, 40, 96, 92, 88, 84, 80, "
              "'NU-6', 20, 15, 45, 50, 55, 60, 65, 76, 72, 68, 64, 60, 'WIPI', 30, 25, 'Wears aids at school.', "
              "'Retest in six months.', 0, 1)");
    return Count("Quorin", QStringLiteral("select max(TestId) as num from aud"));
}

int AudTabsTest::LoadSubjectWithoutTest(const QString& birth)
{
    doc->m_subject = DistinctSubject();
    doc->m_subject.Birth = birth;
    doc->Interactive = 0;
    EXPECT_EQ(doc->SaveSubject(), 1);
    doc->Interactive = 1;
    const int id = doc->m_subject.SubjectID;
    EXPECT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    return id;
}

int AudTabsTest::LoadSubjectWithFullTest()
{
    doc->m_subject = DistinctSubject();
    doc->Interactive = 0;
    EXPECT_EQ(doc->SaveSubject(), 1);
    doc->Interactive = 1;
    const int id = doc->m_subject.SubjectID;
    AddFullTest(id, "2025-03-04");
    EXPECT_NE(doc->LoadSubjectById(id), 0);
    Settle();
    ui.ClearMessages();
    return id;
}

void AudTabsTest::ShowData()
{
    frame->m_wndFramework.BringForward(frame->m_pNodeAudData);
    Settle();
    frame->UpdateCommandUI();
}

void AudTabsTest::ShowComments()
{
    frame->m_wndFramework.BringForward(frame->m_pNodeComments);
    Settle();
    frame->UpdateCommandUI();
}

QLineEdit* AudTabsTest::DataEdit(int id) const
{
    return framework::FindControlAs<QLineEdit>(data, id);
}

QComboBox* AudTabsTest::DataCombo(int id) const
{
    return framework::FindControlAs<QComboBox>(data, id);
}

QCheckBox* AudTabsTest::DataCheck(int id) const
{
    return framework::FindControlAs<QCheckBox>(data, id);
}

QPlainTextEdit* AudTabsTest::CommentsEdit(int id) const
{
    return framework::FindControlAs<QPlainTextEdit>(comments, id);
}

void AudTabsTest::SaveByKeys()
{
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target ? target : frame.get(), Qt::Key_S, Qt::ControlModifier);
    Settle();
}

QString AudTabsTest::Stored(int subjectId, const char* column) const
{
    // Dates as the program reads them back.
    const QString expression = qstrcmp(column, "TestDate") == 0 ? QStringLiteral("CONVERT(char(10), TestDate, 101)")
                                                                 : QString::fromLatin1(column);
    return Scalar("Quorin",
                  QStringLiteral("select %1 as %2 from aud where TestId = "
                                 "(select max(TestId) from aud where SubjectId = %3)")
                      .arg(expression, QString::fromLatin1(column))
                      .arg(subjectId),
                  column);
}

std::string AudTabsTest::StoredRaw(int subjectId, const char* column) const
{
    const RawRegistry raw(registry.Folder());
    const auto rows = raw.rows("select " + std::string(column) + " from aud where SubjectId = "
                               + std::to_string(subjectId) + " order by TestId desc limit 1");
    return rows.empty() || rows[0].empty() || !rows[0][0] ? std::string() : *rows[0][0];
}

int AudTabsTest::StoredTests(int subjectId) const
{
    return Count("Quorin", QStringLiteral("select count(*) as num from aud where SubjectId = %1").arg(subjectId));
}

std::string AudTabsTest::StoredAudiograms() const
{
    const RawRegistry raw(registry.Folder());
    return raw.dump("select * from aud order by TestId") + raw.dump("select * from audpoints order by TestId, xy, symbol");
}

QStringList AudTabsTest::AllMessages() const
{
    QStringList texts = ui.Texts();
    for (const framework::MessageRequest& box : boxes.shown)
        texts << box.text;
    return texts;
}

void AudTabsTest::ClearAllMessages()
{
    ui.ClearMessages();
    boxes.shown.clear();
}

} // namespace quorin::test
