#include "framework/WaitCursor.h"

#include <QApplication>
#include <QCursor>

namespace {
int g_depth = 0;
}

CWaitCursor::CWaitCursor()
{
    Begin();
}

CWaitCursor::~CWaitCursor()
{
    End();
}

void CWaitCursor::Restore()
{
    // The stack already holds our cursor; re-applying it repairs a box that reset it.
    if (g_depth > 0)
        QApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
}

void CWaitCursor::Begin()
{
    ++g_depth;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CWaitCursor::End()
{
    if (g_depth == 0)
        return; // an unmatched End must not pop a cursor someone else set
    --g_depth;
    QApplication::restoreOverrideCursor();
}

int CWaitCursor::Depth()
{
    return g_depth;
}
