// The workspace tree keeps what it accepts and leaves a refused node whole to its caller.
#include "framework/TTabWnd.h"
#include "framework/TVisualFramework.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TWindowClass PlainView()
{
    return TWindowClass{QStringLiteral("CPlainView"), 5,
                        [](QWidget* parent, CCreateContext*) -> QWidget* { return new QWidget(parent); }};
}

// A refused node stays the caller's, whole: the framework neither keeps nor deletes it.
TEST(VisualFramework, RefusedNodesStayTheCallersWhole)
{
    TVisualFramework framework;
    auto root = new TVisualNode(1, QString(), TTabWnd::WindowClass(), nullptr, TVisualNode::TabsTop);
    EXPECT_TRUE(framework.Add(root));
    EXPECT_TRUE(framework.Add(root, new TVisualNode(2, QStringLiteral("Page"), PlainView(), nullptr)));
    auto again = std::make_unique<TVisualNode>(1, QStringLiteral("again"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(again.get()));
    EXPECT_EQ(again->m_pFramework, nullptr);
    auto twice = std::make_unique<TVisualNode>(2, QStringLiteral("Twice"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(root, twice.get()));
    EXPECT_EQ(twice->m_pParent, nullptr);
    // Nor is a child hung under a parent that is not in the tree.
    auto stranger = std::make_unique<TVisualNode>(7, QStringLiteral("Stranger"), PlainView(), nullptr);
    auto orphan = std::make_unique<TVisualNode>(8, QStringLiteral("Orphan"), PlainView(), nullptr);
    EXPECT_FALSE(framework.Add(stranger.get(), orphan.get()));
    EXPECT_TRUE(stranger->m_children.empty());
    EXPECT_EQ(framework.FindNode(8), nullptr);
    EXPECT_EQ(framework.FindNode(2)->m_pParent, root);
    EXPECT_EQ(root->m_children.size(), 1u);
}

} // namespace
