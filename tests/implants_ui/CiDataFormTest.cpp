// The CI Data tab: its fields and lists, what reaches the registry through File Save,
// Add, Edit and Delete of devices and speech rows acting on the row's own record, and
// the tab following the subject that is open.

#include "CiDataFixture.h"

#include "framework/ControlId.h"
#include "framework/MessageBox.h"
#include "framework/ReportListCtrl.h"
#include "implants/ui/CiDataTemplates.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using namespace res::cidata;
namespace sp = res::cispeech;
namespace dv = res::cidevice;

namespace quorin::test {
namespace {

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST_F(CiDataTest, TheTabIsLaidOutWithItsListsChoicesAndADisabledCidButton)
{
    EXPECT_EQ(doc->CiLoaded, 1);
    const struct {
        CReportListCtrl* list;
        QStringList titles;
        QList<int> widths;
    } lists[] = {
        {form->DeviceList(),
         {"", "Device", "Positioner", "Surgery Date", "Initial Stim Date", "Age @ Implant", "Surgeon", "Hospital",
          "Status", "Date of Explant"},
         {40, 100, 40, 80, 80, 40, 80, 80, 80, 80}},
        {form->PreList(), {"Pre Op Speech Test", "", "Name", "Condition", "Score"}, {120, 1, 40, 40, 40}},
        {form->PostList(),
         {"Post Op Speech Test", "", "Name", "Condition", "Score", "Time Post-IS"},
         {120, 1, 40, 40, 40, 80}},
    };
    for (const auto& l : lists) {
        ASSERT_EQ(l.list->GetColumnCount(), l.titles.size());
        for (int c = 0; c < l.titles.size(); ++c) {
            EXPECT_EQ(l.list->headerItem()->text(c), l.titles[c]) << c;
            if (!l.list->isColumnHidden(c)) {
                EXPECT_EQ(l.list->GetColumnWidth(c), l.widths[c]) << l.titles[c].toStdString();
            }
        }
        EXPECT_EQ(l.list->selectionBehavior(), QAbstractItemView::SelectRows);
    }
    EXPECT_TRUE(form->PreList()->isColumnHidden(1));
    EXPECT_TRUE(form->PostList()->isColumnHidden(1));

    // Degree and onset keep their order, with the empty choice last; the others are sorted.
    EXPECT_EQ(Items(FormCombo(IDC_DEGREE_R)),
              (QStringList{"Moderate-Profound", "Severe", "Severe-Profound", "Profound", ""}));
    EXPECT_EQ(Items(FormCombo(IDC_ONSET_L)).first(), "Progressive");
    EXPECT_EQ(Items(FormCombo(IDC_ETIOLOGY_R)).size(), 18);
    EXPECT_EQ(Items(FormCombo(IDC_PROCESSOR2)).at(7), "Med-El CIS-Pro+");
    for (int id : {IDC_DEGREE_L, IDC_ONSET_R, IDC_ETIOLOGY_L, IDC_PROCESSOR1, IDC_PROCESSOR2})
        EXPECT_TRUE(FormCombo(id)->isEditable()) << id;

    // The lookup is not wired: the button stays disabled, and a click does nothing.
    EXPECT_FALSE(Button(IDC_CHECK_CID)->isEnabled());
    EXPECT_EQ(framework::WindowText(Button(IDC_CHECK_CID)), "Check CID DB");
}

TEST_F(CiDataTest, EveryFieldTypedIsSavedAndEqualAfterAFreshLoad)
{
    EXPECT_EQ(doc->m_subject.Modified, 0);
    // 2 years 6 months and 1 year 13 months (13 is accepted).
    TypeInto(FormEdit(IDC_DURATION_YEARS_L), "2");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    TypeInto(FormEdit(IDC_DURATION_MONTHS_L), "6");
    TypeInto(FormEdit(IDC_DURATION_YEARS_R), "1");
    TypeInto(FormEdit(IDC_DURATION_MONTHS_R), "13");
    TypeInto(FormEdit(IDC_HA_YEARS_L), "0");
    TypeInto(FormEdit(IDC_HA_MONTHS_L), "11");
    TypeInto(FormEdit(IDC_HA_YEARS_R), "3");
    TypeInto(FormEdit(IDC_HA_MONTHS_R), "0");
    TypeInto(FormEdit(IDC_UNAIDED_YEARS_L), "150");
    TypeInto(FormEdit(IDC_UNAIDED_MONTHS_L), "1");
    TypeInto(FormEdit(IDC_UNAIDED_YEARS_R), "");
    TypeInto(FormEdit(IDC_UNAIDED_MONTHS_R), "4");
    ChooseFromList(FormCombo(IDC_DEGREE_L), FormCombo(IDC_DEGREE_L)->findText("Severe-Profound"));
    TypeInto(FormCombo(IDC_DEGREE_R), "Profound");
    ChooseFromList(FormCombo(IDC_ONSET_L), FormCombo(IDC_ONSET_L)->findText("Sudden from established SNHL"));
    ChooseFromList(FormCombo(IDC_ONSET_R), FormCombo(IDC_ONSET_R)->findText("Congenital"));
    ChooseFromList(FormCombo(IDC_ETIOLOGY_L), FormCombo(IDC_ETIOLOGY_L)->findText("Connexin 26"));
    TypeInto(FormCombo(IDC_ETIOLOGY_R), "Large vestibular aqueduct");
    ChooseFromList(FormCombo(IDC_PROCESSOR1), FormCombo(IDC_PROCESSOR1)->findText("Clarion Auria"));
    // A processor the list does not have is kept as typed.
    TypeInto(FormCombo(IDC_PROCESSOR2), "Nucleus Freedom");
    AddDevice("Right", "Nucleus 24k", "Dr. O'Hara");

    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_TRUE(TakeErrors().empty());
    const QStringList columns = {"DurationPriorL", "DurationPriorR", "HaTimeL", "HaTimeR", "DurationUnaidedL",
                                 "DurationUnaidedR", "DegreePriorL", "DegreePriorR", "NatureL", "NatureR",
                                 "EtiologyL", "EtiologyR", "Processor1", "Processor2", "HAL", "HAR"};
    const QStringList stored = {"30", "25", "11", "36", "1801", "4",
                                "Severe-Profound", "Profound", "Sudden from established SNHL", "Congenital",
                                "Connexin 26", "Large vestibular aqueduct", "Clarion Auria", "Nucleus Freedom",
                                "0", "0"};
    for (int i = 0; i < columns.size(); ++i)
        EXPECT_EQ(StoredCi(columns[i]), stored[i]) << columns[i].toStdString();
    EXPECT_EQ(StoredRows("CiDevice", "Surgeon = 'Dr. O''Hara' and Ear = 'Right'"), 1);

    // A fresh load shows what was stored: 30 months as 2 and 6, 25 as 2 and 1.
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    const std::pair<int, const char*> shown[] = {
        {IDC_DURATION_YEARS_L, "2"},  {IDC_DURATION_MONTHS_L, "6"}, {IDC_DURATION_YEARS_R, "2"},
        {IDC_DURATION_MONTHS_R, "1"}, {IDC_HA_YEARS_L, "0"},       {IDC_HA_MONTHS_L, "11"},
        {IDC_HA_YEARS_R, "3"},        {IDC_HA_MONTHS_R, "0"},      {IDC_UNAIDED_YEARS_L, "150"},
        {IDC_UNAIDED_MONTHS_L, "1"},  {IDC_UNAIDED_YEARS_R, "0"},  {IDC_UNAIDED_MONTHS_R, "4"}};
    for (const auto& [id, text] : shown)
        EXPECT_EQ(FormEdit(id)->text(), text) << id;
    EXPECT_EQ(FormCombo(IDC_DEGREE_L)->currentText(), "Severe-Profound");
    EXPECT_EQ(FormCombo(IDC_ETIOLOGY_R)->currentText(), "Large vestibular aqueduct");
    EXPECT_EQ(FormCombo(IDC_PROCESSOR2)->currentText(), "Nucleus Freedom");
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->DeviceList(), 0).mid(0, 2), (QStringList{"Right", "Nucleus 24k"}));
    EXPECT_EQ(doc->m_subject.Modified, 0);
}

