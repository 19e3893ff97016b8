#include "app/CQuorinDoc.h"

#include "app/DbString.h"

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
    if (m_subject.Modified || m_audCurrent.Dirty) {
        // A save that could not store the subject has said why; clearing now would throw
        // away what the user asked to keep, so the subject stays open for correcting.
        if (m_ui.MessageBox(QStringLiteral("Save Current Subject?"), UserInterface::Icon::Default,
                            UserInterface::Buttons::YesNo) == UserInterface::Answer::Yes
            && !SaveSubject())
            return true;
    }
    ClearDocument();
    m_ui.BringForward(UserInterface::Page::Chart);
    m_ui.BringForward(UserInterface::Page::Subject);
    SetTitle(title);
    return true;
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
