#pragma once
// A small document/view pair: a document holds its path, title, modified
// flag and the views attached to it, and tells them about changes with a
// hint. Views are an interface, so the data core needs no widgets.
#include <string>
#include <vector>

namespace axcfg {

class CDocument;

class CView {
 public:
  virtual ~CView();
  CDocument* GetDocument() const { return document_; }
  // Called by CDocument::UpdateAllViews for every view but the sender.
  virtual void OnUpdate(CView* sender, long hint, void* hintObject) = 0;
  // Called by CDocument::NotifyRowWillChange before a row is replaced from
  // outside the views.
  virtual void OnRowWillChange(int /*k*/) {}
  // Called by CDocument around a change of the document as a whole (its
  // layout, parameters and rows at once): before anything changes, and
  // once it is over, whether it changed anything or not.
  virtual void OnDocumentWillChange() {}
  virtual void OnDocumentChangeEnded() {}

 private:
  friend class CDocument;
  CDocument* document_ = nullptr;
};

class CDocument {
 public:
  CDocument() = default;
  virtual ~CDocument();
  CDocument(const CDocument&) = delete;
  CDocument& operator=(const CDocument&) = delete;

  const std::string& GetPathName() const { return path_; }
  // Sets the path and makes its file name the title.
  void SetPathName(const std::string& path);
  const std::string& GetTitle() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  bool IsModified() const { return modified_; }
  void SetModifiedFlag(bool modified = true) { modified_ = modified; }

  // A view belongs to at most one document; adding it elsewhere moves it.
  void AddView(CView* view);
  void RemoveView(CView* view);
  const std::vector<CView*>& GetViews() const { return views_; }
  void UpdateAllViews(CView* sender, long hint = 0, void* hintObject = nullptr);
  // Tells every view that row k is about to be replaced from outside them.
  void NotifyRowWillChange(int k);

  // Brackets a change of the whole document; nested brackets count as the
  // outermost one. Prefer CWholeDocumentChange, which cannot leave one open.
  void NotifyDocumentWillChange();
  void NotifyDocumentChangeEnded();

  // The base part of a new document: no path, not modified.
  virtual bool OnNewDocument();

 private:
  std::string path_;
  std::string title_;
  bool modified_ = false;
  std::vector<CView*> views_;
  int wholeChangeDepth_ = 0;
};

// A change of the whole document (an upload, a change of axes, new
// parameters) for as long as the object lives: the views take everything
// changed meanwhile as one step, and a rebuild hint sent inside it
// rebuilds them without forgetting their history.
class CWholeDocumentChange {
 public:
  explicit CWholeDocumentChange(CDocument& doc) : doc_(doc) { doc_.NotifyDocumentWillChange(); }
  ~CWholeDocumentChange() { doc_.NotifyDocumentChangeEnded(); }
  CWholeDocumentChange(const CWholeDocumentChange&) = delete;
  CWholeDocumentChange& operator=(const CWholeDocumentChange&) = delete;

 private:
  CDocument& doc_;
};

}  // namespace axcfg