TEST_F(CiDataTest, AMonthOutOfRangeStopsTheSaveBeforeAnyWriteUntilCorrected)
{
    TypeInto(FormEdit(IDC_DURATION_YEARS_L), "4");
    TypeInto(FormEdit(IDC_HA_MONTHS_R), "14");
    AddDevice("Left", "Clarion CII", "Dr. Park");
    EXPECT_EQ(doc->SaveSubject(), 0);
    ASSERT_EQ(frameworkBoxes.shown.size(), 1u);
    EXPECT_EQ(frameworkBoxes.shown[0].text, "Please enter an integer between 0 and 13.");
    EXPECT_TRUE(FormEdit(IDC_HA_MONTHS_R)->hasFocus());
    // Nothing of the subject reached the registry, and the history kept its old value.
    EXPECT_EQ(StoredRows("cidata"), 0);
    EXPECT_EQ(StoredRows("CiDevice"), 0);
    EXPECT_EQ(doc->m_ciData.DurationPriorL, 0);

    TypeInto(FormEdit(IDC_HA_YEARS_L), "151");
    frameworkBoxes.shown.clear();
    EXPECT_EQ(doc->SaveSubject(), 0);
    ASSERT_EQ(frameworkBoxes.shown.size(), 1u);
    EXPECT_EQ(frameworkBoxes.shown[0].text, "Please enter an integer between 0 and 150.");

    TypeInto(FormEdit(IDC_HA_YEARS_L), "15");
    TypeInto(FormEdit(IDC_HA_MONTHS_R), "13");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredCi("DurationPriorL"), "48");
    EXPECT_EQ(StoredCi("HaTimeL"), "180");
    EXPECT_EQ(StoredCi("HaTimeR"), "13");
    EXPECT_EQ(StoredRows("CiDevice"), 1);
}

