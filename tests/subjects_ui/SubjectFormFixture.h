#pragma once
// The Subject tab on screen, attached to the test's document.

#include "FormFixture.h"

#include "framework/ControlId.h"
#include "subjects/ui/SubjectTemplates.h"
#include "subjects/ui/CFormSubject.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace quorin::test {

using namespace res::subject;

class SubjectFormTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        form = std::make_unique<CFormSubject>(nullptr, &context);
        ShowActive(form.get());
    }
    void TearDown() override
    {
        form.reset();
        FormTest::TearDown();
    }

    QLineEdit* Edit(int id) const { return framework::FindControlAs<QLineEdit>(form.get(), id); }
    QComboBox* Combo(int id) const { return framework::FindControlAs<QComboBox>(form.get(), id); }
    QPushButton* Button(int id) const { return framework::FindControlAs<QPushButton>(form.get(), id); }

    // The four fields a save cannot do without, typed in.
    void TypeRequired(const QString& last, const QString& first)
    {
        TypeInto(Edit(IDC_LAST), last);
        TypeInto(Edit(IDC_FIRST), first);
        TypeInto(Edit(IDC_BIRTH), QStringLiteral("04/09/2012"));
        TypeInto(Edit(IDC_DATE_INITIAL), QStringLiteral("06/03/2019"));
    }

    // One stored subject's columns, read through a session of our own.
    struct Stored {
        MyADO db;
        QString Text(const char* column) { return QString::fromStdString(db.GetStringField(column)); }
        int Int(const char* column) { return db.GetIntField(column); }
    };
    std::unique_ptr<Stored> StoredSubject() const
    {
        auto stored = std::make_unique<Stored>(Stored{Open("Quorin")});
        const bool ran = stored->db.RunTextQuery(
            "select Lastname, Firstname, Parent, Unit, Sex, Ethnicity, Race, CONVERT(char(10), Birthdate, 101) as "
            "Birth, Address, City, State, Zip, Email, Phone1, Phone1Type, Phone2, Phone2Type, Contact, Notes, "
            "School, PrimaryLang, Bilingual, PatImpression, LossType, CochlearImplant, Cochlear, ScreeningImpr, "
            "CONVERT(char(10), DateofEntry, 101) as Entry, CONVERT(char(10), LastUpdate, 101) as LastUpdate, "
            "EnteredBy, Status, Recruitment, CONVERT(char(10), InitialDateofConsent, 101) as Initial, "
            "CONVERT(char(10), LastDateofConsent, 101) as LastConsent, CONVERT(char(10), Sent, 101) as Sent, "
            "CONVERT(char(10), Returned, 101) as Returned from subjects");
        EXPECT_TRUE(ran);
        EXPECT_FALSE(stored->db.IsEOF()) << "no subject was stored";
        return stored;
    }

    std::unique_ptr<CFormSubject> form;
};

} // namespace quorin::test
