// A subject being entered: is it one the registry already holds, and else, is it a
// patient of the Audiogram Manager whose newest test it should start with?

#include "audiograms/store/AmSearch.h"

#include "document/CQuorinDoc.h"
#include "document/SessionValues.h"
#include "rules/SqlText.h"
#include "rules/KvNumber.h"
#include "audiograms/store/AmImport.h"

using quorin::BindString;
using quorin::HasRow;
using quorin::RunText;
using quorin::StringField;
using quorin::UserInterface;
using quorin::sql::KvReading;

namespace quorin::am {

QString SearchQuery(const QString& unit, const QString& last, const QString& first, const QString& birth)
{
    static const QString head = QStringLiteral(
        "SELECT DISTINCT TOP 300 LastName AS Last, FirstName AS First, PatientNum AS Unit, "
        "CONVERT(char, BirthDate, 101) AS Birth FROM Info WHERE ");
    static const QString tail = QStringLiteral(" order by Lastname, Firstname ");
    const KvReading kv = sql::ReadKvNumber(unit);
    if (kv.kind == KvReading::Kind::Number)
        return head + QStringLiteral("PatientNum = %1").arg(kv.number) + tail;
    QString where = QStringLiteral("LastName like '%1%' and FirstName like '%2%'")
                        .arg(sql::LikeText(last), sql::LikeText(first));
    if (const std::optional<QDate> day = ReadRealDay(birth))
        where += QStringLiteral(" and BirthDate = '%1'").arg(day->toString(QStringLiteral("MM/dd/yyyy")));
    return head + where + tail;
}

} // namespace quorin::am

namespace {

const char* const kNotFound = "Subject not found!";

} // namespace

int CQuorinDoc::OfferAmSearch()
{
    // A stored subject with this unit, or with these names and birth date?
    const KvReading typed = quorin::sql::ReadKvNumber(m_subject.Unit);
    const std::optional<QDate> birthDay = quorin::am::ReadRealDay(m_subject.Birth);
    m_db.BindIntParam("@unit", typed.kind == KvReading::Kind::Number ? typed.number.toInt() : 0);
    BindString(m_db, "@lastname", m_subject.Lastname);
    BindString(m_db, "@firstname", m_subject.Firstname.left(1));
    BindString(m_db, "@birth", birthDay ? birthDay->toString(QStringLiteral("MM/dd/yyyy")) : QString());
    const int ran = m_db.RunStoredProcedure("uspCheckSubject");
    if (!ran) {
        m_db.RemoveParams();
        return 0;
    }
    if (!m_db.IsEOF()) {
        const int unit = m_db.GetIntField("unit");
        const QString last = StringField(m_db, "lastname");
        const QString first = StringField(m_db, "firstname");
        const QString birth = StringField(m_db, "birth").trimmed();
        m_db.RemoveParams();
        const QString question =
            QString::asprintf("A Subject matching %s, %s\rBirthdate: %s  KVID#: %d already exists in the "
                              "database.\rDo you want to modify this record?",
                              last.toUtf8().constData(), first.toUtf8().constData(),
                              birth.toUtf8().constData(), unit);
        if (m_ui.MessageBox(question, UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
            == UserInterface::Answer::Yes) {
            LoadSubject(QString::asprintf("%d", unit), last, first, birth);
            return 1;
        }
    }
    m_db.RemoveParams();

    if (m_ui.MessageBox(QStringLiteral("This is a new Subject.\rWould you like to search the Audiogram\r"
                                       "Manager Database for patient records?"),
                        UserInterface::Icon::Default, UserInterface::Buttons::YesNo)
        != UserInterface::Answer::Yes)
        return 0;
    if (!ConnectAud())
        return 0;
    m_bAudDataFilled = 0;
    m_bAudOtherFilled = 0;

    // A typed unit that is no number is never sent; the search goes by birth date or
    // names instead.
    if (typed.kind == KvReading::Kind::NotWhole)
        m_ui.MessageBox(quorin::sql::KvNumberMessage(), UserInterface::Icon::Stop);
    // 1 OK, 2 Cancel (a failed search counts as Cancel: its error was shown), -1 when
    // nothing matched.
    if (m_ui.RunDialog(UserInterface::Dialog::AmSearch) == 2)
        return 0;
    const KvReading chosen = quorin::sql::ReadKvNumber(m_subject.Unit);
    if (chosen.kind != KvReading::Kind::Number) {
        m_ui.MessageBox(QString::fromLatin1(kNotFound), UserInterface::Icon::Stop);
        return 0;
    }
    bool listed = false;
    const std::optional<int> newest = quorin::am::NewestTest(*this, chosen.number, &listed);
    if (!newest) {
        if (listed) // else the provider's box has spoken
            m_ui.MessageBox(QString::fromLatin1(kNotFound), UserInterface::Icon::Stop);
        return 0;
    }

    quorin::WaitCursor wait(m_ui);
    // The same import as a newer test's: whole or not at all, on a scratch record, so
    // nothing the Data tab handed over just before mixes in.
    quorin::am::ImportAmTest(*this, *newest);

    const int ran2 = RunText(m_dbAud, QString::asprintf(
        "Select Lastname, Firstname, CONVERT(char,birthdate,101)as birth, patientnum as unit from info "
        "where patientindex = %d", *newest));
    if (HasRow(m_dbAud, ran2)) {
        const auto fill = [this](QString& field, const QString& value) {
            if (field.isEmpty() && !value.isEmpty()) {
                field = value;
                m_subject.Modified = 1;
            }
        };
        fill(m_subject.Birth, StringField(m_dbAud, "birth").trimmed());
        fill(m_subject.Firstname, StringField(m_dbAud, "Firstname"));
        fill(m_subject.Lastname, StringField(m_dbAud, "Lastname"));
        // The Subject tab hands over "0" for an empty unit.
        if (m_subject.Unit.trimmed() == QLatin1String("0"))
            m_subject.Unit.clear();
        fill(m_subject.Unit, QString::number(m_dbAud.GetIntField("unit")));
    }
    return 1;
}