TEST_F(CiDataTest, StoredRowsGoToTheirListsNewestDeviceFirstWithTheirFormats)
{
    StoreDevice("Left", "Nucleus 22", "2010-09-07", 18);
    StoreDevice("Right", "Clarion 90k", "2012-01-10", -1);
    StoreSpeech("Pre Implant", "Word Recognition", "PBK", 12.5, 0);
    StoreSpeech("Post Implant", "Sentence Recognition", "HINT, Quiet", 88.25, 30);
    StoreSpeech("Post Implant", "Discrimination", "ESP", 61, 7);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);

    ASSERT_EQ(form->DeviceList()->GetItemCount(), 2);
    EXPECT_EQ(Row(form->DeviceList(), 0),
              (QStringList{"Right", "Clarion 90k", "Yes", "01/10/2012", "", "", "Dr. Park", "Mercy", "In Use", ""}));
    EXPECT_EQ(Row(form->DeviceList(), 1).mid(0, 6),
              (QStringList{"Left", "Nucleus 22", "Yes", "09/07/2010", "", "1yr,6mo"}));
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PreList(), 0), (QStringList{"Word Recognition", "0", "PBK", "CI + HA", "12.50"}));
    ASSERT_EQ(form->PostList()->GetItemCount(), 2);
    EXPECT_EQ(Row(form->PostList(), 0),
              (QStringList{"Sentence Recognition", "1", "HINT, Quiet", "CI + HA", "88.25", "2yrs 6mos"}));
    EXPECT_EQ(Row(form->PostList(), 1)[5], "0yrs 7mos");
}

TEST_F(CiDataTest, TwoNewRowsOfOneTestTypeEditAndDeleteTouchOnlyTheSecond)
{
    AddSpeech(true, "Word Recognition", "CNC", "40");
    AddSpeech(true, "Word Recognition", "NU-6", "55");
    ASSERT_EQ(form->PostList()->GetItemCount(), 2);
    EXPECT_EQ(Row(form->PostList(), 0)[1], "-1");
    EXPECT_EQ(Row(form->PostList(), 1)[1], "-1");

    ClickRow(form->PostList(), 1);
    ClickWithDialog(IDC_POST_EDIT, [](QWidget* d) {
        EXPECT_EQ(Combo(d, sp::IDC_TEST_NAME)->currentText(), "NU-6");
        EXPECT_EQ(Edit(d, sp::IDC_SCORE)->text(), "55.00");
        TypeInto(Edit(d, sp::IDC_SCORE), "57.5");
        TypeInto(Edit(d, sp::IDC_TIME_YEARS), "1");
        TypeInto(Edit(d, sp::IDC_TIME_MONTHS), "2");
        ClickOk(d);
    });
    EXPECT_EQ(Row(form->PostList(), 0), (QStringList{"Word Recognition", "-1", "CNC", "", "40.00", "0yrs 0mos"}));
    EXPECT_EQ(Row(form->PostList(), 1), (QStringList{"Word Recognition", "-1", "NU-6", "", "57.50", "1yrs 2mos"}));

    // A double click on the second row edits the second row too.
    WithNextDialog([](QWidget* d) {
        EXPECT_EQ(Combo(d, sp::IDC_TEST_NAME)->currentText(), "NU-6");
        EXPECT_EQ(Edit(d, sp::IDC_TIME_MONTHS)->text(), "2");
    });
    const QRect second = form->PostList()->visualItemRect(form->PostList()->topLevelItem(1));
    QTest::mouseDClick(form->PostList()->viewport(), Qt::LeftButton, {}, second.center());
    Settle();

    ClickRow(form->PostList(), 1);
    doc->m_subject.Modified = 0;
    Click(Button(IDC_POST_DELETE));
    EXPECT_EQ(doc->m_subject.Modified, 1);
    ASSERT_EQ(form->PostList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PostList(), 0)[2], "CNC");

    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredRows("cispeech"), 1);
    EXPECT_EQ(StoredRows("cispeech", "TestName = 'CNC' and DataType = 'Post Implant' and Score = 40"), 1);
    EXPECT_TRUE(ui.Messages().empty()) << ui.Texts().join(" | ").toStdString();
}

