#include "framework/TVisualNode.h"

#include "framework/ResourceImages.h"

TVisualNode::TVisualNode(unsigned id, const QString& title, const TWindowClass& windowClass,
                         CCreateContext* context, unsigned char style)
    : m_nId(id), m_nType(windowClass.kind), m_strTitle(title), m_windowClass(windowClass),
      m_pContext(context), m_dwStyle(style)
{
}

bool TVisualNode::SetIcon(int resourceId)
{
    if (!m_icon.isNull())
        return false;
    m_icon = framework::LoadSmallIcon(resourceId);
    return true;
}

bool TVisualNode::SetIcon(const QIcon& icon)
{
    if (!m_icon.isNull())
        return false;
    m_icon = icon;
    return true;
}
