#include "controls/DdxFields.h"

#include "controls/DateText.h"
#include "framework/ControlId.h"
#include "framework/MessageBox.h"

#include <QRegularExpression>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kEmptyInt = -1;
constexpr float kEmptyFloat = -999.0f;
constexpr int kNumberChars = 9;
constexpr int kDateChars = 19;

[[noreturn]] void FailWith(CDataExchange* pDX, const char* message)
{
    framework::ShowMessage(pDX->m_pDlgWnd, {QString::fromLatin1(message), framework::MessageIcon::Stop,
                                            framework::MessageButtons::Ok});
    pDX->Fail();
}

bool OnlyCharacters(const QString& text, const char* allowed)
{
    for (QChar c : text) {
        if (c.unicode() > 0x7f || !std::strchr(allowed, static_cast<char>(c.unicode())))
            return false;
    }
    return true;
}

// The number at the start of the text, read as C's strtod reads it ("1.5.2" is 1.5, a
// lone "+" is 0) but always with the decimal point: the application runs in the user's
// locale, where strtod would stop at the "." of "1.5" under a decimal comma.
double LeadingNumber(const QString& text)
{
    static const QRegularExpression number(QStringLiteral("^[+-]?(?:[0-9]+\\.?[0-9]*|\\.[0-9]+)"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).toDouble() : 0.0;
}

} // namespace

void DDX_IntField(CDataExchange* pDX, int id, int& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control, value == kEmptyInt ? QString() : QString::asprintf("%d", value));
        return;
    }
    const QString text = framework::WindowText(control).left(kNumberChars);
    if (!OnlyCharacters(text, "0123456789"))
        FailWith(pDX, "Invalid characters in numeric field.");
    // Nine digits always fit an int, so the conversion cannot overflow.
    value = text.isEmpty() ? kEmptyInt : std::atoi(text.toLatin1().constData());
}

void DDX_FloatField(CDataExchange* pDX, int id, float& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control,
                                 value == kEmptyFloat ? QString() : QString::asprintf("%.02f", double(value)));
        return;
    }
    const QString text = framework::WindowText(control).left(kNumberChars);
    if (!OnlyCharacters(text, "0123456789.+-"))
        FailWith(pDX, "Invalid characters in numeric field.");
    value = text.isEmpty() ? kEmptyFloat : static_cast<float>(LeadingNumber(text));
}

void DDX_DateField(CDataExchange* pDX, int id, QString& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        // An empty date leaves whatever the control shows.
        if (!value.isEmpty())
            framework::SetWindowText(control, value);
        return;
    }
    const QString text = framework::WindowText(control).left(kDateChars);
    value = text; // kept as typed, also when the check below fails
    if (text.isEmpty())
        return;
    if (text.compare(QStringLiteral("NA"), Qt::CaseInsensitive) == 0) {
        value = QStringLiteral("01/01/1901");
        return;
    }
    if (!quorin::IsValidDateText(text))
        FailWith(pDX, "Error: Invalid Date - use MM/DD/YYYY or MM-DD-YYYY format.");
}
