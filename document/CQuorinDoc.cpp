#include "document/CQuorinDoc.h"

#include "rules/DbString.h"

#include <algorithm>

using quorin::UserInterface;

CQuorinDoc::CQuorinDoc(UserInterface& ui) : m_ui(ui) {}

CQuorinDoc::~CQuorinDoc()
{
    // The records and sessions release themselves; the audiogram history goes first,
    // as it always has.
    ClearAudHistory();
}

void CQuorinDoc::AddView(CDocumentView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CQuorinDoc::RemoveView(CDocumentView* view)
{
    std::erase(m_views, view);
}

bool CQuorinDoc::UpdateAllViews(int hint)
{
    // A copy: a view may detach itself while being told.
    const std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views) {
        if (!view->OnUpdate(hint) && hint == CDocumentView::HintHandOver)
            return false;
    }
    return true;
}

void CQuorinDoc::SetTitle(const QString& title)
{
    m_strTitle = title;
    m_ui.SetDocumentTitle(title);
}

bool CQuorinDoc::OnNewDocument()
{
    static const QString title = QStringLiteral("Quorin Demo");
    if (!m_db.IsConnected()) {
        if (!m_db.SetDataSource(quorin::ToDb(m_strServer).c_str(),
                                quorin::ToDb(m_strUserName).c_str(),
                                quorin::ToDb(m_strPassword).c_str(), "Quorin"))
            m_ui.MessageBox(QStringLiteral("Login Failed!"), UserInterface::Icon::Stop);
        SetTitle(title);
        return true;
    }
    // Cancel, or a save that could not store the subject: clearing now would throw away
    // what the user asked to keep, so the subject stays open.
    if (!SaveModified())
        return true;
    ClearDocument();
    m_ui.BringForward(UserInterface::Page::Chart);
    m_ui.BringForward(UserInterface::Page::Subject);
    SetTitle(title);
    return true;
}

bool CQuorinDoc::IsModified() const
{
    // While an older test is shown, the working test waits in m_audLatest.
    const bool parked = m_nPageDir != 0 || m_audCurrent.Latest == 0;
    return m_subject.Modified || m_audCurrent.Dirty || (parked && m_audLatest.Dirty);
}

bool CQuorinDoc::SaveModified()
{
    if (!IsModified())
        return true;
    switch (m_ui.MessageBox(QStringLiteral("Save Current Subject?"), UserInterface::Icon::Default,
                            UserInterface::Buttons::YesNoCancel)) {
    case UserInterface::Answer::Yes: return SaveSubject() == 1;
    case UserInterface::Answer::No: return true;
    default: return false;
    }
}

bool CQuorinDoc::ConnectAud()
{
    if (m_dbAud.IsConnected())
        return true;
    if (m_dbAud.SetDataSource(quorin::ToDb(m_strServer).c_str(),
                              quorin::ToDb(m_strUserName).c_str(),
                              quorin::ToDb(m_strPassword).c_str(), "Aud"))
        return true;
    m_ui.MessageBox(QStringLiteral("Unable to connect to Database Aud!"), UserInterface::Icon::Stop);
    return false;
}