TEST_F(CiDataTest, TwoDevicesOfOneEarAndModelEditAndDeleteTouchOnlyTheSecond)
{
    AddDevice("Left", "Nucleus 24k", "Dr. First");
    AddDevice("Left", "Nucleus 24k", "Dr. Second");
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 2);
    // Newest first: the second device is the top row.
    EXPECT_EQ(Row(form->DeviceList(), 0)[6], "Dr. Second");
    EXPECT_EQ(Row(form->DeviceList(), 1)[6], "Dr. First");

    ClickRow(form->DeviceList(), 0);
    ClickWithDialog(IDC_DEVICE_EDIT, [](QWidget* d) {
        EXPECT_EQ(Edit(d, dv::IDC_SURGEON)->text(), "Dr. Second");
        TypeInto(Edit(d, dv::IDC_HOSPITAL), "St. Luke's");
        ChooseFromList(Combo(d, dv::IDC_STATUS), Combo(d, dv::IDC_STATUS)->findText("Explanted"));
        TypeInto(Edit(d, dv::IDC_EXPLANT_DATE), "5/6/2015");
        ClickOk(d);
    });
    EXPECT_EQ(Row(form->DeviceList(), 0).mid(6), (QStringList{"Dr. Second", "St. Luke's", "Explanted", "5/6/2015"}));
    EXPECT_EQ(Row(form->DeviceList(), 1).mid(6), (QStringList{"Dr. First", "", "", ""}));

    ClickRow(form->DeviceList(), 0);
    Click(Button(IDC_DEVICE_DELETE));
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->DeviceList(), 0)[6], "Dr. First");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredRows("CiDevice"), 1);
    EXPECT_EQ(StoredRows("CiDevice", "Surgeon = 'Dr. First'"), 1);
}

TEST_F(CiDataTest, EditAndDeleteWithoutARowSayWhyAndChangeNothing)
{
    AddDevice("Right", "Ineraid", "Dr. Park");
    AddSpeech(false, "Discrimination", "GASP", "20");
    AddSpeech(true, "Discrimination", "GASP", "80");
    for (CReportListCtrl* list : {form->DeviceList(), form->PreList(), form->PostList()}) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
    }
    ui.ClearMessages();
    for (int id : {IDC_DEVICE_EDIT, IDC_DEVICE_DELETE, IDC_PRE_EDIT, IDC_PRE_DELETE, IDC_POST_EDIT, IDC_POST_DELETE})
        Click(Button(id));
    ASSERT_EQ(ui.Messages().size(), 6u);
    for (const auto& m : ui.Messages()) {
        EXPECT_EQ(m.text, "Please make a selection!");
        EXPECT_EQ(m.icon, UserInterface::Icon::Stop);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(form->DeviceList()->GetItemCount(), 1);
    EXPECT_EQ(doc->m_ciSpeechList.size(), 2u);
}

TEST_F(CiDataTest, FileNewAfterAddingADeviceAsksToSaveCurrentSubject)
{
    AddDevice("Left", "Med-El Combi 40+", "Dr. Park");
    EXPECT_EQ(doc->m_subject.Modified, 1);
    ui.ClearMessages();
    ui.AnswerNext(UserInterface::Answer::Yes);
    ASSERT_TRUE(doc->OnNewDocument());
    EXPECT_EQ(ui.Texts(), QStringList{"Save Current Subject?"});
    EXPECT_EQ(StoredRows("CiDevice", "Device = 'Med-El Combi 40+'"), 1);
    EXPECT_EQ(form->DeviceList()->GetItemCount(), 0);
}

