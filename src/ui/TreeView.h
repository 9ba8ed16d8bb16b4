// TTreeView: a read-only tree (WC_TREEVIEW) with buttons but no lines, an
// image list for the nodes and one for their state images, and a painting
// lock for rebuilds. Nodes are HTREEITEMs. OnExpanding runs before a node
// opens, whether the user opens it or the program calls Expand (once either
// way); OnChange runs after the selection moved.
#pragma once
#include "Control.h"

#include <commctrl.h>

class TImageList;

using TTreeExpandingEvent = std::function<void(TControl* sender, HTREEITEM node, bool& allowExpansion)>;
using TTreeChangeEvent = std::function<void(TControl* sender, HTREEITEM node)>;

class TTreeView : public TControl {
public:
    bool Create(TControl* parent, int id, int left, int top, int width, int height);
    void SetImages(const TImageList* images);
    void SetStateImages(const TImageList* images);
    void SetIndent(int pixels);
    void SetBackground(COLORREF color);

    // Adds a last child of parent (a root node when parent is null).
    HTREEITEM AddChild(HTREEITEM parent, const std::string& text);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

    std::string NodeText(HTREEITEM node) const;
    HTREEITEM Root() const { return Next(nullptr, TVGN_ROOT); }
    HTREEITEM Parent(HTREEITEM node) const { return Next(node, TVGN_PARENT); }
    HTREEITEM FirstChild(HTREEITEM node) const { return Next(node, TVGN_CHILD); }
    HTREEITEM NextSibling(HTREEITEM node) const { return Next(node, TVGN_NEXT); }
    HTREEITEM Selected() const { return Next(nullptr, TVGN_CARET); }
    HTREEITEM TopItem() const { return Next(nullptr, TVGN_FIRSTVISIBLE); }
    void Select(HTREEITEM node);

    void SetImageIndex(HTREEITEM node, int image, int selectedImage);
    int ImageIndex(HTREEITEM node) const;
    // 0 shows no state image; n shows cell n of the state image list.
    void SetStateIndex(HTREEITEM node, int state);
    int StateIndex(HTREEITEM node) const;
    void SetHasChildren(HTREEITEM node, bool hasChildren);
    bool HasChildren(HTREEITEM node) const;
    bool Expanded(HTREEITEM node) const;
    // One level; OnExpanding may refuse.
    void Expand(HTREEITEM node);
    // The node and, when recursive, every node below it.
    void Collapse(HTREEITEM node, bool recursive);

    LRESULT Notify(NMHDR* header) override;

    TTreeExpandingEvent OnExpanding;
    TTreeChangeEvent OnChange;

protected:
    bool ParentColored() const override { return false; }

private:
    HTREEITEM Next(HTREEITEM node, UINT relation) const;
    bool CanExpand(HTREEITEM node);

    bool manualExpand_ = false;
    int updateLock_ = 0;
};
