#pragma once
// The document's place in the command chain: the menu commands the document handles,
// with the update handlers of Page Prev and Page Next.

#include "framework/CmdTarget.h"

class CQuorinDoc;

class CDocumentCommands : public CCmdTarget {
public:
    explicit CDocumentCommands(CQuorinDoc& document);

    // Open: the open-file dialog, then a check that the file can be read; nothing is
    // loaded from it.
    void OnFileOpen();

    // Page Next is enabled only while paging and away from the current test; Page Prev
    // is disabled only at the oldest test of a loaded history.
    static bool PageNextEnabled(const CQuorinDoc& document);
    static bool PagePrevEnabled(const CQuorinDoc& document);

private:
    void InstallDialogCommand(unsigned id, int dialog);

    CQuorinDoc& m_document;
};
