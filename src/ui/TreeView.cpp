#include "TreeView.h"
#include "ImageList.h"

bool TTreeView::Create(TControl* parent, int id, int left, int top, int width, int height)
{
    return CreateHandle(parent, id, WC_TREEVIEWA, "",
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_SHOWSELALWAYS,
                        WS_EX_CLIENTEDGE, left, top, width, height);
}

void TTreeView::SetImages(const TImageList* images)
{
    TreeView_SetImageList(handle_, images ? images->Handle() : nullptr, TVSIL_NORMAL);
}

void TTreeView::SetStateImages(const TImageList* images)
{
    TreeView_SetImageList(handle_, images ? images->Handle() : nullptr, TVSIL_STATE);
}

void TTreeView::SetIndent(int pixels)
{
    TreeView_SetIndent(handle_, pixels);
}

void TTreeView::SetBackground(COLORREF color)
{
    SetColor(color);
    TreeView_SetBkColor(handle_, color);
}

HTREEITEM TTreeView::AddChild(HTREEITEM parent, const std::string& text)
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>(text.c_str());
    return reinterpret_cast<HTREEITEM>(SendMessageA(handle_, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TTreeView::Clear()
{
    TreeView_DeleteAllItems(handle_);
}

void TTreeView::BeginUpdate()
{
    if (updateLock_++ == 0) SendMessageA(handle_, WM_SETREDRAW, FALSE, 0);
}

void TTreeView::EndUpdate()
{
    if (updateLock_ == 0 || --updateLock_ != 0) return;
    SendMessageA(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

HTREEITEM TTreeView::Next(HTREEITEM node, UINT relation) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessageA(handle_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
}

std::string TTreeView::NodeText(HTREEITEM node) const
{
    char text[1024] = {};
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

void TTreeView::Select(HTREEITEM node)
{
    TreeView_SelectItem(handle_, node);
}

void TTreeView::SetImageIndex(HTREEITEM node, int image, int selectedImage)
{
    TVITEMA item = {};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selectedImage;
    SendMessageA(handle_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

int TTreeView::ImageIndex(HTREEITEM node) const
{
    TVITEMA item = {};
    item.mask = TVIF_IMAGE;
    item.hItem = node;
    SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.iImage;
}

void TTreeView::SetStateIndex(HTREEITEM node, int state)
{
    TreeView_SetItemState(handle_, node, INDEXTOSTATEIMAGEMASK(state), TVIS_STATEIMAGEMASK);
}

int TTreeView::StateIndex(HTREEITEM node) const
{
    return static_cast<int>((TreeView_GetItemState(handle_, node, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12);
}

void TTreeView::SetHasChildren(HTREEITEM node, bool hasChildren)
{
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = hasChildren ? 1 : 0;
    SendMessageA(handle_, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

bool TTreeView::HasChildren(HTREEITEM node) const
{
    TVITEMA item = {};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    SendMessageA(handle_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return item.cChildren != 0;
}

bool TTreeView::Expanded(HTREEITEM node) const
{
    return (TreeView_GetItemState(handle_, node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

bool TTreeView::CanExpand(HTREEITEM node)
{
    bool allow = true;
    if (OnExpanding) OnExpanding(this, node, allow);
    return allow;
}

// The control tells about TVM_EXPAND only the first time a node opens, so
// the event is raised here and the control's own notice is ignored.
void TTreeView::Expand(HTREEITEM node)
{
    if (!CanExpand(node)) return;
    manualExpand_ = true;
    TreeView_Expand(handle_, node, TVE_EXPAND);
    manualExpand_ = false;
}

void TTreeView::Collapse(HTREEITEM node, bool recursive)
{
    if (recursive)
        for (HTREEITEM child = FirstChild(node); child; child = NextSibling(child)) Collapse(child, true);
    TreeView_Expand(handle_, node, TVE_COLLAPSE);
}

LRESULT TTreeView::Notify(NMHDR* header)
{
    if (header->code == TVN_ITEMEXPANDINGA || header->code == TVN_ITEMEXPANDINGW) {
        auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
        if (manualExpand_ || !(info->action & TVE_EXPAND)) return FALSE;
        return CanExpand(info->itemNew.hItem) ? FALSE : TRUE;
    }
    if ((header->code == TVN_SELCHANGEDA || header->code == TVN_SELCHANGEDW) && OnChange)
        OnChange(this, reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.hItem);
    return 0;
}
