#include "implants/ui/CiFieldExchange.h"

#include "controls/DateMessages.h"
#include "rules/DateText.h"
#include "controls/DdxFields.h"
#include "framework/DdxStandard.h"
#include "framework/MessageBox.h"

#include <algorithm>

namespace quorin {

namespace {

constexpr int kEmpty = -1;
constexpr int kMaxYears = 150;
constexpr int kMaxMonths = 13;

} // namespace

void DDX_YearsMonths(CDataExchange* pDX, int yearsId, int monthsId, int& months)
{
    int years = months < 0 ? kEmpty : months / 12;
    int rest = months < 0 ? kEmpty : months % 12;
    DDX_IntField(pDX, yearsId, years);
    if (years != kEmpty)
        DDV_MinMaxInt(pDX, years, 0, kMaxYears);
    DDX_IntField(pDX, monthsId, rest);
    if (rest != kEmpty)
        DDV_MinMaxInt(pDX, rest, 0, kMaxMonths);
    if (!pDX->m_bSaveAndValidate)
        return;
    months = years == kEmpty && rest == kEmpty ? kEmpty : std::max(years, 0) * 12 + std::max(rest, 0);
}

void DDX_RealDateField(CDataExchange* pDX, int id, QString& value)
{
    DDX_DateField(pDX, id, value);
    if (pDX->m_bSaveAndValidate && !IsValidDateText(value.trimmed())) {
        framework::ShowMessage(pDX->m_pDlgWnd,
                               {quorin::InvalidDateFormatMessage(),
                                framework::MessageIcon::Stop, framework::MessageButtons::Ok});
        pDX->Fail();
    }
}

} // namespace quorin
