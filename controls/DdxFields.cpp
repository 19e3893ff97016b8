#include "controls/DdxFields.h"

#include "controls/DateMessages.h"
#include "rules/DateText.h"
#include "framework/ControlId.h"
#include "framework/MessageBox.h"

#include <QRegularExpression>
#include <QVariant>

#include <algorithm>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kEmptyInt = -1;
constexpr float kEmptyFloat = -999.0f;
constexpr int kNumberChars = 9;
constexpr int kDateChars = 19;

// What a field was last filled with, kept on the control itself.
const char* const kShownText = "ddxShownText";
const char* const kShownValue = "ddxShownValue";

void RememberShown(QWidget* control, const QVariant& value)
{
    control->setProperty(kShownText, framework::WindowText(control));
    control->setProperty(kShownValue, value);
}

// The value the field was filled with, while its text is still the one shown.
QVariant UnchangedShown(const QWidget* control, const QString& text)
{
    const QVariant shown = control->property(kShownText);
    if (!shown.isValid() || shown.toString() != text)
        return QVariant();
    return control->property(kShownValue);
}

[[noreturn]] void FailWith(CDataExchange* pDX, const QString& message)
{
    framework::ShowMessage(pDX->m_pDlgWnd, {message, framework::MessageIcon::Stop, framework::MessageButtons::Ok});
    pDX->Fail();
}

[[noreturn]] void FailWith(CDataExchange* pDX, const char* message)
{
    FailWith(pDX, QString::fromLatin1(message));
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

bool IsWholeNumberText(const QString& text, bool minusAllowed)
{
    const QString digits = minusAllowed && text.startsWith(QLatin1Char('-')) ? text.mid(1) : text;
    if (digits.size() != text.size() && digits.isEmpty())
        return false; // a lone minus
    return OnlyCharacters(digits, "0123456789");
}

void ExchangeWholeNumber(CDataExchange* pDX, int id, int& value, bool minusAllowed)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control, value == kEmptyInt ? QString() : QString::asprintf("%d", value));
        RememberShown(control, value);
        return;
    }
    const QString typed = framework::WindowText(control);
    if (const QVariant shown = UnchangedShown(control, typed); shown.isValid()) {
        value = shown.toInt();
        return;
    }
    const QString text = typed.left(kNumberChars);
    if (!IsWholeNumberText(text, minusAllowed))
        FailWith(pDX, "Invalid characters in numeric field.");
    // Nine characters always fit an int, so the conversion cannot overflow.
    const int number = text.isEmpty() ? kEmptyInt : std::atoi(text.toLatin1().constData());
    if (!text.isEmpty() && number == kEmptyInt)
        FailWith(pDX, "-1 is stored as an empty field; leave the field empty or enter another value.");
    value = number;
}

} // namespace

void DDX_IntField(CDataExchange* pDX, int id, int& value)
{
    ExchangeWholeNumber(pDX, id, value, false);
}

void DDX_LevelField(CDataExchange* pDX, int id, int& value)
{
    ExchangeWholeNumber(pDX, id, value, true);
}

void DDX_FloatField(CDataExchange* pDX, int id, float& value)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control,
                                 value == kEmptyFloat ? QString() : QString::asprintf("%.02f", double(value)));
        RememberShown(control, value);
        return;
    }
    // Shown with two decimals, a stored 0.125 would otherwise come back as 0.13.
    if (const QVariant shown = UnchangedShown(control, framework::WindowText(control)); shown.isValid()) {
        value = shown.toFloat();
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
        FailWith(pDX, quorin::InvalidDateFormatMessage());
}

void DDX_LimitedText(CDataExchange* pDX, int id, QString& value, int maxChars)
{
    QWidget* control = pDX->PrepareEditCtrl(id);
    if (!pDX->m_bSaveAndValidate) {
        framework::SetWindowText(control, value);
        RememberShown(control, int(value.size()));
        return;
    }
    const QString text = framework::WindowText(control);
    const QVariant shownLength = control->property(kShownValue);
    const qsizetype ceiling = std::max<qsizetype>(maxChars, shownLength.isValid() ? shownLength.toInt() : 0);
    if (text.size() > ceiling) {
        framework::ShowMessage(pDX->m_pDlgWnd,
                               {QStringLiteral("Please enter no more than %1 characters.").arg(maxChars),
                                framework::MessageIcon::Stop, framework::MessageButtons::Ok});
        pDX->Fail();
    }
    value = text;
}
