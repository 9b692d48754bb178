#include "axcfg_data/document.h"

#include <algorithm>

namespace axcfg {

namespace {

// Calls f for every view still attached; a view may detach itself meanwhile.
template <class F>
void ForEachAttached(const std::vector<CView*>& attached, F f) {
  std::vector<CView*> views = attached;
  for (CView* v : views)
    if (std::find(attached.begin(), attached.end(), v) != attached.end()) f(v);
}

}  // namespace

CView::~CView() {
  if (document_) document_->RemoveView(this);
}

CDocument::~CDocument() {
  for (CView* v : views_) v->document_ = nullptr;
}

void CDocument::SetPathName(const std::string& path) {
  path_ = path;
  size_t slash = path.find_last_of("/\\");
  title_ = slash == std::string::npos ? path : path.substr(slash + 1);
}

void CDocument::AddView(CView* view) {
  if (!view || view->document_ == this) return;
  if (view->document_) view->document_->RemoveView(view);
  views_.push_back(view);
  view->document_ = this;
}

void CDocument::RemoveView(CView* view) {
  auto it = std::find(views_.begin(), views_.end(), view);
  if (it == views_.end()) return;
  views_.erase(it);
  view->document_ = nullptr;
}

void CDocument::UpdateAllViews(CView* sender, long hint, void* hintObject) {
  // A view may detach (or destroy) itself or another view while it is
  // updated: walk a copy and call only views that are still attached.
  ForEachAttached(views_, [&](CView* v) {
    if (v != sender) v->OnUpdate(sender, hint, hintObject);
  });
}

void CDocument::NotifyRowWillChange(int k) {
  ForEachAttached(views_, [k](CView* v) { v->OnRowWillChange(k); });
}

void CDocument::NotifyDocumentWillChange() {
  if (wholeChangeDepth_++ == 0) ForEachAttached(views_, [](CView* v) { v->OnDocumentWillChange(); });
}

void CDocument::NotifyDocumentChangeEnded() {
  if (wholeChangeDepth_ == 0) return;
  if (--wholeChangeDepth_ == 0) ForEachAttached(views_, [](CView* v) { v->OnDocumentChangeEnded(); });
}

bool CDocument::OnNewDocument() {
  path_.clear();
  modified_ = false;
  return true;
}

}  // namespace axcfg
