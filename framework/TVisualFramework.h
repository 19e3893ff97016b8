#pragma once
// Builds and runs the workspace tree: nodes are added (roots and children, each id once),
// Create makes every window in order, Destroy takes it all down again.

#include "framework/TVisualNode.h"

#include <map>
#include <vector>

class QMainWindow;

class TVisualFramework {
public:
    TVisualFramework();
    virtual ~TVisualFramework();
    TVisualFramework(const TVisualFramework&) = delete;
    TVisualFramework& operator=(const TVisualFramework&) = delete;

    // Takes ownership of the node once added. A refused node (null, an id already taken,
    // a parent that is not in this tree) stays the caller's: nothing is deleted, so the
    // caller's pointers and the tree's stay valid, and the call returns false.
    bool Add(TVisualNode* node);
    bool Add(TVisualNode* parent, TVisualNode* node);

    TVisualNode* FindNode(unsigned id) const;
    TVisualNode* FindNode(const QWidget* window) const;

    // Creates the windows; false if any node failed.
    virtual bool Create(QMainWindow* frame);
    virtual void Destroy();

    // Makes the node's tab the active tab of its tab window, without moving the focus;
    // nothing when the node's host is not a tab window.
    void SetActiveTab(TVisualNode* node);
    // The same for the node and every tab window that holds it, so the page shows.
    void BringForward(TVisualNode* node);

    // The view in front: the active page of the first root, followed down through the
    // tab windows it holds; null before Create.
    QWidget* GetFrontView() const;
    // Makes the view in front the frame's active view and puts the focus into its first
    // control, where the user starts typing (at start-up, after File New).
    void ActivateFrontView();

    QMainWindow* GetFrame() const { return m_pFrame; }
    int GetRootCount() const { return static_cast<int>(m_roots.size()); }

private:
    bool CreateNode(TVisualNode* node);
    void DestroyNode(TVisualNode* node);

    QMainWindow* m_pFrame = nullptr;
    std::vector<TVisualNode*> m_roots;
    std::map<unsigned, TVisualNode*> m_index; // owns every node
};
