#pragma once
// The hourglass around long, synchronous work. Nested objects stack: the normal cursor
// comes back when the last one ends.

class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the wait cursor again after a message box took it away.
    void Restore();

    static void Begin();
    static void End();
    static int Depth();

};