TEST_F(CiDataTest, AChoiceInAListIsAnEditOfTheSubject)
{
    ChooseFromList(FormCombo(IDC_ONSET_R), 1);
    EXPECT_EQ(doc->m_subject.Modified, 1);
    doc->m_subject.Modified = 0;
    TypeInto(FormCombo(IDC_PROCESSOR1), "Nucleus 5");
    EXPECT_EQ(doc->m_subject.Modified, 1);
}

TEST_F(CiDataTest, ASubjectLoadedWhileTheTabIsShownAppearsAtOnce)
{
    StoreDevice("Left", "Nucleus 22", "2010-09-07", 18);
    registry.ExecRaw("Quorin", QStringLiteral("insert into cidata (SubjectId, DurationPriorL, Processor1) values "
                                              "(%1, 30, 'Clarion PSP')")
                                   .arg(subjectId)
                                   .toStdString());
    const int other = AddSubject(QStringLiteral("HOLT"), QStringLiteral("ARI"), 5522, QStringLiteral("2001-06-01"));
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    EXPECT_EQ(FormEdit(IDC_DURATION_YEARS_L)->text(), "2");
    EXPECT_EQ(FormCombo(IDC_PROCESSOR1)->currentText(), "Clarion PSP");
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 1);

    // The other subject has no implant data: nothing of the first one stays on screen.
    ASSERT_NE(doc->LoadSubjectById(other), 0);
    EXPECT_EQ(doc->CiLoaded, 1);
    EXPECT_EQ(FormEdit(IDC_DURATION_YEARS_L)->text(), "0");
    EXPECT_EQ(FormEdit(IDC_DURATION_MONTHS_L)->text(), "0");
    EXPECT_EQ(FormCombo(IDC_PROCESSOR1)->currentText(), "");
    EXPECT_EQ(form->DeviceList()->GetItemCount(), 0);

    // Its edits are saved with it, not dropped.
    TypeInto(FormEdit(IDC_UNAIDED_MONTHS_R), "9");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(Scalar("Quorin", QStringLiteral("select DurationUnaidedR from cidata where SubjectId = %1").arg(other),
                     "DurationUnaidedR"),
              "9");
    EXPECT_EQ(StoredCi("DurationPriorL"), "30");
}

TEST_F(CiDataTest, AHiddenTabFillsItselfWhenShownAgain)
{
    form->hide();
    StoreSpeech("Pre Implant", "Word Recognition", "PBK", 12.5, 0);
    ASSERT_NE(doc->LoadSubjectById(subjectId), 0);
    EXPECT_EQ(doc->CiLoaded, 0);
    // A save while the tab was never shown for this subject takes nothing from it.
    FormEdit(IDC_DURATION_YEARS_L)->setText("7");
    ASSERT_EQ(doc->SaveSubject(), 1);
    EXPECT_EQ(StoredRows("cidata"), 0);
    ShowActive(form.get());
    EXPECT_EQ(doc->CiLoaded, 1);
    EXPECT_EQ(FormEdit(IDC_DURATION_YEARS_L)->text(), "0");
    ASSERT_EQ(form->PreList()->GetItemCount(), 1);
    EXPECT_EQ(Row(form->PreList(), 0)[2], "PBK");
}

TEST_F(CiDataTest, TheCidButtonRunsItsHandlerOnceWiredAndShowsWhatTheDocumentHolds)
{
    int runs = 0;
    form->SetCheckCidHandler([&] {
        ++runs;
        doc->m_ciData.DurationPriorR = 40;
        CCiDevice device;
        device.Ear = "Right";
        device.Device = "Clarion CII";
        doc->m_ciData.Devices.push_back(device);
    });
    ASSERT_TRUE(Button(IDC_CHECK_CID)->isEnabled());
    Click(Button(IDC_CHECK_CID));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(FormEdit(IDC_DURATION_YEARS_R)->text(), "3");
    EXPECT_EQ(FormEdit(IDC_DURATION_MONTHS_R)->text(), "4");
    ASSERT_EQ(form->DeviceList()->GetItemCount(), 1);
    form->SetCheckCidHandler({});
    EXPECT_FALSE(Button(IDC_CHECK_CID)->isEnabled());
}

} // namespace
} // namespace quorin::test
