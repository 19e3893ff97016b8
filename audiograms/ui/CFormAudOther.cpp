#include "audiograms/ui/CFormAudOther.h"

#include "document/CQuorinDoc.h"
#include "audiograms/store/AudTestEdit.h"
#include "controls/DdxFields.h"
#include "framework/ControlId.h"
#include "audiograms/ui/AudTemplates.h"
#include "resources/FieldLengths.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

using namespace res::audother;

namespace {

// What a field takes: the program's own limit, as the field-length table gives it (the
// columns themselves have none).
int MaxChars(int controlId)
{
    return res::FieldLengthOf(res::IDD_FORM_AUD_OTHER, controlId);
}

} // namespace

// Keeps what the user types or pastes into a multi-line field within its limit, as the
// platform's edit limit does: an insertion is cut to what still fits. A longer text the
// program put there (a stored clinic comment) is shown whole and may only shrink.
class CFormAudOther::InputLimit {
public:
    InputLimit(QPlainTextEdit* edit, int maxChars) : m_edit(edit), m_max(maxChars) {}

    // The text as the program set it: the measure for the user's next change.
    void Remember() { m_before = m_edit->toPlainText(); }

    // After a change by the user: cuts the inserted run down to what fits.
    void Enforce()
    {
        if (m_cutting)
            return;
        const QString now = m_edit->toPlainText();
        const int ceiling = std::max<int>(m_max, m_before.size());
        if (now.size() > ceiling) {
            // The inserted run lies between what before and now share at the start and at
            // the end.
            const int shorter = std::min<int>(now.size(), m_before.size());
            int head = 0;
            while (head < shorter && now[head] == m_before[head])
                ++head;
            int tail = 0;
            while (tail < shorter - head && now[now.size() - 1 - tail] == m_before[m_before.size() - 1 - tail])
                ++tail;
            const int insertedEnd = int(now.size()) - tail;
            const int cutFrom = std::max(head, insertedEnd - (int(now.size()) - ceiling));
            QTextCursor cursor(m_edit->document());
            cursor.setPosition(cutFrom);
            cursor.setPosition(insertedEnd, QTextCursor::KeepAnchor);
            m_cutting = true;
            cursor.removeSelectedText();
            m_cutting = false;
            QTextCursor caret = m_edit->textCursor();
            caret.setPosition(cutFrom);
            m_edit->setTextCursor(caret);
        }
        m_before = m_edit->toPlainText();
    }

    bool Cutting() const { return m_cutting; }

private:
    QPlainTextEdit* m_edit;
    int m_max;
    QString m_before;
    bool m_cutting = false;
};

CFormAudOther::CFormAudOther(QWidget* parent, CCreateContext* context)
    : TVisualFormView(res::IDD_FORM_AUD_OTHER, parent, context)
{
    setObjectName(QStringLiteral("CFormAudOther"));
    auto comments = framework::FindControlAs<QPlainTextEdit>(this, IDC_COMMENTS);
    auto recommend = framework::FindControlAs<QPlainTextEdit>(this, IDC_RECOMMEND);
    m_comments = std::make_unique<InputLimit>(comments, MaxChars(IDC_COMMENTS));
    m_recommend = std::make_unique<InputLimit>(recommend, MaxChars(IDC_RECOMMEND));
    for (auto [edit, limit] : {std::pair{comments, m_comments.get()}, std::pair{recommend, m_recommend.get()}}) {
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        connect(edit, &QPlainTextEdit::textChanged, this, [this, limit = limit] {
            // Filling the fields is no change of the user's.
            if (m_bFilling) {
                limit->Remember();
                return;
            }
            if (limit->Cutting())
                return;
            limit->Enforce();
            OnChange();
        });
    }
}

CFormAudOther::~CFormAudOther() = default;

void CFormAudOther::OnChange()
{
    if (CQuorinDoc* doc = GetDocument())
        quorin::MarkShownTestEdited(*doc);
}

void CFormAudOther::DoDataExchange(CDataExchange* pDX)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    CAudTestInfo& info = doc->m_audCurrent.Info;
    DDX_LimitedText(pDX, IDC_COMMENTS, info.Comments, MaxChars(IDC_COMMENTS));
    DDX_LimitedText(pDX, IDC_RECOMMEND, info.Recommend, MaxChars(IDC_RECOMMEND));
}

void CFormAudOther::Fill()
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return;
    const bool was = m_bFilling;
    m_bFilling = true;
    UpdateData(false);
    m_bFilling = was;
    // An older test is only looked at.
    for (int id : {IDC_COMMENTS, IDC_RECOMMEND})
        framework::FindControlAs<QPlainTextEdit>(this, id)->setReadOnly(doc->m_nPageDir != 0);
    m_comments->Remember();
    m_recommend->Remember();
    doc->m_bAudOtherFilled = 1;
}

bool CFormAudOther::OnUpdate(int hint)
{
    CQuorinDoc* doc = GetDocument();
    if (!doc)
        return true;
    // Only a filled tab holds the test's texts: an unfilled one would hand over empty
    // fields and blank the comments of the loaded test.
    if (!doc->m_bAudOtherFilled) {
        if ((hint == HintRefresh || hint == HintShowAudiogram) && isVisible())
            Fill();
        return true;
    }
    switch (hint) {
    case HintHandOver: return UpdateData(true);
    case HintShowAudiogram: Fill(); return true;
    default: return true;
    }
}

void CFormAudOther::showEvent(QShowEvent* event)
{
    TVisualFormView::showEvent(event);
    CQuorinDoc* doc = GetDocument();
    if (doc && !doc->m_bAudOtherFilled)
        Fill();
}
