#pragma once
// A view of the one document. Views attach to CQuorinDoc and are told of changes
// through OnUpdate with the document's hints:
//   0  a subject was loaded or the document cleared: refresh from the document;
//   1  hand the user's edits over to the document (before a save, before paging);
//   2  show the document's audiogram again, without taking edits;
//   3  the speech tests were stored and read back with their stored ids.

class CQuorinDoc;

class CDocumentView {
public:
    enum Hint { HintRefresh = 0, HintHandOver = 1, HintShowAudiogram = 2, HintSpeechTestsStored = 3 };

    virtual ~CDocumentView() = default;

    // Returns false only to refuse the hand-over of hint 1: a field failed its check and
    // the view has already shown its message. Every other hint returns true.
    virtual bool OnUpdate(int hint) = 0;
};
